#include "sheet/LineBreaks.h"

#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;

TEST(SplitAtBreaks, CrLfIsTheOrdinaryBreak) {
    const SplitText split = splitAtBreaks(u"a\r\nb\r\n\r\n"_s);
    EXPECT_EQ(split.linesJoinedByLf, u"a\nb\n\n"_s);
    EXPECT_TRUE(split.unusualBreaks.empty());
}

TEST(SplitAtBreaks, RemembersEveryOtherBreakByLine) {
    const SplitText split = splitAtBreaks(u"a\nb\rc\u2029d\r\n\n\r"_s);
    EXPECT_EQ(split.linesJoinedByLf, u"a\nb\nc\nd\n\n\n"_s);
    ASSERT_EQ(split.unusualBreaks.size(), 5u);
    EXPECT_EQ(split.unusualBreaks[0].line, 0);
    EXPECT_EQ(split.unusualBreaks[0].character, u'\n');
    EXPECT_EQ(split.unusualBreaks[1].line, 1);
    EXPECT_EQ(split.unusualBreaks[1].character, u'\r');
    EXPECT_EQ(split.unusualBreaks[2].character, char16_t(0x2029));
    EXPECT_EQ(split.unusualBreaks[3].line, 4);
    EXPECT_EQ(split.unusualBreaks[3].character, u'\n');
    EXPECT_EQ(split.unusualBreaks[4].line, 5);
    EXPECT_EQ(split.unusualBreaks[4].character, u'\r');
}

TEST(SplitAtBreaks, LeavesOtherCharactersInTheirLines) {
    const QString text = u"\u00a0\t\u2028\u000b\u000c x"_s;
    const SplitText split = splitAtBreaks(text);
    EXPECT_EQ(split.linesJoinedByLf, text);
    EXPECT_TRUE(split.unusualBreaks.empty());
}

}  // namespace
}  // namespace fretloom
