#pragma once

#include "sheet/Grid.h"

#include <QString>
#include <array>
#include <optional>
#include <span>

namespace fretloom {

// Six cell texts, top e string first, in the order of the grid's rows.
using ChordShape = std::array<QString, kStringCount>;

// One named shape of a table. The texts are fret numbers, the filler "--" for a string that
// is not played, the bar mark "|", or empty for a string the chord leaves alone.
struct ChordEntry {
    const char16_t* name;
    std::array<const char16_t*, kStringCount> cells;
};

// The bar mark that "Bar line" puts on every string.
inline constexpr char16_t kBarMark[] = u"|";

// Each chord style has its own table, so one name can mean different shapes in different
// tables: "A" is three different chords.
enum class ChordTable { Open, BarreMajor, BarreMinor, Power };

inline constexpr std::array<ChordTable, 4> kAllChordTables = {
    ChordTable::Open, ChordTable::BarreMajor, ChordTable::BarreMinor, ChordTable::Power};

// The entries of a table in their fixed order.
std::span<const ChordEntry> chordTable(ChordTable table);

// The shape stored under exactly `name` (case-sensitive, blanks count), or nothing.
std::optional<ChordShape> findChord(ChordTable table, const QString& name);

}  // namespace fretloom
