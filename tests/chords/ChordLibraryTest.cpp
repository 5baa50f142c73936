#include "chords/ChordLibrary.h"

#include "chords/ChordPicker.h"
#include "chords/ChordTestHelpers.h"
#include "chords/PrintQString.h"
#include "sheet/SingleLine.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using fretloom::testing::namesOf;
using fretloom::testing::shape;

// What one string of a movable shape plays.
struct StringRule {
    enum Kind { Fret, Muted, Empty } kind;
    int offset = 0;  // frets above the root, for Fret
};
constexpr StringRule at(int offset) {
    return {StringRule::Fret, offset};
}
constexpr StringRule kMuted{StringRule::Muted};
constexpr StringRule kEmpty{StringRule::Empty};

// A shape that moves up and down the neck: the same fingering with the root at fret r.
struct MovableShape {
    const char* what;
    ChordTable table;
    QString suffix;                              // "m" for minor chords
    std::vector<std::pair<QString, int>> roots;  // root name and its fret
    std::array<StringRule, kStringCount> rules;  // e B G D A E
};

std::vector<MovableShape> movableShapes() {
    const std::vector<std::pair<QString, int>> onBottomE = {
        {u"F#"_s, 2}, {u"G"_s, 3}, {u"Ab"_s, 4}, {u"A"_s, 5}, {u"Bb"_s, 6}, {u"B"_s, 7}};
    const std::vector<std::pair<QString, int>> onA = {{u"C"_s, 3},  {u"C#"_s, 4}, {u"D"_s, 5},
                                                      {u"Eb"_s, 6}, {u"E"_s, 7},  {u"F"_s, 8}};
    return {
        {"barre major on E",
         ChordTable::BarreMajor,
         {},
         onBottomE,
         {at(0), at(0), at(1), at(2), at(2), at(0)}},
        {"barre minor on E",
         ChordTable::BarreMinor,
         u"m"_s,
         onBottomE,
         {at(0), at(0), at(0), at(2), at(2), at(0)}},
        {"barre major on A",
         ChordTable::BarreMajor,
         {},
         onA,
         {at(0), at(2), at(2), at(2), at(0), kMuted}},
        {"barre minor on A",
         ChordTable::BarreMinor,
         u"m"_s,
         onA,
         {at(0), at(1), at(2), at(2), at(0), kMuted}},
        {"power on E",
         ChordTable::Power,
         {},
         {{u"F"_s, 1}, {u"F#"_s, 2}, {u"G"_s, 3}, {u"Ab"_s, 4}, {u"A"_s, 5}},
         {kEmpty, kEmpty, kMuted, at(2), at(2), at(0)}},
        {"power on A",
         ChordTable::Power,
         {},
         {{u"Bb"_s, 1},
          {u"B"_s, 2},
          {u"C"_s, 3},
          {u"C#"_s, 4},
          {u"D"_s, 5},
          {u"Eb"_s, 6},
          {u"E"_s, 7}},
         {kEmpty, kEmpty, at(2), at(2), at(0), kMuted}},
    };
}

ChordShape shapeFromRules(const std::array<StringRule, kStringCount>& rules, int rootFret) {
    ChordShape shape;
    for (int r = 0; r < kStringCount; ++r) {
        switch (rules[r].kind) {
        case StringRule::Fret:
            shape[r] = QString::number(rootFret + rules[r].offset);
            break;
        case StringRule::Muted:
            shape[r] = u"--"_s;
            break;
        case StringRule::Empty:
            break;
        }
    }
    return shape;
}

const QStringList kRootOrder = {u"A"_s,  u"Bb"_s, u"B"_s, u"C"_s,  u"C#"_s, u"D"_s,
                                u"Eb"_s, u"E"_s,  u"F"_s, u"F#"_s, u"G"_s,  u"Ab"_s};

TEST(ChordLibrary, BarreAndPowerShapesFollowTheMovableShapes) {
    QStringList covered[4];
    for (const MovableShape& movable : movableShapes()) {
        for (const auto& [root, fret] : movable.roots) {
            const QString name = root + movable.suffix;
            SCOPED_TRACE(std::string(movable.what) + " " + name.toStdString());
            const std::optional<ChordShape> found = findChord(movable.table, name);
            ASSERT_TRUE(found.has_value());
            EXPECT_EQ(*found, shapeFromRules(movable.rules, fret));
            covered[static_cast<int>(movable.table)] << name;
        }
    }
    // The shapes account for every entry of the three tables, and nothing else is in them.
    for (ChordTable table : {ChordTable::BarreMajor, ChordTable::BarreMinor, ChordTable::Power}) {
        QStringList expected = covered[static_cast<int>(table)];
        QStringList actual = namesOf(table);
        expected.sort();
        actual.sort();
        EXPECT_EQ(actual, expected);
    }
}

