#include "chords/ChordPicker.h"

#include "chords/ChordTestHelpers.h"
#include "chords/PrintQString.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using fretloom::testing::namesOf;
using fretloom::testing::shape;

const ChordShape kNothing{};

TEST(ChordPickerLists, OfferTheLibraryNamesInLibraryOrder) {
    EXPECT_EQ(chordBoxEntries(ChordStyle::Open), namesOf(ChordTable::Open));
    // The barre list is the major names then the minor ones, without E and Em.
    QStringList barre = namesOf(ChordTable::BarreMajor) + namesOf(ChordTable::BarreMinor);
    barre.removeOne(u"E"_s);
    barre.removeOne(u"Em"_s);
    EXPECT_EQ(chordBoxEntries(ChordStyle::Barre), barre);
    EXPECT_EQ(chordBoxEntries(ChordStyle::Barre).size(), 22);
    QStringList power = namesOf(ChordTable::Power);
    power.removeOne(u"E"_s);
    EXPECT_EQ(chordBoxEntries(ChordStyle::Power), power);
    EXPECT_EQ(chordBoxEntries(ChordStyle::Power).size(), 11);

    QStringList columns;
    for (int column = 1; column <= 16; ++column)
        columns << QString::number(column);
    EXPECT_EQ(columnBoxEntries(), columns);
}

TEST(ChordPickerLists, StartAndResetTextsNameNoChord) {
    EXPECT_EQ(initialChordBoxText(ChordStyle::Open), u"Open Chords"_s);
    EXPECT_EQ(initialChordBoxText(ChordStyle::Power), u"Power Chords"_s);
    EXPECT_EQ(initialChordBoxText(ChordStyle::Barre), u"Barre Chord"_s);
    EXPECT_EQ(resetChordBoxText(ChordStyle::Open), u"Open chords"_s);
    EXPECT_EQ(resetChordBoxText(ChordStyle::Power), u"Power chords"_s);
    EXPECT_EQ(resetChordBoxText(ChordStyle::Barre), u"Barre chords"_s);
    for (ChordStyle style : kAllChordStyles) {
        for (const QString& text : {initialChordBoxText(style), resetChordBoxText(style)}) {
            for (ChordTable table : kAllChordTables)
                EXPECT_FALSE(findChord(table, text)) << text.toStdString();
            EXPECT_EQ(resolveChord(text, text, text), kNothing);
        }
    }
}

TEST(ChordPickerStyle, CyclesOpenPowerBarreOpen) {
    EXPECT_EQ(styleButtonCaption(ChordStyle::Open), u"Change to: Power chords"_s);

    const StyleSwitch first = switchStyle(ChordStyle::Open);
    EXPECT_EQ(first.hide, ChordStyle::Open);
    EXPECT_EQ(first.hiddenText, u"Open chords"_s);
    EXPECT_EQ(first.show, ChordStyle::Power);
    EXPECT_EQ(first.caption, u"Change to: Barre chords"_s);

    const StyleSwitch second = switchStyle(first.show);
    EXPECT_EQ(second.hide, ChordStyle::Power);
    EXPECT_EQ(second.hiddenText, u"Power chords"_s);
    EXPECT_EQ(second.show, ChordStyle::Barre);
    EXPECT_EQ(second.caption, u"Change to: Open chords"_s);

    const StyleSwitch third = switchStyle(second.show);
    EXPECT_EQ(third.hide, ChordStyle::Barre);
    EXPECT_EQ(third.hiddenText, u"Barre chords"_s);
    EXPECT_EQ(third.show, ChordStyle::Open);
    EXPECT_EQ(third.caption, styleButtonCaption(ChordStyle::Open));
}

TEST(ChordPickerResolution, AsksPowerOpenBarreMajorBarreMinorAndTheLastFindWins) {
    const ChordShape barreA = shape({u"5", u"5", u"6", u"7", u"7", u"5"});
    const ChordShape openA = shape({u"0", u"2", u"2", u"2", u"0", u"--"});
    const ChordShape powerA = shape({u"", u"", u"--", u"7", u"7", u"5"});
    EXPECT_EQ(resolveChord(u"A"_s, u"A"_s, u"A"_s), barreA);
    EXPECT_EQ(resolveChord(u"A"_s, u"A"_s, u"Barre chords"_s), openA);
    EXPECT_EQ(resolveChord(u"A"_s, u"Open chords"_s, u"Barre chords"_s), powerA);
    EXPECT_EQ(resolveChord(u"Power chords"_s, u"A"_s, u"Barre chords"_s), openA);
    EXPECT_EQ(resolveChord(u"A"_s, u"C"_s, u"Fm"_s),
              shape({u"8", u"9", u"10", u"10", u"8", u"--"}));
    EXPECT_EQ(resolveChord(u"A"_s, u"C"_s, u"F"_s),
              shape({u"8", u"10", u"10", u"10", u"8", u"--"}));
    // An open chord replaces a power chord whole, top strings included.
    EXPECT_EQ(resolveChord(u"A"_s, u"Bar line"_s, u"x"_s),
              shape({u"|", u"|", u"|", u"|", u"|", u"|"}));
    // The box decides the table: Am is open in norm and barre in Bar.
    EXPECT_EQ(resolveChord(u"Am"_s, u"Am"_s, u"Barre chords"_s),
              shape({u"0", u"1", u"2", u"2", u"0", u"--"}));
    EXPECT_EQ(resolveChord(u"Am"_s, u"Open chords"_s, u"Am"_s),
              shape({u"5", u"5", u"5", u"7", u"7", u"5"}));
    // Am is no power chord.
    EXPECT_EQ(resolveChord(u"Am"_s, u"Open chords"_s, u"Barre chords"_s), kNothing);
}

