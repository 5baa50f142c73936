#include "playback/Performance.h"

#include "playback/TabReading.h"

#include <algorithm>
#include <tuple>

namespace fretloom {

namespace {

// General MIDI programs (counted from 0) and the channel each instrument plays on.
constexpr int kSteelStringGuitar = 25;
constexpr int kFingerBass = 33;
constexpr int kGuitarChannel = 0;
constexpr int kBassChannel = 1;
constexpr int kVelocity = 96;
constexpr int kMutedVelocity = 64;

struct MidiNote {
    qint64 start = 0;
    qint64 end = 0;
    int channel = 0;
    int key = 0;
    int velocity = 0;
};

struct MidiEvent {
    qint64 tick = 0;
    bool on = false;
    int channel = 0;
    int key = 0;
    int velocity = 0;
};

void appendVariableLength(QByteArray& bytes, quint64 value) {
    char buffer[10];
    int count = 0;
    buffer[count++] = static_cast<char>(value & 0x7F);
    while (value >>= 7)
        buffer[count++] = static_cast<char>(0x80 | (value & 0x7F));
    while (count > 0)
        bytes.append(buffer[--count]);
}

void appendBigEndian(QByteArray& bytes, quint32 value, int size) {
    for (int shift = 8 * (size - 1); shift >= 0; shift -= 8)
        bytes.append(static_cast<char>((value >> shift) & 0xFF));
}

// One key of one channel sounds once at a time: a note that starts while the same key still
// sounds ends the earlier one, and two that start together are one.
void separateEqualKeys(std::vector<MidiNote>& notes) {
    std::sort(notes.begin(), notes.end(), [](const MidiNote& a, const MidiNote& b) {
        return std::tie(a.channel, a.key, a.start) < std::tie(b.channel, b.key, b.start);
    });
    std::vector<MidiNote> kept;
    kept.reserve(notes.size());
    for (const MidiNote& note : notes) {
        if (!kept.empty() && kept.back().channel == note.channel && kept.back().key == note.key &&
            note.start < kept.back().end) {
            MidiNote& earlier = kept.back();
            if (earlier.start == note.start) {
                earlier.end = std::max(earlier.end, note.end);
                earlier.velocity = std::max(earlier.velocity, note.velocity);
                continue;
            }
            earlier.end = note.start;
        }
        kept.push_back(note);
    }
    notes = std::move(kept);
}

// A Standard MIDI File of format 0: the tempo, the programs of the channels in use, the notes.
QByteArray midiFile(std::vector<MidiNote> notes, int beatsPerMinute, bool guitar, bool bass) {
    separateEqualKeys(notes);
    std::vector<MidiEvent> events;
    events.reserve(2 * notes.size());
    for (const MidiNote& note : notes) {
        events.push_back({note.start, true, note.channel, note.key, note.velocity});
        events.push_back({note.end, false, note.channel, note.key, 0});
    }
    // At one tick, what ends goes before what starts.
    std::sort(events.begin(), events.end(), [](const MidiEvent& a, const MidiEvent& b) {
        return std::tie(a.tick, a.on, a.channel, a.key) < std::tie(b.tick, b.on, b.channel, b.key);
    });

    QByteArray track;
    track.reserve(static_cast<qsizetype>(events.size()) * 4 + 32);
    const quint32 microsecondsPerQuarter = 60'000'000u / static_cast<quint32>(beatsPerMinute);
    track.append("\x00\xFF\x51\x03", 4);
    appendBigEndian(track, microsecondsPerQuarter, 3);
    const auto program = [&track](int channel, int number) {
        track.append('\0');
        track.append(static_cast<char>(0xC0 | channel));
        track.append(static_cast<char>(number));
    };
    if (guitar)
        program(kGuitarChannel, kSteelStringGuitar);
    if (bass)
        program(kBassChannel, kFingerBass);
    qint64 now = 0;
    for (const MidiEvent& event : events) {
        appendVariableLength(track, static_cast<quint64>(event.tick - now));
        now = event.tick;
        track.append(static_cast<char>((event.on ? 0x90 : 0x80) | event.channel));
        track.append(static_cast<char>(event.key));
        track.append(static_cast<char>(event.velocity));
    }
    track.append("\x00\xFF\x2F\x00", 4);

    QByteArray file;
    file.reserve(track.size() + 22);
    file.append("MThd", 4);
    appendBigEndian(file, 6, 4);
    appendBigEndian(file, 0, 2);  // format 0: one track
    appendBigEndian(file, 1, 2);
    appendBigEndian(file, kTicksPerQuarter, 2);
    file.append("MTrk", 4);
    appendBigEndian(file, static_cast<quint32>(track.size()), 4);
    file.append(track);
    return file;
}

// The staves from `first` on, played from tick 0.
Performance perform(const TabReading& reading, std::size_t first, int beatsPerMinute) {
    Performance performance;
    performance.ticksPerQuarter = kTicksPerQuarter;
    const qint64 origin = first < reading.staves.size() ? reading.staves[first].start : 0;
    std::vector<MidiNote> notes;
    bool guitar = false;
    bool bass = false;
    for (const TabNote& note : reading.notes) {
        if (static_cast<std::size_t>(note.staff) < first)
            continue;
        const bool onBass = reading.staves[note.staff].instrument == StaffInstrument::Bass;
        (onBass ? bass : guitar) = true;
        MidiNote midi{note.start - origin, note.start - origin + note.length,
                      onBass ? kBassChannel : kGuitarChannel, note.key,
                      note.muted ? kMutedVelocity : kVelocity};
        performance.endTick = std::max(performance.endTick, midi.end);
        notes.push_back(midi);
    }
    performance.hasNotes = !notes.empty();
    for (std::size_t s = first; s < reading.staves.size(); ++s)
        for (const StaffBar& bar : reading.staves[s].bars)
            performance.cues.push_back({bar.start - origin, bar.spans});
    const int tempo = std::clamp(beatsPerMinute, kMinBeatsPerMinute, kMaxBeatsPerMinute);
    performance.midiFile = midiFile(std::move(notes), tempo, guitar, bass);
    return performance;
}

}  // namespace

Performance performTab(QStringView tabText, int beatsPerMinute) {
    return perform(readTab(tabText), 0, beatsPerMinute);
}

Performance performTabFrom(QStringView tabText, qsizetype caret, int beatsPerMinute) {
    const TabReading reading = readTab(tabText);
    std::size_t first = 0;
    for (std::size_t s = 0; s < reading.staves.size(); ++s) {
        const TextSpan& last = reading.staves[s].lines.back();
        if (caret <= last.start + last.length) {
            first = s;
            break;
        }
    }
    return perform(reading, first, beatsPerMinute);
}

}  // namespace fretloom
