#pragma once

#include <QByteArray>
#include <QStringView>
#include <QtGlobal>
#include <vector>

namespace fretloom {

inline constexpr int kDefaultBeatsPerMinute = 100;
inline constexpr int kMinBeatsPerMinute = 30;
inline constexpr int kMaxBeatsPerMinute = 300;

// A stretch of the tab text, in UTF-16 offsets into the text the performance was made from.
struct TextSpan {
    qsizetype start = 0;
    qsizetype length = 0;
    bool operator==(const TextSpan&) const = default;
};

// From `tick` on, the bar at `spans` is what is heard (one span per staff line it covers).
struct Cue {
    qint64 tick = 0;
    std::vector<TextSpan> spans;
};

struct Performance {
    QByteArray midiFile;  // a complete Standard MIDI File: the bytes Export writes, Play plays
    int ticksPerQuarter = 0;
    qint64 endTick = 0;     // when the last note has ended
    std::vector<Cue> cues;  // in tick order
    bool hasNotes = false;
};

// Export MIDI: the whole tab.
Performance performTab(QStringView tabText, int beatsPerMinute);
// Play Tab: from the staff that holds `caret`, or the next staff after it, to the end; from the
// first staff when none follows.
Performance performTabFrom(QStringView tabText, qsizetype caret, int beatsPerMinute);

}  // namespace fretloom
