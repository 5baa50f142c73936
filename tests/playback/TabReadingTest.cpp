#include "playback/TabReading.h"

#include "instruments/InstrumentMode.h"
#include "sheet/Bar.h"
#include "support/RandomText.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;

constexpr qint64 S = kTicksPerSixteenth;
constexpr qint64 C = kTicksPerCharacter;

// What a test says of a note: string, fret (-1 for a muted one), key, start and length in ticks.
struct Heard {
    int string;
    int fret;
    int key;
    qint64 start;
    qint64 length;
    bool operator==(const Heard&) const = default;
};

void PrintTo(const Heard& h, std::ostream* out) {
    *out << "{string " << h.string << ", fret " << h.fret << ", key " << h.key << ", at " << h.start
         << " for " << h.length << "}";
}

// The notes of one staff, each checked to point at its own fret (or x) in the text.
std::vector<Heard> heard(const TabReading& reading, QStringView text, int staff) {
    std::vector<Heard> result;
    for (const TabNote& note : reading.notes) {
        if (note.staff != staff)
            continue;
        const QStringView source = text.sliced(note.source.start, note.source.length);
        EXPECT_EQ(source.toString(), note.muted ? u"x"_s : QString::number(note.fret));
        result.push_back(
            {note.string, note.muted ? -1 : note.fret, note.key, note.start, note.length});
    }
    return result;
}

Grid gridOf(const std::vector<std::tuple<Row, int, QString>>& cells) {
    Grid grid;
    for (const auto& [row, column, text] : cells)
        grid.cell(row, column) = text;
    return grid;
}

QString enter(Grid grid, const QString& mode = QString::fromUtf16(kGuitarModeCaption)) {
    return commitBar(grid, standardCaptions(), mode);
}

TEST(TabReading, TheWorkedExampleIsReadCellByCellThoughItsLinesDifferInLength) {
    Grid grid = gridOf({{Row::e, 1, u"0"_s},
                        {Row::b, 1, u"1"_s},
                        {Row::g, 1, u"0"_s},
                        {Row::d, 1, u"2"_s},
                        {Row::a, 1, u"3"_s},
                        {Row::f, 1, u"3"_s},
                        {Row::e, 3, u"12"_s},
                        {Row::g, 4, u"5"_s}});
    for (Row row : kAllRows)
        grid.cell(row, 2) = u"|"_s;
    const QString text = u"Intro\r\n"_s + enter(grid);
    ASSERT_EQ(text.split(u"\r\n"_s)[3].size(), 51);  // the G line, one shorter

    const TabReading reading = readTab(text);
    ASSERT_EQ(reading.staves.size(), 1u);
    const Staff& staff = reading.staves[0];
    EXPECT_TRUE(staff.byCells);
    EXPECT_EQ(staff.instrument, StaffInstrument::Guitar);
    // The bar line of column 2 takes no time: fifteen sixteenths.
    EXPECT_EQ(staff.length, 15 * S);
    EXPECT_EQ(heard(reading, text, 0), (std::vector<Heard>{{0, 0, 64, 0, S},
                                                           {0, 12, 76, S, 14 * S},
                                                           {1, 1, 60, 0, 15 * S},
                                                           {2, 0, 55, 0, 2 * S},
                                                           {2, 5, 60, 2 * S, 13 * S},
                                                           {3, 2, 52, 0, 15 * S},
                                                           {4, 3, 48, 0, 15 * S},
                                                           {5, 3, 43, 0, 15 * S}}));
    EXPECT_EQ(reading.notes[1].source, (TextSpan{7 + 9, 2}));

    // Two bars: up to and with the bar line, then the rest of each line.
    ASSERT_EQ(staff.bars.size(), 2u);
    EXPECT_EQ(staff.bars[0].start, 0);
    EXPECT_EQ(staff.bars[1].start, S);
    const QStringList lines = text.split(u"\r\n"_s);
    for (int s = 0; s < 6; ++s) {
        const TextSpan first = staff.bars[0].spans[s];
        const TextSpan second = staff.bars[1].spans[s];
        EXPECT_EQ(text.sliced(first.start, first.length), lines[s + 1].left(8));
        EXPECT_EQ(second.start, first.start + first.length);
        EXPECT_EQ(text.sliced(second.start, second.length), lines[s + 1].mid(8));
    }
}

