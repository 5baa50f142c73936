#include "chords/ChordLibrary.h"

#include "sheet/Bar.h"

namespace fretloom {

namespace {

// Short names keep each table row on one line, laid out like the shapes it lists.
constexpr const char16_t* x = kFiller;  // string not played
constexpr const char16_t* o = u"";      // string left empty
constexpr const char16_t* l = kBarMark;

// clang-format off
constexpr ChordEntry kOpen[] = {
    //                e      B      G      D      A      E
    {u"Bar line",  {l,     l,     l,     l,     l,     l    }},
    {u"A",         {u"0",  u"2",  u"2",  u"2",  u"0",  x    }},
    {u"Am",        {u"0",  u"1",  u"2",  u"2",  u"0",  x    }},
    {u"A7",        {u"0",  u"2",  u"0",  u"2",  u"0",  x    }},
    {u"A Major 7", {u"0",  u"2",  u"1",  u"2",  u"0",  x    }},
    {u"B7",        {u"2",  u"0",  u"2",  u"1",  u"2",  x    }},
    {u"C",         {u"0",  u"1",  u"0",  u"2",  u"3",  u"3" }},
    {u"C Major 7", {u"0",  u"0",  u"0",  u"2",  u"3",  x    }},
    {u"D",         {u"2",  u"3",  u"2",  u"0",  u"0",  x    }},
    {u"Dm",        {u"1",  u"3",  u"2",  u"0",  u"0",  x    }},
    {u"D7",        {u"2",  u"1",  u"2",  u"0",  x,     x    }},
    {u"D Major 7", {u"2",  u"2",  u"2",  u"0",  x,     x    }},
    {u"E",         {u"0",  u"0",  u"1",  u"2",  u"2",  u"0" }},
    {u"Em",        {u"0",  u"0",  u"0",  u"2",  u"2",  u"0" }},
    {u"E7",        {u"0",  u"0",  u"1",  u"0",  u"2",  u"0" }},
    {u"G",         {u"3",  u"3",  u"0",  u"0",  u"2",  u"3" }},
};

constexpr ChordEntry kBarreMajor[] = {
    //         e      B      G      D      A      E
    {u"A",  {u"5",  u"5",  u"6",  u"7",  u"7",  u"5" }},
    {u"Bb", {u"6",  u"6",  u"7",  u"8",  u"8",  u"6" }},
    {u"B",  {u"7",  u"7",  u"8",  u"9",  u"9",  u"7" }},
    {u"C",  {u"3",  u"5",  u"5",  u"5",  u"3",  x    }},
    {u"C#", {u"4",  u"6",  u"6",  u"6",  u"4",  x    }},
    {u"D",  {u"5",  u"7",  u"7",  u"7",  u"5",  x    }},
    {u"Eb", {u"6",  u"8",  u"8",  u"8",  u"6",  x    }},
    {u"E",  {u"7",  u"9",  u"9",  u"9",  u"7",  x    }},
    {u"F",  {u"8",  u"10", u"10", u"10", u"8",  x    }},
    {u"F#", {u"2",  u"2",  u"3",  u"4",  u"4",  u"2" }},
    {u"G",  {u"3",  u"3",  u"4",  u"5",  u"5",  u"3" }},
    {u"Ab", {u"4",  u"4",  u"5",  u"6",  u"6",  u"4" }},
};

constexpr ChordEntry kBarreMinor[] = {
    //          e      B      G      D      A      E
    {u"Am",  {u"5",  u"5",  u"5",  u"7",  u"7",  u"5" }},
    {u"Bbm", {u"6",  u"6",  u"6",  u"8",  u"8",  u"6" }},
    {u"Bm",  {u"7",  u"7",  u"7",  u"9",  u"9",  u"7" }},
    {u"Cm",  {u"3",  u"4",  u"5",  u"5",  u"3",  x    }},
    {u"C#m", {u"4",  u"5",  u"6",  u"6",  u"4",  x    }},
    {u"Dm",  {u"5",  u"6",  u"7",  u"7",  u"5",  x    }},
    {u"Ebm", {u"6",  u"7",  u"8",  u"8",  u"6",  x    }},
    {u"Em",  {u"7",  u"8",  u"9",  u"9",  u"7",  x    }},
    {u"Fm",  {u"8",  u"9",  u"10", u"10", u"8",  x    }},
    {u"F#m", {u"2",  u"2",  u"2",  u"4",  u"4",  u"2" }},
    {u"Gm",  {u"3",  u"3",  u"3",  u"5",  u"5",  u"3" }},
    {u"Abm", {u"4",  u"4",  u"4",  u"6",  u"6",  u"4" }},
};

// Power chords leave the two top strings empty.
constexpr ChordEntry kPower[] = {
    //       e   B     G      D      A      E
    {u"A",  {o,  o,  x,     u"7",  u"7",  u"5" }},
    {u"Bb", {o,  o,  u"3",  u"3",  u"1",  x    }},
    {u"B",  {o,  o,  u"4",  u"4",  u"2",  x    }},
    {u"C",  {o,  o,  u"5",  u"5",  u"3",  x    }},
    {u"C#", {o,  o,  u"6",  u"6",  u"4",  x    }},
    {u"D",  {o,  o,  u"7",  u"7",  u"5",  x    }},
    {u"Eb", {o,  o,  u"8",  u"8",  u"6",  x    }},
    {u"E",  {o,  o,  u"9",  u"9",  u"7",  x    }},
    {u"F",  {o,  o,  x,     u"3",  u"3",  u"1" }},
    {u"F#", {o,  o,  x,     u"4",  u"4",  u"2" }},
    {u"G",  {o,  o,  x,     u"5",  u"5",  u"3" }},
    {u"Ab", {o,  o,  x,     u"6",  u"6",  u"4" }},
};
// clang-format on

}  // namespace

std::span<const ChordEntry> chordTable(ChordTable table) {
    switch (table) {
    case ChordTable::Open:
        return kOpen;
    case ChordTable::BarreMajor:
        return kBarreMajor;
    case ChordTable::BarreMinor:
        return kBarreMinor;
    case ChordTable::Power:
        return kPower;
    }
    return {};
}

std::optional<ChordShape> findChord(ChordTable table, const QString& name) {
    for (const ChordEntry& entry : chordTable(table)) {
        if (QStringView(entry.name) != name)
            continue;
        ChordShape shape;
        for (int r = 0; r < kStringCount; ++r)
            shape[r] = QString::fromUtf16(entry.cells[r]);
        return shape;
    }
    return std::nullopt;
}

}  // namespace fretloom