TEST(ChordLibrary, TablesKeepTheRootOrder) {
    EXPECT_EQ(namesOf(ChordTable::BarreMajor), kRootOrder);
    EXPECT_EQ(namesOf(ChordTable::Power), kRootOrder);
    QStringList minors;
    for (const QString& root : kRootOrder)
        minors << root + u"m"_s;
    EXPECT_EQ(namesOf(ChordTable::BarreMinor), minors);
}

TEST(ChordLibrary, EveryOpenChordHoldsItsSixValuesInOrder) {
    // Open shapes follow no movable rule, so each one is spelled out, top e string first.
    const std::vector<std::pair<QString, ChordShape>> expected = {
        {u"Bar line"_s, shape({u"|", u"|", u"|", u"|", u"|", u"|"})},
        {u"A"_s, shape({u"0", u"2", u"2", u"2", u"0", u"--"})},
        {u"Am"_s, shape({u"0", u"1", u"2", u"2", u"0", u"--"})},
        {u"A7"_s, shape({u"0", u"2", u"0", u"2", u"0", u"--"})},
        {u"A Major 7"_s, shape({u"0", u"2", u"1", u"2", u"0", u"--"})},
        {u"B7"_s, shape({u"2", u"0", u"2", u"1", u"2", u"--"})},
        // C plays the bottom E string at fret 3.
        {u"C"_s, shape({u"0", u"1", u"0", u"2", u"3", u"3"})},
        {u"C Major 7"_s, shape({u"0", u"0", u"0", u"2", u"3", u"--"})},
        // D and Dm ring the open A string, D7 and D Major 7 leave it out.
        {u"D"_s, shape({u"2", u"3", u"2", u"0", u"0", u"--"})},
        {u"Dm"_s, shape({u"1", u"3", u"2", u"0", u"0", u"--"})},
        {u"D7"_s, shape({u"2", u"1", u"2", u"0", u"--", u"--"})},
        {u"D Major 7"_s, shape({u"2", u"2", u"2", u"0", u"--", u"--"})},
        {u"E"_s, shape({u"0", u"0", u"1", u"2", u"2", u"0"})},
        {u"Em"_s, shape({u"0", u"0", u"0", u"2", u"2", u"0"})},
        {u"E7"_s, shape({u"0", u"0", u"1", u"0", u"2", u"0"})},
        {u"G"_s, shape({u"3", u"3", u"0", u"0", u"2", u"3"})},
    };
    QStringList names;
    for (const auto& [name, values] : expected) {
        SCOPED_TRACE(name.toStdString());
        names << name;
        EXPECT_EQ(findChord(ChordTable::Open, name), values);
    }
    EXPECT_EQ(namesOf(ChordTable::Open), names) << "sixteen entries, in this order";
}

TEST(ChordLibrary, EveryTextFitsACellAndIsAFretFillerBarMarkOrEmpty) {
    for (ChordTable table : kAllChordTables) {
        for (const ChordEntry& entry : chordTable(table)) {
            const QString name = QString::fromUtf16(entry.name);
            SCOPED_TRACE(name.toStdString());
            for (const char16_t* raw : entry.cells) {
                const QString text = QString::fromUtf16(raw);
                EXPECT_EQ(fitSingleLine(text, text.size(), kCellMaxLength).text, text)
                    << "a cell takes it whole";
                bool isNumber = false;
                const int fret = text.toInt(&isNumber);
                if (isNumber) {
                    EXPECT_EQ(QString::number(fret), text) << "no leading zero or sign";
                    EXPECT_GE(fret, 0);
                    EXPECT_LE(fret, 10);
                } else if (text == u"|"_s) {
                    EXPECT_EQ(name, u"Bar line"_s);
                } else if (!text.isEmpty()) {
                    EXPECT_EQ(text, u"--"_s);
                }
            }
        }
    }
}

