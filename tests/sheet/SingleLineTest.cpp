#include "sheet/SingleLine.h"

#include "sheet/Grid.h"

#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;

struct Edit {
    QString text;     // the box's text after the edit ...
    qsizetype caret;  // ... with the caret just after what came in
    std::optional<int> limit;
    QString kept;
    qsizetype keptCaret;
};

void expectFits(const std::vector<Edit>& edits) {
    for (const Edit& edit : edits) {
        const BoxText fitted = fitSingleLine(edit.text, edit.caret, edit.limit);
        EXPECT_EQ(fitted, (BoxText{edit.kept, edit.keptCaret}))
            << "edit \"" << edit.text.toStdString() << "\" caret " << edit.caret << " gave \""
            << fitted.text.toStdString() << "\" caret " << fitted.caret;
    }
}

TEST(FitSingleLine, KeepsWhatArrivesUpToItsFirstLineBreak) {
    constexpr std::nullopt_t none = std::nullopt;
    expectFits({
        {u"1\n2"_s, 3, kCellMaxLength, u"1"_s, 1},
        {u"1\r\n2"_s, 4, kCellMaxLength, u"1"_s, 1},
        {u"C\u2028x"_s, 3, none, u"C"_s, 1},
        {u"Am\u2029"_s, 3, none, u"Am"_s, 2},
        {u"Open\rChords"_s, 11, none, u"Open"_s, 4},
        {u"\nabc"_s, 4, none, u""_s, 0},
        // Pasted between "a" and "z": the text after the caret stays.
        {u"ab\rcz"_s, 4, none, u"abz"_s, 2},
        // Tabs, vertical tabs and other controls are no line breaks here.
        {u"a\tb\u000b\u0085"_s, 5, none, u"a\tb\u000b\u0085"_s, 5},
    });
}

TEST(FitSingleLine, KeepsAtMostTheLimitAndNeverHalfACharacter) {
    const QString emoji = u"\U0001F600"_s;                                // two UTF-16 units
    const QString flags = u"\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7"_s;  // two flags
    const QString family = u"\U0001F469\u200D\U0001F469\u200D\U0001F467"_s;
    expectFits({
        {u"a"_s + emoji, 3, kCellMaxLength, u"a"_s + emoji, 3},
        {u"a"_s + emoji + u"b"_s, 4, kCellMaxLength, u"a"_s + emoji, 3},
        {u"ab"_s + emoji, 4, kCellMaxLength, u"ab"_s, 2},
        {emoji.repeated(3), 6, kCellMaxLength, emoji.repeated(2), 4},
        {u"e\u0301x"_s, 3, kCellMaxLength, u"e\u0301x"_s, 3},
        {u"e\u0301xy"_s, 4, kCellMaxLength, u"e\u0301x"_s, 3},
        {flags + u"x"_s, 9, kCellMaxLength, flags, 8},
        {family + u"xy"_s, 10, kCellMaxLength, family + u"x"_s, 9},
        // Typed before a character of two UTF-16 units, which counts as one.
        {u"1"_s + emoji, 1, kCellMaxLength, u"1"_s + emoji, 1},
        {u"1e\u0301"_s, 1, kCellMaxLength, u"1e\u0301"_s, 1},
        {u"12"_s + emoji, 2, kCellMaxLength, u"1"_s + emoji, 1},
        // A third character typed before the last one, or before both, is refused.
        {u"132"_s, 2, kCellMaxLength, u"12"_s, 1},
        {u"x12"_s, 1, kCellMaxLength, u"12"_s, 0},
        {u"1234\n5"_s, 6, kCellMaxLength, u"12"_s, 2},
    });
}

TEST(FitSingleLine, TextsThatFitComeBackUnchanged) {
    // What the program writes itself: fillers, bar marks, frets, names; the caret at the end.
    for (const QString& text : {u""_s, u"--"_s, u"|"_s, u"10"_s, u"C#"_s, u" "_s}) {
        EXPECT_EQ(fitSingleLine(text, text.size(), kCellMaxLength), (BoxText{text, text.size()}));
        EXPECT_EQ(fitSingleLine(text, 0, kCellMaxLength), (BoxText{text, 0}));
    }
    EXPECT_EQ(fitSingleLine(u"Open Chords"_s, 99, std::nullopt), (BoxText{u"Open Chords"_s, 11}));

    EXPECT_EQ(characterCount(u""_s), 0);
    EXPECT_EQ(characterCount(u"--"_s), 2);
    EXPECT_EQ(characterCount(u"a\U0001F600"_s), 2);
    EXPECT_EQ(characterCount(u"e\u0301"_s), 1);
    EXPECT_EQ(characterCount(u"\r\n"_s), 1);
}

}  // namespace
}  // namespace fretloom
