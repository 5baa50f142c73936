#pragma once

#include <QStringView>
#include <optional>
#include <vector>

namespace fretloom {

// The pitch class (0 for C .. 11 for B) of a string name: a letter from A to G in either case,
// then `#` or `b`; spaces around it do not count. Nothing for anything else.
std::optional<int> pitchClass(QStringView name);

// The MIDI keys of the open strings of a staff of 4 to 7 lines, top to bottom, from the pitch
// class of each line where it has one: each in the octave nearest the standard tuning of its
// line, which a line without a pitch class keeps.
std::vector<int> openKeysOf(const std::vector<std::optional<int>>& pitchClasses);
// Five lines with B at the bottom are a five-string bass.
bool isFiveStringBass(const std::vector<std::optional<int>>& pitchClasses);

// What a tuning line names: the strings' notes, or a change to the standard tuning.
struct Tuning {
    std::vector<int> notes;     // pitch classes, lowest string first; empty for a change
    int shift = 0;              // semitones every string moves from standard
    std::optional<int> lowest;  // a drop tuning's lowest string
    bool operator==(const Tuning&) const = default;
};

// The tuning a line names: "Tuning: D A D G B E", "Tuning: Drop D", "DADGAD",
// "Tuning: Eb Ab Db Gb Bb Eb", "Tuning: half step down"... Nothing when the line is no tuning.
std::optional<Tuning> tuningOf(QStringView line);

// The pitch class of each line of a staff of `lines` lines in `tuning`, top line first; nothing
// when the tuning names another number of strings.
std::optional<std::vector<int>> tunedPitchClasses(const Tuning& tuning, int lines);

}  // namespace fretloom
