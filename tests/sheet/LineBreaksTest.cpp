#include "sheet/LineBreaks.h"

#include "support/RandomText.h"

#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

TEST(SplitAtBreaks, JoinsTheLinesByLfWhateverTheBreak) {
    EXPECT_EQ(splitAtBreaks(u"a\r\nb\r\n\r\n"_s).linesJoinedByLf, u"a\nb\n\n"_s);
    EXPECT_EQ(splitAtBreaks(u"a\nb\rc\u2029d\r\n\n\r\uFDD0\uFDD1"_s).linesJoinedByLf,
              u"a\nb\nc\nd\n\n\n\n\n"_s);
    // Other characters stay in their lines.
    const QString text = u"\u00a0\t\u2028\u000b\u000c x"_s;
    EXPECT_EQ(splitAtBreaks(text).linesJoinedByLf, text);
}

// Each line with the break in front of it, spelled as "break|line" ("" for no break).
std::vector<QString> spelledLines(const QString& text, qsizetype longest) {
    std::vector<QString> spelled;
    for (const DisplayLine& line : displayLines(text, longest))
        spelled.push_back(text.mid(line.start - line.breakLength, line.breakLength) + u'|' +
                          text.mid(line.start, line.length));
    return spelled;
}

TEST(DisplayLines, KeepEachBreakInFrontOfItsLine) {
    EXPECT_EQ(spelledLines(u"a\nb\rc\u2029d\r\n\r\n\n\r"_s, 100),
              (std::vector<QString>{u"|a"_s, u"\n|b"_s, u"\r|c"_s, u"\u2029|d"_s, u"\r\n|"_s,
                                    u"\r\n|"_s, u"\n|"_s, u"\r|"_s}));
    EXPECT_EQ(spelledLines(QString(), 100), std::vector<QString>{u"|"_s});
    EXPECT_EQ(spelledLines(u"\uFDD0x\uFDD1\u2028"_s, 100),
              (std::vector<QString>{u"|"_s, u"\uFDD0|x"_s, u"\uFDD1|\u2028"_s}));
}

TEST(DisplayLines, CutLongLinesBetweenCharacters) {
    // Pieces carry on their line with no break; a line of exactly `longest` is one piece.
    EXPECT_EQ(spelledLines(u"abcdefghij\r\nabcd"_s, 4),
              (std::vector<QString>{u"|abcd"_s, u"|efgh"_s, u"|ij"_s, u"\r\n|abcd"_s}));
    // A surrogate pair stays whole, and a mark stays with the character it marks.
    const QString face = u"\U0001F600"_s;
    EXPECT_EQ(spelledLines(u"abc"_s + face + u"de"_s, 4),
              (std::vector<QString>{u"|abc"_s, u"|"_s + face + u"de"_s}));
    EXPECT_EQ(spelledLines(u"abcde\u0301\u0302fg"_s, 5),
              (std::vector<QString>{u"|abcd"_s, u"|e\u0301\u0302fg"_s}));
    EXPECT_EQ(spelledLines(u"ab\u200Dcd"_s, 3),
              (std::vector<QString>{u"|a"_s, u"|b\u200Dc"_s, u"|d"_s}));
    // Marks beyond any reasonable count are cut anyway, but never inside a pair.
    const QString marks = u"a"_s + QString(100, QChar(0x0301));
    const auto pieces = displayLines(marks, 40);
    EXPECT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].length, 40);
    const QString pairs = face.repeated(10);
    for (const DisplayLine& piece : displayLines(pairs, 5))
        EXPECT_EQ(piece.length, 4);
}

// Seeded random texts: the lines and their breaks give the text back exactly, in pieces no
// longer than asked.
TEST(DisplayLines, GiveTheTextBackExactly) {
    RandomText random(4096);
    for (int round = 0; round < 500; ++round) {
        const QString text = random.text(0, 120);
        const qsizetype longest = random.number(2, 12);
        QString joined;
        for (const DisplayLine& line : displayLines(text, longest)) {
            ASSERT_LE(line.length, longest) << spelled(text);
            joined += text.mid(line.start - line.breakLength, line.breakLength + line.length);
        }
        ASSERT_EQ(joined, text) << "round " << round << " " << spelled(text);
    }
}

}  // namespace
}  // namespace fretloom
