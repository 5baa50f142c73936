#include "sheet/AccessibleNames.h"

#include "instruments/InstrumentMode.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;

RowCaptions captions(const QStringList& names) {
    RowCaptions all;
    std::copy(names.begin(), names.end(), all.begin());
    return all;
}
QStringList names(const RowCaptions& labels, InstrumentMode mode) {
    QStringList said;
    for (const StringVoice& voice : stringVoices(labels, shownRows(mode)))
        said << voice.name;
    return said;
}
QStringList descriptions(const RowCaptions& labels, InstrumentMode mode) {
    QStringList said;
    for (const StringVoice& voice : stringVoices(labels, shownRows(mode)))
        said << voice.description;
    return said;
}

TEST(StringVoices, NameTheStringAsItsLabelShowsItAndTheCellByItsColumn) {
    const auto voices = stringVoices(standardCaptions(), shownRows(InstrumentMode::Guitar));
    EXPECT_EQ(accessibleCellName(voices[index(Row::e)], 1), u"string e, column 1"_s);
    EXPECT_EQ(accessibleCellName(voices[index(Row::f)], 16), u"string E, column 16"_s);
    // Renamed strings are said as renamed, neither trimmed nor changed in case; a label left
    // blank, or holding spaces only, which are not spoken, leaves the string its number among
    // those on screen.
    const RowCaptions renamed = captions({u"C#"_s, u""_s, u"  "_s, u" d"_s, u"2"_s, u"E"_s});
    EXPECT_EQ(names(renamed, InstrumentMode::Guitar),
              (QStringList{u"string C#"_s, u"unnamed string 2"_s, u"unnamed string 3"_s,
                           u"string  d"_s, u"string 2"_s, u"string E"_s}));
    EXPECT_EQ(names(renamed, InstrumentMode::Bass)[index(Row::g)], u"unnamed string 1"_s);
    EXPECT_EQ(names(renamed, InstrumentMode::FiveString)[index(Row::b)], u"unnamed string 1"_s);
}

TEST(StringVoices, DescribeTheStringsAsTheInstrumentShowsThem) {
    const RowCaptions standard = standardCaptions();
    EXPECT_EQ(
        descriptions(standard, InstrumentMode::Guitar),
        (QStringList{u"string 1 of 6, the highest"_s, u"string 2 of 6"_s, u"string 3 of 6"_s,
                     u"string 4 of 6"_s, u"string 5 of 6"_s, u"string 6 of 6, the lowest"_s}));
    const QString unused = u"not in use on this instrument"_s;
    EXPECT_EQ(descriptions(standard, InstrumentMode::Bass),
              (QStringList{unused, unused, u"string 1 of 4, the highest"_s, u"string 2 of 4"_s,
                           u"string 3 of 4"_s, u"string 4 of 4, the lowest"_s}));
    EXPECT_EQ(
        descriptions(standard, InstrumentMode::FiveString),
        (QStringList{unused, u"string 1 of 5, the highest"_s, u"string 2 of 5"_s,
                     u"string 3 of 5"_s, u"string 4 of 5"_s, u"string 5 of 5, the lowest"_s}));
}

TEST(StringVoices, TellStringsThatSoundAlikeApartByWhichIsHigher) {
    // "D" twice, once with a space a screen reader does not speak; "e" and "E" differ only in
    // case. The top and bottom strings already say they are the highest and the lowest.
    const RowCaptions renamed = captions({u"D"_s, u"e"_s, u"D "_s, u"E"_s, u"D"_s, u"x"_s});
    EXPECT_EQ(descriptions(renamed, InstrumentMode::Guitar),
              (QStringList{u"string 1 of 6, the highest"_s,
                           u"string 2 of 6, the higher of two strings named e"_s,
                           u"string 3 of 6, number 2 from the top of 3 strings named D"_s,
                           u"string 4 of 6, the lower of two strings named E"_s,
                           u"string 5 of 6, the lowest of 3 strings named D"_s,
                           u"string 6 of 6, the lowest"_s}));
    // Strings off screen are not counted among those that sound alike.
    EXPECT_EQ(descriptions(renamed, InstrumentMode::Bass)[index(Row::d)], u"string 2 of 4"_s);
    EXPECT_EQ(descriptions(renamed, InstrumentMode::Bass)[index(Row::a)],
              u"string 3 of 4, the lower of two strings named D"_s);
    // Blank names are never alike: each string keeps its number.
    const RowCaptions blank = captions({u"e"_s, u""_s, u""_s, u" "_s, u"A"_s, u"E"_s});
    EXPECT_EQ(descriptions(blank, InstrumentMode::Guitar)[index(Row::g)], u"string 3 of 6"_s);
}

}  // namespace
}  // namespace fretloom
