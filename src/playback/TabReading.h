#pragma once

#include "playback/Performance.h"
#include "sheet/Grid.h"

#include <QStringView>
#include <array>
#include <vector>

namespace fretloom {

// Time is counted in MIDI ticks. A sixteenth divides into three so that a character of a
// hand-typed staff, a third of a sixteenth, is a whole number of ticks.
inline constexpr int kTicksPerQuarter = 480;
inline constexpr int kTicksPerSixteenth = kTicksPerQuarter / 4;
inline constexpr int kTicksPerCharacter = kTicksPerSixteenth / 3;

enum class StaffInstrument { Guitar, Bass };

// Where a stretch of a staff between two bar lines starts, and its text on every line.
struct StaffBar {
    qint64 start = 0;
    std::vector<TextSpan> spans;  // one per line, top to bottom; the bars of a line tile it
};

// Where the sixteen cells of a line that Enter wrote lie: from `start` one after another with
// one dash between two, cell k two characters wide where bit k of `twoWide` is set, else one.
struct CellLine {
    qsizetype start = 0;
    quint16 twoWide = 0;
    TextSpan cell(int k) const;  // k from 0 to 15
    std::array<TextSpan, kColumnCount> allCells() const;
    bool operator==(const CellLine&) const = default;
};

// Times are as written: a stretch that is repeated counts once here (see TabReading::repeats).
struct Staff {
    std::vector<TextSpan> lines;   // each line without its line end, top to bottom
    std::vector<TextSpan> names;   // each line's string name; empty, at the line's start, if none
    std::vector<TextSpan> bodies;  // each line's music, without its name and remark
    std::vector<int> openKeys;     // the MIDI key of each open string, top to bottom, no capo
    int capo = 0;                  // the fret of the capo, which every string sounds above
    StaffInstrument instrument = StaffInstrument::Guitar;
    bool byCells = false;         // a block as Enter writes it, read cell by cell
    std::vector<CellLine> cells;  // then the cells of each line
    qint64 start = 0;
    qint64 length = 0;
    std::vector<StaffBar> bars;
};

struct TabNote {
    int staff = 0;   // index into TabReading::staves
    int string = 0;  // line of the staff, from the top
    int fret = 0;    // 0 for a muted note
    bool muted = false;
    int key = 0;       // MIDI key that sounds: the open string, the capo and the fret
    qint64 start = 0;  // ticks from the start of the tab
    qint64 length = 0;
    TextSpan source;  // the fret's digits, or the x
    bool operator==(const TabNote&) const = default;
};

// The stretch of the tab from `from` to `to` is played `times` times in all, one pass after
// the other.
struct Repeat {
    qint64 from = 0;
    qint64 to = 0;
    int times = 2;
    bool operator==(const Repeat&) const = default;
};

struct TabReading {
    std::vector<Staff> staves;
    std::vector<TabNote> notes;   // staff by staff; within a staff by string, then by time
    std::vector<Repeat> repeats;  // by `from`, the longer first; any two nest or lie apart
};

// Finds the staves of a tab text and the notes on them. Anything that is no staff is skipped.
TabReading readTab(QStringView text);

// A stretch of the written tab; played one after another they are the tab as it is heard.
struct PlayedStretch {
    qint64 from = 0;
    qint64 to = 0;
    bool operator==(const PlayedStretch&) const = default;
};
// The tab as it is heard, each repeat written out. No bar is played more than kMaxPasses times.
inline constexpr int kMaxPasses = 99;
std::vector<PlayedStretch> playingOrder(const TabReading& reading);

// The MIDI keys of the open strings of a staff whose lines carry `names`, top to bottom (4 to
// 7 of them): each name's pitch class in the octave nearest the standard tuning of its line.
std::vector<int> openStringKeys(const std::vector<QStringView>& names);
// Guitar, unless the staff has four lines, or five with B at the bottom.
StaffInstrument instrumentOf(const std::vector<QStringView>& names);

}  // namespace fretloom
