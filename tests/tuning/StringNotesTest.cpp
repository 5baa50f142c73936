#include "tuning/StringNotes.h"

#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;

TEST(StringNotes, BoxesAreNamedByTheirRowAndStartInStandardTuning) {
    const RowCaptions notes = defaultNotes();
    const char16_t* const boxes[] = {u"e", u"b", u"g", u"d", u"a", u"f"};
    const char16_t* const standard[] = {u"e", u"B", u"G", u"D", u"A", u"E"};
    for (Row row : kAllRows) {
        EXPECT_EQ(noteBoxName(row), QString::fromUtf16(boxes[index(row)]));
        EXPECT_EQ(notes[index(row)], QString::fromUtf16(standard[index(row)]));
    }
}

TEST(StringNotes, ChangeCopiesEveryBoxUnchangedFromTheTopStringDown) {
    const RowCaptions boxes = {u"C#"_s, u""_s, u" g"_s, u"d"_s, u"A "_s, u"DX"_s};
    EXPECT_EQ(changeStringNotes(boxes), (std::vector<CaptionChange>{{Row::e, u"C#"_s},
                                                                    {Row::b, u""_s},
                                                                    {Row::g, u" g"_s},
                                                                    {Row::d, u"d"_s},
                                                                    {Row::a, u"A "_s},
                                                                    {Row::f, u"DX"_s}}));
    // Standard tuning renames nothing away from the start captions.
    const std::vector<CaptionChange> standard = changeStringNotes(defaultNotes());
    ASSERT_EQ(standard.size(), 6u);
    for (const CaptionChange& change : standard)
        EXPECT_EQ(change.caption, standardCaptions()[index(change.row)]);
}

}  // namespace
}  // namespace fretloom
