#include "appearance/TabLook.h"

#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;

TEST(TabLook, HidingTheTabBoxShowsTheGridAlone) {
    EXPECT_EQ(clientHeight(false), 6915);
    EXPECT_EQ(clientHeight(true), 3300);
    // The tab box's top edge stands at 3360 twips: hidden, none of it shows.
    EXPECT_LT(clientHeight(true), 3360);
}

TEST(TabLook, StartsInTimesNewRoman12PointBold) {
    EXPECT_EQ(startTabFont(), (TabFont{u"Times New Roman"_s, true, false, 12.0}));
}

TEST(TabLook, ThePrinterTakesFaceAndSizeButNotBoldOrItalic) {
    EXPECT_EQ(printerFont({u"Courier New"_s, true, true, 9.5}),
              (PrinterFont{u"Courier New"_s, 9.5}));
    EXPECT_EQ(printerFont(startTabFont()), (PrinterFont{u"Times New Roman"_s, 12.0}));
}

}  // namespace
}  // namespace fretloom
