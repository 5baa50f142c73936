#include "ui/TabBox.h"

#include "support/RandomText.h"
#include "support/UserInput.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QTextBlock>

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

    // Joining an empty line to the next leaves the lone break before it alone.
    box.setExactText(u"a\n\r\nb"_s);
    caretAt(3);
    press(Qt::Key_Backspace);
    EXPECT_EQ(box.exactText(), u"a\nb"_s);

    // A break that an input method commits is the tab's own too.
    box.setExactText(u"a\n"_s);
    caretAt(2);
    QInputMethodEvent commit;
    commit.setCommitString(u"x\ny"_s);
    QApplication::sendEvent(&box, &commit);
    EXPECT_EQ(box.exactText(), u"a\nx\r\ny"_s);
}

void placeCaret(TabBox& box, int anchor, int position) {
    QTextCursor caret = box.textCursor();
    caret.setPosition(anchor);
    caret.setPosition(position, QTextCursor::KeepAnchor);
    box.setTextCursor(caret);
}

// Seeded random edits by key, each checked, taken back and made again. Lone breaks go astray
// most easily where an emptied line is joined to the next.
TEST(TabBox, LoneBreaksSurviveEveryEditUndoAndRedo) {
    TabBox box;
    showAndActivate(box);
    box.setFocus();
    QGuiApplication::clipboard()->setText(u"P\nQ\r"_s);  // pasted breaks are the tab's own
    RandomText random(2029);
    for (int round = 0; round < 12; ++round) {
        // What the tab should be: one entry per place in the document, a character or a break.
        std::vector<QString> places;
        for (const char16_t* place : {u"a", u"\n", u"\n", u"b", u"\r", u"\r\n", u"\u2029", u"c",
                                      u"\uFDD0", u"\uFDD1", u"\r", u"d", u"\n", u"\r\n", u"\n"})
            places.push_back(QString::fromUtf16(place));
        const auto expected = [&places] {
            QString text;
            for (const QString& place : places)
                text += place;
            return text;
        };
        box.setExactText(expected());
        std::vector<QString> history{expected()};

        for (int step = 0; step < 25; ++step) {
            const int size = static_cast<int>(places.size());
            const int position = random.number(0, size);
            const int anchor = random.chance(20) ? random.number(0, size) : position;
            placeCaret(box, anchor, position);
            auto from = places.begin() + std::min(anchor, position);
            auto to = places.begin() + std::max(anchor, position);
            std::vector<QString> typed;
            switch (random.number(0, 4)) {
            case 0:
                from -= anchor == position && from != places.begin() ? 1 : 0;
                press(Qt::Key_Backspace);
                break;
            case 1:
                to += anchor == position && to != places.end() ? 1 : 0;
                press(Qt::Key_Delete);
                break;
            case 2:
                typed = {u"\r\n"_s};
                press(Qt::Key_Return);
                break;
            case 3:
                typed = {u"x"_s};
                type(u"x"_s);
                break;
            default:
                typed = {u"P"_s, u"\r\n"_s, u"Q"_s, u"\r\n"_s};
                press(Qt::Key_V, Qt::ControlModifier);
            }
            places.insert(places.erase(from, to), typed.begin(), typed.end());
            const std::string where = "round " + std::to_string(round) + " step " +
                                      std::to_string(step) + " " + spelled(history.back());
            ASSERT_EQ(spelled(box.exactText()), spelled(expected())) << where;
            history.push_back(expected());

            // Undo goes back to an earlier state (typing runs into one step), redo comes back.
            press(Qt::Key_Z, Qt::ControlModifier);
            ASSERT_NE(std::find(history.begin(), history.end() - 1, box.exactText()),
                      history.end() - 1)
                << "undo, " << where;
            press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            ASSERT_EQ(box.exactText(), expected()) << "redo, " << where;
        }
        while (box.document()->isUndoAvailable())
            press(Qt::Key_Z, Qt::ControlModifier);
        ASSERT_EQ(box.exactText(), history.front()) << "round " << round;
        while (box.document()->isRedoAvailable())
            press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        ASSERT_EQ(box.exactText(), history.back()) << "round " << round;
    }
}

int longestBlock(const TabBox& box) {
    int longest = 0;
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next())
        longest = std::max(longest, block.length() - 1);
    return longest;
}

// A line too long to be laid out at once is shown in pieces, yet stays one line: keys delete
// and step across the place where two pieces meet as anywhere in a line, a copy has no break
// there, and a long line pasted in is cut the same way.
TEST(TabBox, ALongLineShowsInPiecesButStaysOneLine) {
    TabBox box;
    showAndActivate(box);
    box.setFocus();
    QString line;
    while (line.size() < 10000)
        line += QString::number(line.size() % 7);
    const QString text = u"a\n"_s + line + u"\r\nz"_s;
    box.setExactText(text);
    EXPECT_EQ(box.exactText(), text);
    ASSERT_LT(longestBlock(box), 5000);

    // Where the second piece starts: in the document, and in the text.
    const int join = box.document()->findBlockByNumber(2).position();
    const qsizetype at = 2 + box.document()->findBlockByNumber(1).length() - 1;
    const auto expectAfterUndo = [&] {
        press(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(box.exactText(), text);
    };
    placeCaret(box, join, join);
    press(Qt::Key_Backspace);
    EXPECT_EQ(box.exactText(), QString(text).remove(at - 1, 1));
    expectAfterUndo();
    placeCaret(box, join - 1, join - 1);
    press(Qt::Key_Delete);
    EXPECT_EQ(box.exactText(), QString(text).remove(at, 1));
    expectAfterUndo();
    placeCaret(box, join, join);
    type(u"x"_s);
    EXPECT_EQ(box.exactText(), QString(text).insert(at, u'x'));
    expectAfterUndo();
    placeCaret(box, join, join);
    press(Qt::Key_Return);
    EXPECT_EQ(box.exactText(), QString(text).insert(at, u"\r\n"_s));
    expectAfterUndo();

    // Each arrow key press steps over one character.
    placeCaret(box, join, join);
    press(Qt::Key_Left);
    EXPECT_EQ(box.textCursor().position(), join - 2);
    pressTimes(Qt::Key_Right, 2);
    EXPECT_EQ(box.textCursor().position(), join + 1);
    press(Qt::Key_Left, Qt::ShiftModifier);
    press(Qt::Key_Left, Qt::ShiftModifier);
    press(Qt::Key_Left, Qt::ShiftModifier);
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text.mid(at - 2, 3));

    QGuiApplication::clipboard()->setText(line);
    press(Qt::Key_End, Qt::ControlModifier);
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box.exactText(), text + line);
    EXPECT_LT(longestBlock(box), 5000);
    expectAfterUndo();
}

TEST(TabBox, AppendingAfterALoneBreakKeepsIt) {
    TabBox box;
    box.setExactText(u"a\n"_s);
    box.appendExact(u"b\rc\r\n"_s);
    EXPECT_EQ(box.exactText(), u"a\nb\rc\r\n"_s);
}

}  // namespace
}  // namespace fretloom
