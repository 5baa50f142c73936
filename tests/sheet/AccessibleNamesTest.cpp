#include "sheet/AccessibleNames.h"

#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;

TEST(AccessibleCellName, SaysTheCaptionAsShownAndTheColumn) {
    EXPECT_EQ(accessibleCellName(u"e"_s, Row::e, 1), u"string e, column 1"_s);
    EXPECT_EQ(accessibleCellName(u"B"_s, Row::b, 3), u"string B, column 3"_s);
    EXPECT_EQ(accessibleCellName(u"E"_s, Row::f, 16), u"string E, column 16"_s);
    // A renamed string is said as renamed, whatever its row.
    EXPECT_EQ(accessibleCellName(u"C#"_s, Row::e, 1), u"string C#, column 1"_s);
    EXPECT_EQ(accessibleCellName(u"Db"_s, Row::a, 10), u"string Db, column 10"_s);
    // Neither trimmed nor changed in case: the name is the caption the user sees.
    EXPECT_EQ(accessibleCellName(u" d"_s, Row::d, 2), u"string  d, column 2"_s);
}

TEST(AccessibleCellName, ABlankCaptionFallsBackToTheStringsNumberFromTheTop) {
    EXPECT_EQ(accessibleCellName(QString(), Row::b, 1), u"unnamed string 2, column 1"_s);
    EXPECT_EQ(accessibleCellName(QString(), Row::e, 5), u"unnamed string 1, column 5"_s);
    EXPECT_EQ(accessibleCellName(QString(), Row::f, 16), u"unnamed string 6, column 16"_s);
    // Spaces are not spoken, so they count as no name.
    EXPECT_EQ(accessibleCellName(u"  "_s, Row::g, 4), u"unnamed string 3, column 4"_s);
    // A string named by a number stays apart from an unnamed one.
    EXPECT_NE(accessibleCellName(u"2"_s, Row::a, 1), accessibleCellName(QString(), Row::b, 1));
}

TEST(AccessibleCellDescription, TellsTheTopAndBottomStringsApart) {
    EXPECT_EQ(accessibleCellDescription(Row::e), u"string 1 of 6, the highest"_s);
    EXPECT_EQ(accessibleCellDescription(Row::g), u"string 3 of 6"_s);
    EXPECT_EQ(accessibleCellDescription(Row::f), u"string 6 of 6, the lowest"_s);
}

}  // namespace
}  // namespace fretloom