TEST(TabReading, BlocksMixingOneAndTwoCharacterCellsLineUpByCell) {
    // Column 1 holds a two-digit and a one-digit fret; column 9 is a bar line on every string
    // but column 8 only on one; a cell the user wrote as "-" still counts as one cell.
    const Grid grid = gridOf({{Row::e, 1, u"10"_s},
                              {Row::b, 1, u"5"_s},
                              {Row::e, 16, u"3"_s},
                              {Row::g, 2, u"x"_s},
                              {Row::d, 3, u"7h"_s},
                              {Row::d, 4, u"9"_s},
                              {Row::d, 10, u"-"_s},
                              {Row::d, 11, u"2"_s},
                              {Row::a, 5, u"12"_s},
                              {Row::a, 6, u"3"_s},
                              {Row::f, 2, u" "_s},
                              {Row::f, 8, u"|"_s},
                              {Row::e, 9, u"|"_s},
                              {Row::b, 9, u"|"_s},
                              {Row::g, 9, u"|"_s},
                              {Row::d, 9, u"|"_s},
                              {Row::a, 9, u"|"_s},
                              {Row::f, 9, u"|"_s}});
    const QString text = enter(grid);
    const TabReading reading = readTab(text);
    ASSERT_EQ(reading.staves.size(), 1u);
    EXPECT_TRUE(reading.staves[0].byCells);
    EXPECT_EQ(reading.staves[0].length, 15 * S);
    EXPECT_EQ(heard(reading, text, 0), (std::vector<Heard>{{0, 10, 74, 0, 14 * S},
                                                           {0, 3, 67, 14 * S, S},
                                                           {1, 5, 64, 0, 15 * S},
                                                           {2, -1, 55, S, S / 2},
                                                           {3, 7, 57, 2 * S, S},
                                                           {3, 9, 59, 3 * S, 6 * S},
                                                           {3, 2, 52, 9 * S, 6 * S},
                                                           {4, 12, 57, 4 * S, S},
                                                           {4, 3, 48, 5 * S, 10 * S}}));
    EXPECT_EQ(reading.staves[0].bars.size(), 2u);

    // Bass mode writes four lines, five-string mode five: the same cells, bass and guitar.
    const QString bass = enter(grid, QString::fromUtf16(kBassModeCaption));
    const TabReading bassReading = readTab(bass);
    ASSERT_EQ(bassReading.staves.size(), 1u);
    EXPECT_EQ(bassReading.staves[0].instrument, StaffInstrument::Bass);
    EXPECT_EQ(heard(bassReading, bass, 0).back(), (Heard{2, 3, 36, 5 * S, 10 * S}));
    const QString five = enter(grid, QString::fromUtf16(kFiveStringModeCaption));
    const TabReading fiveReading = readTab(five);
    ASSERT_EQ(fiveReading.staves.size(), 1u);
    EXPECT_EQ(fiveReading.staves[0].instrument, StaffInstrument::Guitar);
    EXPECT_EQ(heard(fiveReading, five, 0).front(), (Heard{0, 5, 64, 0, 15 * S}));
}

TEST(TabReading, HandTypedTabIsReadByCharacterColumns) {
    const QString text = u"Riff, typed by hand\n"
                         u"e |-------0---|-----------|\n"
                         u"B |-----1-----|---1h3-----|\n"
                         u"G |---2-------|---5/7-2---|\n"
                         u"D |--*--------|------~----|   \n"
                         u"A |-0-----x---|-10--------|\n"
                         u"E |-----------|-----------|\n"_s;
    const TabReading reading = readTab(text);
    ASSERT_EQ(reading.staves.size(), 1u);
    EXPECT_FALSE(reading.staves[0].byCells);
    // 24 columns, two of them bar lines on every string; three characters to a sixteenth.
    EXPECT_EQ(reading.staves[0].length, 22 * C);
    EXPECT_EQ(heard(reading, text, 0), (std::vector<Heard>{{0, 0, 64, 7 * C, 15 * C},
                                                           {1, 1, 60, 5 * C, 9 * C},
                                                           {1, 1, 60, 14 * C, 2 * C},
                                                           {1, 3, 62, 16 * C, 6 * C},
                                                           {2, 2, 57, 3 * C, 11 * C},
                                                           {2, 5, 60, 14 * C, 2 * C},
                                                           {2, 7, 62, 16 * C, 2 * C},
                                                           {2, 2, 57, 18 * C, 4 * C},
                                                           {4, 0, 45, C, 6 * C},
                                                           {4, -1, 45, 7 * C, S / 2},
                                                           {4, 10, 55, 12 * C, 10 * C}}));
    ASSERT_EQ(reading.staves[0].bars.size(), 2u);
    EXPECT_EQ(reading.staves[0].bars[1].start, 11 * C);
    const TextSpan secondOnTop = reading.staves[0].bars[1].spans[0];
    EXPECT_EQ(text.sliced(secondOnTop.start, secondOnTop.length), u"-----------|"_s);
}

