#include "playback/TextPositions.h"

#include <QString>
#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;

TEST(BoxPositions, EachBreakIsOneSeparatorInTheBoxAndAJoinOfPiecesIsNothingInTheText) {
    // a b CR LF c CR d LF CR LF e, in blocks "ab" "c" "d" "" "e": "e" is at 10 and at 8.
    const BoxPositions lines(u"ab\r\nc\rd\n\r\ne"_s, {2, 1, 1, 0, 1});
    // "abcdef" shown in two pieces, "abc" and "def": "d" is at 3 and at 4.
    const BoxPositions pieces(u"abcdef"_s, {3, 3});
    struct Case {
        const BoxPositions& positions;
        qsizetype text;
        qsizetype box;
    };
    const Case cases[] = {{lines, 0, 0},  {lines, 2, 2},  {lines, 4, 3},  {lines, 5, 4},
                          {lines, 6, 5},  {lines, 7, 6},  {lines, 8, 7},  {lines, 10, 8},
                          {lines, 11, 9}, {pieces, 2, 2}, {pieces, 4, 5}, {pieces, 6, 7}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.positions.toBox(c.text), c.box) << c.text;
        EXPECT_EQ(c.positions.toText(c.box), c.text) << c.box;
    }
    // The end of a piece and the start of the next are the same place of the text.
    EXPECT_EQ(pieces.toText(3), 3);
    EXPECT_EQ(pieces.toText(4), 3);
}

TEST(EditTrail, CarriesAStretchThroughEditsAroundAndInsideIt) {
    struct Case {
        const char* what;
        qsizetype position;
        qsizetype removed;
        qsizetype added;
        EditTrail::Stretch expected;
    };
    // The stretch is [10, 20).
    const Case cases[] = {
        {"typed before", 3, 0, 2, {12, 22}},
        {"deleted before", 3, 4, 0, {6, 16}},
        {"typed at its start stays outside", 10, 0, 1, {11, 21}},
        {"typed at its end stays outside", 20, 0, 1, {10, 20}},
        {"typed inside", 15, 0, 3, {10, 23}},
        {"deleted inside", 12, 5, 0, {10, 15}},
        {"deleted across its start", 5, 10, 0, {5, 10}},
        {"deleted across its end", 15, 10, 0, {10, 15}},
        {"replaced whole", 0, 30, 40, {40, 0}},
        {"typed after", 25, 0, 9, {10, 20}},
    };
    for (const Case& c : cases) {
        EditTrail trail;
        trail.record(c.position, c.removed, c.added);
        const EditTrail::Stretch carried = trail.carry({10, 20});
        if (c.expected.isEmpty()) {
            EXPECT_TRUE(carried.isEmpty()) << c.what;
            continue;
        }
        EXPECT_EQ(carried.start, c.expected.start) << c.what;
        EXPECT_EQ(carried.end, c.expected.end) << c.what;
    }
    // Edits follow one another: each is in the positions the one before left.
    EditTrail trail;
    trail.record(0, 0, 5);
    trail.record(16, 2, 0);
    const EditTrail::Stretch carried = trail.carry({10, 20});
    EXPECT_EQ(carried.start, 15);
    EXPECT_EQ(carried.end, 23);
}

}  // namespace
}  // namespace fretloom
