#include "playback/TabReading.h"

#include "instruments/InstrumentMode.h"
#include "sheet/Bar.h"
#include "support/RandomText.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;

// What a test says of a note: string, fret (-1 for a muted one), key, start and length in ticks
// (480 to a quarter: 120 to a sixteenth, the time of a cell; 40 to a character of a hand-typed
// line).
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

// The notes of one staff, each checked to point at its own fret (or x or X) in the text.
std::vector<Heard> heard(const TabReading& reading, QStringView text, int staff) {
    std::vector<Heard> result;
    for (const TabNote& note : reading.notes) {
        if (note.staff != staff)
            continue;
        const QString source = text.sliced(note.source.start, note.source.length).toString();
        EXPECT_EQ(note.muted ? source.toLower() : source,
                  note.muted ? u"x"_s : QString::number(note.fret));
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

QString enter(Grid grid, const QString& mode = QString::fromUtf16(kGuitarModeCaption),
              const RowCaptions& captions = standardCaptions()) {
    return commitBar(grid, captions, mode);
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
    EXPECT_EQ(staff.length, 1800);
    EXPECT_EQ(heard(reading, text, 0), (std::vector<Heard>{{0, 0, 64, 0, 120},
                                                           {0, 12, 76, 120, 1680},
                                                           {1, 1, 60, 0, 1800},
                                                           {2, 0, 55, 0, 240},
                                                           {2, 5, 60, 240, 1560},
                                                           {3, 2, 52, 0, 1800},
                                                           {4, 3, 48, 0, 1800},
                                                           {5, 3, 43, 0, 1800}}));
    EXPECT_EQ(reading.notes[1].source, (TextSpan{7 + 9, 2}));

    // Two bars: up to and with the bar line, then the rest of each line.
    ASSERT_EQ(staff.bars.size(), 2u);
    EXPECT_EQ(staff.bars[0].start, 0);
    EXPECT_EQ(staff.bars[1].start, 120);
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
    EXPECT_EQ(reading.staves[0].length, 1800);
    EXPECT_EQ(heard(reading, text, 0), (std::vector<Heard>{{0, 10, 74, 0, 1680},
                                                           {0, 3, 67, 1680, 120},
                                                           {1, 5, 64, 0, 1800},
                                                           {2, -1, 55, 120, 60},
                                                           {3, 7, 57, 240, 120},
                                                           {3, 9, 59, 360, 720},
                                                           {3, 2, 52, 1080, 720},
                                                           {4, 12, 57, 480, 120},
                                                           {4, 3, 48, 600, 1200}}));
    EXPECT_EQ(reading.staves[0].bars.size(), 2u);
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
    EXPECT_EQ(reading.staves[0].length, 880);
    EXPECT_EQ(heard(reading, text, 0), (std::vector<Heard>{{0, 0, 64, 280, 600},
                                                           {1, 1, 60, 200, 360},
                                                           {1, 1, 60, 560, 80},
                                                           {1, 3, 62, 640, 240},
                                                           {2, 2, 57, 120, 440},
                                                           {2, 5, 60, 560, 80},
                                                           {2, 7, 62, 640, 80},
                                                           {2, 2, 57, 720, 160},
                                                           {4, 0, 45, 40, 240},
                                                           {4, -1, 45, 280, 60},
                                                           {4, 10, 55, 480, 400}}));
    ASSERT_EQ(reading.staves[0].bars.size(), 2u);
    EXPECT_EQ(reading.staves[0].bars[1].start, 440);
    const TextSpan secondOnTop = reading.staves[0].bars[1].spans[0];
    EXPECT_EQ(text.sliced(secondOnTop.start, secondOnTop.length), u"-----------|"_s);
}

TEST(TabReading, RenamedStringsDashedCellsAndBothMutesAreRead) {
    struct Case {
        const char* what;
        QString text;
        bool byCells;
        std::vector<Heard> notes;
    };
    // Tuned down a half step, Enter writes "Eb  |-..."; two-character names still read by cells.
    const RowCaptions flat = {u"Eb"_s, u"Bb"_s, u"Gb"_s, u"Db"_s, u"Ab"_s, u"Eb"_s};
    const Grid retuned = gridOf({{Row::f, 2, u"3"_s}, {Row::g, 16, u"0"_s}});
    // Sixteen two-character cells, one with a dash in it.
    const Grid dashed = gridOf({{Row::e, 5, u"-3"_s}, {Row::f, 1, u"10"_s}});
    const Case cases[] = {
        {"guitar, renamed",
         enter(retuned, QString::fromUtf16(kGuitarModeCaption), flat),
         true,
         {{2, 0, 54, 1800, 120}, {5, 3, 42, 120, 1800}}},
        {"bass, renamed",
         enter(retuned, QString::fromUtf16(kBassModeCaption), flat),
         true,
         {{0, 0, 42, 1800, 120}, {3, 3, 30, 120, 1800}}},
        {"five strings, renamed",
         enter(retuned, QString::fromUtf16(kFiveStringModeCaption), flat),
         true,
         {{1, 0, 54, 1800, 120}, {4, 3, 42, 120, 1800}}},
        // Two characters that take more code units: an emoji, and E with an accent and a flat.
        {"names of wide characters",
         enter(retuned, QString::fromUtf16(kGuitarModeCaption),
               {u"\U0001F3B8"_s, u"B"_s, u"G"_s, u"D"_s, u"A"_s, u"E\u0301b"_s}),
         true,
         {{2, 0, 55, 1800, 120}, {5, 3, 43, 120, 1800}}},
        {"a cell -3", enter(dashed), true, {{0, 3, 67, 480, 1440}, {5, 10, 50, 0, 1920}}},
        {"x and X",
         u"G|x-X-\r\nD|----\r\nA|----\r\nE|----\r\n"_s,
         false,
         {{0, -1, 43, 0, 60}, {0, -1, 43, 80, 60}}},
    };
    for (const Case& c : cases) {
        const TabReading reading = readTab(c.text);
        ASSERT_EQ(reading.staves.size(), 1u) << c.what;
        EXPECT_EQ(reading.staves[0].byCells, c.byCells) << c.what;
        EXPECT_EQ(heard(reading, c.text, 0), c.notes) << c.what;
    }
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
    // Three characters, the bar line across the staff taking no time; then two.
    EXPECT_EQ(reading.staves[1].start, 120);
    EXPECT_EQ(reading.staves[1].length, 80);
    EXPECT_EQ(heard(reading, text, 0).size(), 4u);
    EXPECT_EQ(heard(reading, text, 1),
              (std::vector<Heard>{{0, -1, 64, 160, 40}, {3, 2, 52, 160, 40}}));
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
