#include "instruments/InstrumentMode.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <utility>

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

TEST(InstrumentMode, EachModeWritesAndShowsItsOwnRowsTopToBottom) {
    // The layouts always keep the lower strings: bass drops the top two, five-string the top one.
    const std::pair<InstrumentMode, std::vector<Row>> modes[] = {
        {InstrumentMode::Guitar, {Row::e, Row::b, Row::g, Row::d, Row::a, Row::f}},
        {InstrumentMode::Bass, {Row::g, Row::d, Row::a, Row::f}},
        {InstrumentMode::FiveString, {Row::b, Row::g, Row::d, Row::a, Row::f}},
    };
    for (const auto& [mode, rows] : modes) {
        SCOPED_TRACE(captionOf(mode).toStdString());
        EXPECT_EQ(committedRows(mode), rows);
        EXPECT_EQ(shownRows(mode), rows);
    }
}

TEST(ConvertStep, EachStepMakesItsChangesInOrderThenNamesTheNextConversion) {
    using enum RowPart;
    const std::optional<ConvertStep> toBass = convertStep(u"Convert to bass"_s);
    ASSERT_TRUE(toBass);
    EXPECT_EQ(toBass->changes, (std::vector<VisibilityChange>{{Label, Row::e, false},
                                                              {Label, Row::b, false},
                                                              {Line, Row::e, false},
                                                              {Line, Row::b, false},
                                                              {Cells, Row::e, false},
                                                              {Cells, Row::b, false}}));
    EXPECT_EQ(toBass->caption, u"Convert to 5 string"_s);

    const std::optional<ConvertStep> toFive = convertStep(u"Convert to 5 string"_s);
    ASSERT_TRUE(toFive);
    EXPECT_EQ(toFive->changes,
              (std::vector<VisibilityChange>{
                  {Label, Row::b, true}, {Line, Row::b, true}, {Cells, Row::b, true}}));
    EXPECT_EQ(toFive->caption, u"Normal tab"_s);

    const std::optional<ConvertStep> toGuitar = convertStep(u"Normal tab"_s);
    ASSERT_TRUE(toGuitar);
    EXPECT_EQ(toGuitar->changes, (std::vector<VisibilityChange>{{Label, Row::e, true},
                                                                {Line, Row::e, true},
                                                                {Line, Row::b, true},
                                                                {Cells, Row::e, true}}));
    EXPECT_EQ(toGuitar->caption, u"Convert to bass"_s);
}

TEST(ConvertStep, CaptionsOutsideTheCycleConvertNothing) {
    for (const QString& caption : {u""_s, u"Convert to Bass"_s, u"convert to 5 string"_s,
                                   u"Normal tab "_s, u" Normal tab"_s, u"Normal Tab"_s})
        EXPECT_FALSE(convertStep(caption)) << caption.toStdString();
}

// Plays the steps onto a screen on which every label, line and cell starts shown, as the
// window does at start.
class ScreenModel {
public:
    bool shown(RowPart part, Row row) const {
        const auto found = shown_.find({part, row});
        return found == shown_.end() || found->second;
    }
    void apply(const ConvertStep& step) {
        for (const VisibilityChange& change : step.changes)
            shown_[{change.part, change.row}] = change.shown;
    }

private:
    std::map<std::pair<RowPart, Row>, bool> shown_;
};

TEST(ConvertStep, ThreeStepsCycleThroughTheModesShowingExactlyTheirRows) {
    ScreenModel screen;
    QString caption = captionOf(InstrumentMode::Guitar);
    const InstrumentMode expectedModes[] = {InstrumentMode::Bass, InstrumentMode::FiveString,
                                            InstrumentMode::Guitar, InstrumentMode::Bass};
    for (InstrumentMode expected : expectedModes) {
        const std::optional<ConvertStep> step = convertStep(caption);
        ASSERT_TRUE(step) << caption.toStdString();
        screen.apply(*step);
        caption = step->caption;
        ASSERT_EQ(modeFromCaption(caption), expected);
        EXPECT_EQ(caption, captionOf(expected));
        const std::vector<Row> rows = shownRows(expected);
        for (Row row : kAllRows) {
            const bool inUse = std::find(rows.begin(), rows.end(), row) != rows.end();
            for (RowPart part : {RowPart::Label, RowPart::Line, RowPart::Cells})
                EXPECT_EQ(screen.shown(part, row), inUse)
                    << caption.toStdString() << " row " << rowPrefix(row).toStdString();
        }
    }
}

TEST(ConvertStep, StepsNeverTouchTheFourLowerStrings) {
    for (InstrumentMode mode :
         {InstrumentMode::Guitar, InstrumentMode::Bass, InstrumentMode::FiveString}) {
        const std::optional<ConvertStep> step = convertStep(captionOf(mode));
        ASSERT_TRUE(step);
        for (const VisibilityChange& change : step->changes)
            EXPECT_TRUE(change.row == Row::e || change.row == Row::b);
    }
}

}  // namespace
}  // namespace fretloom
