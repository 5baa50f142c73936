#include "instruments/InstrumentMode.h"

#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;

TEST(InstrumentMode, CaptionsReadExactly) {
    EXPECT_EQ(modeFromCaption(u"Convert to bass"_s), InstrumentMode::Guitar);
    EXPECT_EQ(modeFromCaption(u"Convert to 5 string"_s), InstrumentMode::Bass);
    EXPECT_EQ(modeFromCaption(u"Normal tab"_s), InstrumentMode::FiveString);
    EXPECT_EQ(modeFromCaption(u"Convert to Bass"_s), InstrumentMode::FiveString);
    EXPECT_EQ(modeFromCaption(u" Convert to 5 string"_s), InstrumentMode::FiveString);
    for (InstrumentMode mode :
         {InstrumentMode::Guitar, InstrumentMode::Bass, InstrumentMode::FiveString})
        EXPECT_EQ(modeFromCaption(captionOf(mode)), mode);
}

TEST(InstrumentMode, LowerFourRowsAreAlwaysCommitted) {
    for (InstrumentMode mode :
         {InstrumentMode::Guitar, InstrumentMode::Bass, InstrumentMode::FiveString}) {
        const std::vector<Row> rows = committedRows(mode);
        ASSERT_GE(rows.size(), 4u);
        EXPECT_EQ((std::vector<Row>(rows.end() - 4, rows.end())),
                  (std::vector<Row>{Row::g, Row::d, Row::a, Row::f}));
    }
    EXPECT_EQ(committedRows(InstrumentMode::Guitar).size(), 6u);
    EXPECT_EQ(committedRows(InstrumentMode::Bass).size(), 4u);
    EXPECT_EQ(committedRows(InstrumentMode::FiveString).front(), Row::b);
}

}  // namespace
}  // namespace fretloom