TEST(ChordLibrary, AIsThreeDifferentChords) {
    const auto open = findChord(ChordTable::Open, u"A"_s);
    const auto barre = findChord(ChordTable::BarreMajor, u"A"_s);
    const auto power = findChord(ChordTable::Power, u"A"_s);
    EXPECT_EQ(open, shape({u"0", u"2", u"2", u"2", u"0", u"--"}));
    EXPECT_EQ(barre, shape({u"5", u"5", u"6", u"7", u"7", u"5"}));
    EXPECT_EQ(power, shape({u"", u"", u"--", u"7", u"7", u"5"}));
    EXPECT_FALSE(findChord(ChordTable::BarreMinor, u"A"_s));
}

TEST(ChordLibrary, AmAndDmAreOpenAndBarreChords) {
    EXPECT_EQ(findChord(ChordTable::Open, u"Am"_s), shape({u"0", u"1", u"2", u"2", u"0", u"--"}));
    EXPECT_EQ(findChord(ChordTable::BarreMinor, u"Am"_s),
              shape({u"5", u"5", u"5", u"7", u"7", u"5"}));
    EXPECT_EQ(findChord(ChordTable::Open, u"Dm"_s), shape({u"1", u"3", u"2", u"0", u"0", u"--"}));
    EXPECT_EQ(findChord(ChordTable::BarreMinor, u"Dm"_s),
              shape({u"5", u"6", u"7", u"7", u"5", u"--"}));
    // One name, one shape per style: Em differs between the open and the barre table.
    EXPECT_EQ(findChord(ChordTable::Open, u"Em"_s), shape({u"0", u"0", u"0", u"2", u"2", u"0"}));
    EXPECT_EQ(findChord(ChordTable::BarreMinor, u"Em"_s),
              shape({u"7", u"8", u"9", u"9", u"7", u"--"}));
}

TEST(ChordLibrary, SomeShapesAreReachedOnlyByTyping) {
    // The tables hold them, the picker's lists leave them out.
    EXPECT_EQ(findChord(ChordTable::BarreMajor, u"E"_s),
              shape({u"7", u"9", u"9", u"9", u"7", u"--"}));
    EXPECT_EQ(findChord(ChordTable::BarreMinor, u"Em"_s),
              shape({u"7", u"8", u"9", u"9", u"7", u"--"}));
    EXPECT_EQ(findChord(ChordTable::Power, u"E"_s), shape({u"", u"", u"9", u"9", u"7", u"--"}));
    EXPECT_FALSE(chordBoxEntries(ChordStyle::Barre).contains(u"E"_s));
    EXPECT_FALSE(chordBoxEntries(ChordStyle::Barre).contains(u"Em"_s));
    EXPECT_FALSE(chordBoxEntries(ChordStyle::Power).contains(u"E"_s));
}

TEST(ChordLibrary, NamesMatchExactlyOrNotAtAll) {
    const QStringList misses = {u"am"_s,       u"A "_s,        u" A"_s, u"A major 7"_s, u"a"_s,
                                u"bar line"_s, u"Bar line "_s, u""_s,   u"Am7"_s,       u"AM"_s};
    for (ChordTable table : kAllChordTables)
        for (const QString& name : misses)
            EXPECT_FALSE(findChord(table, name)) << name.toStdString();
}

TEST(ChordLibrary, BarLineIsOnlyAnOpenEntry) {
    EXPECT_EQ(findChord(ChordTable::Open, u"Bar line"_s),
              shape({u"|", u"|", u"|", u"|", u"|", u"|"}));
    EXPECT_FALSE(findChord(ChordTable::BarreMajor, u"Bar line"_s));
    EXPECT_FALSE(findChord(ChordTable::BarreMinor, u"Bar line"_s));
    EXPECT_FALSE(findChord(ChordTable::Power, u"Bar line"_s));
}

TEST(ChordLibrary, BarreFIsTheOnlyShapeWithTwoDigitFrets) {
    EXPECT_EQ(findChord(ChordTable::BarreMajor, u"F"_s),
              shape({u"8", u"10", u"10", u"10", u"8", u"--"}));
    EXPECT_EQ(findChord(ChordTable::Power, u"F"_s), shape({u"", u"", u"--", u"3", u"3", u"1"}));
    QStringList withTwoDigits;
    for (ChordTable table : kAllChordTables)
        for (const ChordEntry& entry : chordTable(table))
            for (const char16_t* raw : entry.cells) {
                const QString text = QString::fromUtf16(raw);
                if (text.size() == 2 && text[0].isDigit()) {
                    withTwoDigits << QString::fromUtf16(entry.name);
                    break;
                }
            }
    // Fm, its minor twin, carries them too.
    EXPECT_EQ(withTwoDigits, (QStringList{u"F"_s, u"Fm"_s}));
}

}  // namespace
}  // namespace fretloom
