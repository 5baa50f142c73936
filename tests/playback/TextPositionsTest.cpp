#include "playback/TextPositions.h"

#include <QString>
#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;

TEST(BoxPositions, EachCrLfIsOneBreakInTheBoxAndLoneBreaksStayOne) {
    // a b CR LF c CR d LF CR LF e: the two CR LFs are one break each in the box, "e" at 8.
    const BoxPositions positions(u"ab\r\nc\rd\n\r\ne"_s);
    const std::vector<std::pair<qsizetype, qsizetype>> textAndBox = {
        {0, 0}, {2, 2}, {4, 3}, {5, 4}, {6, 5}, {7, 6}, {8, 7}, {10, 8}, {11, 9}};
    for (const auto& [text, box] : textAndBox) {
        EXPECT_EQ(positions.toBox(text), box) << text;
        EXPECT_EQ(positions.toText(box), text) << box;
    }
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
