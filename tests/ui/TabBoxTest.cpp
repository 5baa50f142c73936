#include "ui/TabBox.h"

#include "support/RandomText.h"
#include "support/UserInput.h"

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

QString everyCharacterUpTo0xFF() {
    QString text;
    for (char16_t c = 1; c <= 0xFF; ++c)
        text += QChar(c);
    return text + QChar(0x2028) + QChar(0x2029);
}

TEST(TabBox, HandsBackEveryCharacterExactly) {
    TabBox box;
    std::vector<char16_t> characters;
    for (char16_t c = 1; c <= 0xFF; ++c)
        characters.push_back(c);
    characters.push_back(0x2028);
    characters.push_back(0x2029);
    for (char16_t c : characters) {
        // Alone, between letters, and next to a CR LF.
        for (const QString& text :
             {QString(QChar(c)), u"a"_s + QChar(c) + u"b"_s, u"x\r\n"_s + QChar(c) + u"\r\ny"_s}) {
            box.setExactText(text);
            EXPECT_EQ(box.exactText(), text) << "U+" << std::hex << int(c);
        }
    }
    const QString all = everyCharacterUpTo0xFF();
    box.setExactText(all);
    EXPECT_EQ(box.exactText(), all);
    EXPECT_EQ(box.exactText().size(), 0xFF + 2);
}

// Seeded random texts of BMP code units, breaks, NUL and surrogate halves among them.
TEST(TabBox, RandomTextsComeBackExactly) {
    RandomText random(2029);
    TabBox box;
    for (int round = 0; round < 400; ++round) {
        const QString text = random.text(0, 80);
        box.setExactText(text);
        ASSERT_EQ(box.exactText(), text) << "round " << round << " " << spelled(text);

        // The same text in random pieces, each appended after the last.
        box.setExactText(QString());
        for (qsizetype at = 0; at < text.size();) {
            const qsizetype piece = random.number(1, 10);
            box.appendExact(text.mid(at, piece));
            at += piece;
        }
        ASSERT_EQ(box.exactText(), text) << "round " << round << " in pieces " << spelled(text);
    }
}

TEST(TabBox, AppendingKeepsEveryCharacterToo) {
    TabBox box;
    const QString all = everyCharacterUpTo0xFF();
    box.setExactText(u"start\n"_s);
    box.appendExact(all);
    box.appendExact(u"\r\n\r\n"_s);
    box.appendExact(all);
    EXPECT_EQ(box.exactText(), u"start\n"_s + all + u"\r\n\r\n"_s + all);
}

TEST(TabBox, LineBreaksComeBackAsTheyWentIn) {
    TabBox box;
    for (const QString& text :
         {u"\r\n"_s, u"\r\n\r\n"_s, u"\n\r"_s, u"a\rb\nc\r\nd"_s, u"\r\r\n\n"_s,
          u"no break at all"_s, QString(), u"\u2029\u2029"_s, u"\uFDD0x\uFDD1"_s}) {
        box.setExactText(text);
        EXPECT_EQ(box.exactText(), text) << text.toStdString();
    }
}

TEST(TabBox, ReplacingTheTextForgetsOldBreakMarks) {
    TabBox box;
    box.setExactText(u"a\nb"_s);
    box.setExactText(u"c\r\nd"_s);
    EXPECT_EQ(box.exactText(), u"c\r\nd"_s);
}

TEST(TabBox, TypedLineBreaksAreCrLf) {
    TabBox box;
    showAndActivate(box);
    box.setFocus();
    type(u"one"_s);
    press(Qt::Key_Return);
    type(u"two\u00a0"_s);
    EXPECT_EQ(box.exactText(), u"one\r\ntwo\u00a0"_s);
    EXPECT_FALSE(box.isEmptyText());
    box.setExactText(QString());
    EXPECT_TRUE(box.isEmptyText());
}

TEST(TabBox, AppendingLeavesTheCaretAndTheUndoHistoryAlone) {
    TabBox box;
    showAndActivate(box);
    box.setFocus();
    type(u"abc"_s);
    QTextCursor caret = box.textCursor();
    caret.setPosition(1);
    box.setTextCursor(caret);
    box.appendExact(u"\r\nbar\r\n"_s);
    EXPECT_EQ(box.textCursor().position(), 1);
    EXPECT_EQ(box.exactText(), u"abc\r\nbar\r\n"_s);
    box.undo();
    EXPECT_EQ(box.exactText(), u"abc"_s);
    box.undo();
    EXPECT_EQ(box.exactText(), QString());
}

// Lone breaks only come in from code, but once there they must stay with their place in the text
// while the user splits and joins the lines around them.
TEST(TabBox, UnusualBreaksStayPutWhileTheUserEdits) {
    TabBox box;
    showAndActivate(box);
    box.setFocus();
    auto caretAt = [&box](int position) {
        QTextCursor caret = box.textCursor();
        caret.setPosition(position);
        box.setTextCursor(caret);
    };

    box.setExactText(u"ab\nc"_s);
    caretAt(1);
    press(Qt::Key_Return);
    EXPECT_EQ(box.exactText(), u"a\r\nb\nc"_s);

    box.setExactText(u"a\nb"_s);
    caretAt(0);
    press(Qt::Key_Return);
    EXPECT_EQ(box.exactText(), u"\r\na\nb"_s);

    box.setExactText(u"a\nb"_s);
    caretAt(2);
    press(Qt::Key_Return);
    EXPECT_EQ(box.exactText(), u"a\n\r\nb"_s);

    box.setExactText(u"a\r\nb\u2029c"_s);
    caretAt(1);
    press(Qt::Key_Delete);
    EXPECT_EQ(box.exactText(), u"ab\u2029c"_s);
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(box.exactText(), u"a\r\nb\u2029c"_s);

    // Deleting a lone break joins its lines; typing a break back gives the tab's own CR LF.
    box.setExactText(u"x\ry"_s);
    caretAt(1);
    press(Qt::Key_Delete);
    EXPECT_EQ(box.exactText(), u"xy"_s);
    press(Qt::Key_Return);
    EXPECT_EQ(box.exactText(), u"x\r\ny"_s);
}

TEST(TabBox, AppendingAfterALoneBreakKeepsIt) {
    TabBox box;
    box.setExactText(u"a\n"_s);
    box.appendExact(u"b\rc\r\n"_s);
    EXPECT_EQ(box.exactText(), u"a\nb\rc\r\n"_s);
}

}  // namespace
}  // namespace fretloom
