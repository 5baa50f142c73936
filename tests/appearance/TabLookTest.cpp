#include "appearance/TabLook.h"

#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;

TEST(TabLook, ThePrinterTakesFaceAndSizeButNotBoldOrItalic) {
    EXPECT_EQ(printerFont({u"Courier New"_s, true, true, 9.5}),
              (PrinterFont{u"Courier New"_s, 9.5}));
    EXPECT_EQ(printerFont(startTabFont()), (PrinterFont{u"Times New Roman"_s, 12.0}));
}

}  // namespace
}  // namespace fretloom