TEST(TabReading, StringNamesGiveThePitchInTheOctaveNearestStandardTuning) {
    struct Case {
        QStringList names;
        std::vector<int> keys;
        StaffInstrument instrument;
    };
    const Case cases[] = {
        // Drop D.
        {{u"e"_s, u"B"_s, u"G"_s, u"D"_s, u"A"_s, u"D"_s},
         {64, 59, 55, 50, 45, 38},
         StaffInstrument::Guitar},
        {{u"G"_s, u"D"_s, u"A"_s, u"E"_s}, {43, 38, 33, 28}, StaffInstrument::Bass},
        // Five strings as the five-string mode writes them, and a five-string bass.
        {{u"B"_s, u"G"_s, u"D"_s, u"A"_s, u"E"_s}, {59, 55, 50, 45, 40}, StaffInstrument::Guitar},
        {{u"G"_s, u"D"_s, u"A"_s, u"E"_s, u"b"_s}, {43, 38, 33, 28, 23}, StaffInstrument::Bass},
        // No note, other cases, sharps and flats, and a tritone away, which goes down.
        {{QString(), u"?"_s, u"g"_s, u"d#"_s, u"Ab"_s, u"Bb"_s},
         {64, 59, 55, 51, 44, 34},
         StaffInstrument::Guitar},
        {{u"e"_s, u"B"_s, u"G"_s, u"D"_s, u"A"_s, u"E"_s, u"B"_s},
         {64, 59, 55, 50, 45, 40, 35},
         StaffInstrument::Guitar},
    };
    for (const Case& c : cases) {
        QString text;
        for (qsizetype s = 0; s < c.names.size(); ++s)
            text += c.names[s] + (s == c.names.size() - 1 ? u"|3-\r\n"_s : u"|0-\r\n"_s);
        const TabReading reading = readTab(text);
        ASSERT_EQ(reading.staves.size(), 1u) << text.toStdString();
        EXPECT_EQ(reading.staves[0].openKeys, c.keys) << text.toStdString();
        EXPECT_EQ(reading.staves[0].instrument, c.instrument) << text.toStdString();
        // The fret adds semitones to the string's own pitch.
        EXPECT_EQ(reading.notes.back().key, c.keys.back() + 3) << text.toStdString();
    }
}

TEST(TabReading, WhatIsNoStaffIsSkippedAndStavesFollowOneAnother) {
    const QString bar = u"G  |-3-|\r\nD  |-3-|\r\nA  |-3-|\r\nE  |-3-|\r\n"_s;
    const QString text = u"My song | by me\r\n\r\n"_s + bar +
                         u"Lyrics go | here\r\n"
                         u"e|--0--|\r\nB|--1--|\r\nG|--0--|\r\n"  // three lines: no staff
                         u"\r\n"_s +
                         QString(u"x|-5-|\r\n"_s).repeated(8) +  // eight lines: no staff
                         u"\r\n  C    G\r\n"_s + u"e|-x\rB|-\rG|-\nD|-2\r\nA|--\r\nE|-\r\n"_s +
                         u"\r\n|||\r\n| unbalanced |\r\n\u00e9\u0663\r\n"_s;
    const TabReading reading = readTab(text);
    ASSERT_EQ(reading.staves.size(), 2u);
    EXPECT_EQ(reading.staves[1].start, reading.staves[0].length);
    EXPECT_EQ(reading.staves[1].length, 2 * C);
    EXPECT_EQ(heard(reading, text, 0).size(), 4u);
    EXPECT_EQ(heard(reading, text, 1),
              (std::vector<Heard>{{0, -1, 64, reading.staves[0].length + C, C},
                                  {3, 2, 52, reading.staves[0].length + C, C}}));
}

// Any text: notes point at their frets inside their staff's lines, sound for some time within
// their staff, and the bars of every line tile it.
TEST(TabReading, AnyTextGivesNotesWithinTheirStaves) {
    fretloom::testing::RandomText random(11);
    const std::array<QString, 14> pieces = {u"-"_s,     u"--"_s, u"|"_s,   u"0"_s,    u"12"_s,
                                            u"x"_s,     u"h"_s,  u" "_s,   u"\r\n"_s, u"\n"_s,
                                            u"e  |-"_s, u"-|"_s, u"999"_s, u"\r"_s};
    for (int round = 0; round < 300; ++round) {
        QString text;
        const int count = random.number(0, 200);
        for (int i = 0; i < count; ++i)
            text += random.chance(95) ? random.pick(pieces) : QString(random.unit());
        const TabReading reading = readTab(text);
        for (const TabNote& note : reading.notes) {
            const Staff& staff = reading.staves[note.staff];
            const TextSpan line = staff.lines[note.string];
            ASSERT_GE(note.source.start, line.start) << fretloom::testing::spelled(text);
            ASSERT_LE(note.source.start + note.source.length, line.start + line.length);
            ASSERT_GT(note.length, 0);
            ASSERT_GE(note.start, staff.start);
            ASSERT_LE(note.start + note.length, staff.start + staff.length);
            ASSERT_LE(note.key, 127);
        }
        for (const Staff& staff : reading.staves) {
            for (std::size_t s = 0; s < staff.lines.size() && !staff.bars.empty(); ++s) {
                qsizetype at = staff.lines[s].start;
                for (const StaffBar& bar : staff.bars) {
                    ASSERT_EQ(bar.spans[s].start, at) << fretloom::testing::spelled(text);
                    at += bar.spans[s].length;
                }
                ASSERT_EQ(at, staff.lines[s].start + staff.lines[s].length)
                    << fretloom::testing::spelled(text);
            }
        }
    }
}

}  // namespace
}  // namespace fretloom