TEST(ChordPickerResolution, TypedNamesAndMisses) {
    EXPECT_EQ(resolveChord(u"Power chords"_s, u"Open chords"_s, u"E"_s),
              shape({u"7", u"9", u"9", u"9", u"7", u"--"}));
    EXPECT_EQ(resolveChord(u"Power chords"_s, u"Open chords"_s, u"Em"_s),
              shape({u"7", u"8", u"9", u"9", u"7", u"--"}));
    EXPECT_EQ(resolveChord(u"E"_s, u"Open chords"_s, u"Barre chords"_s),
              shape({u"", u"", u"9", u"9", u"7", u"--"}));
    for (const QString& miss : {u"am"_s, u"A "_s, u"A major 7"_s, u""_s, u"c"_s})
        EXPECT_EQ(resolveChord(miss, miss, miss), kNothing) << miss.toStdString();
}

TEST(ChordPickerColumn, ReadsTheTextAsANumberFromOneToSixteen) {
    for (int column = 1; column <= 16; ++column)
        EXPECT_EQ(columnFromText(QString::number(column)), column);
    EXPECT_EQ(columnFromText(u"03"_s), 3);
    EXPECT_EQ(columnFromText(u"016"_s), 16);
    EXPECT_EQ(columnFromText(u"000000000000000000007"_s), 7);
    // A number equal to a column in value names it.
    EXPECT_EQ(columnFromText(u"3.0"_s), 3);
    EXPECT_EQ(columnFromText(u"3."_s), 3);
    EXPECT_EQ(columnFromText(u"+3"_s), 3);
    // Blanks around the number are not part of it.
    EXPECT_EQ(columnFromText(u" 3"_s), 3);
    EXPECT_EQ(columnFromText(u"12 "_s), 12);
    EXPECT_EQ(columnFromText(u"\t5\u00a0"_s), 5);
}

TEST(ChordPickerColumn, NamesNoColumnForOtherNumbersOrNoNumber) {
    const QStringList none = {u"0"_s,     u"17"_s,  u"2.5"_s, u"16.5"_s,  u"0.9"_s,
                              u".5"_s,    u"-3"_s,  u"-0"_s,  u"00"_s,    u"99999999999999999999"_s,
                              u"1e1"_s,   u"0x3"_s, u"3,0"_s, u"3 4"_s,   u"x"_s,
                              u"three"_s, u"3a"_s,  u"a3"_s,  u""_s,      u" "_s,
                              u"."_s,     u"+"_s,   u"++3"_s, u"\u0663"_s /* Arabic-Indic three */};
    for (const QString& text : none)
        EXPECT_FALSE(columnFromText(text)) << text.toStdString();
}

TEST(ChordPickerPlacement, WritesTheSixRowsOfOneColumn) {
    Grid grid;
    for (Row row : kAllRows)
        for (int column = 1; column <= kColumnCount; ++column)
            grid.cell(row, column) = u"9"_s;
    Grid expected = grid;
    const ChordShape power = *findChord(ChordTable::Power, u"A"_s);
    placeChord(grid, 3, power);
    expected.cell(Row::e, 3) = u""_s;
    expected.cell(Row::b, 3) = u""_s;
    expected.cell(Row::g, 3) = u"--"_s;
    expected.cell(Row::d, 3) = u"7"_s;
    expected.cell(Row::a, 3) = u"7"_s;
    expected.cell(Row::f, 3) = u"5"_s;
    EXPECT_EQ(grid, expected);

    // The same choice again leaves the same grid.
    placeChord(grid, 3, power);
    EXPECT_EQ(grid, expected);

    placeChord(grid, 16, *findChord(ChordTable::BarreMinor, u"Fm"_s));
    EXPECT_EQ(grid.cell(Row::e, 16), u"8"_s);
    EXPECT_EQ(grid.cell(Row::g, 16), u"10"_s);
    EXPECT_EQ(grid.cell(Row::f, 16), u"--"_s);
    EXPECT_EQ(grid.cell(Row::f, 15), u"9"_s);
}

}  // namespace
}  // namespace fretloom
