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
    std::size_t kept = 0;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const MidiNote& note = notes[i];
        if (kept > 0) {
            MidiNote& earlier = notes[kept - 1];
            if (earlier.channel == note.channel && earlier.key == note.key &&
                note.start < earlier.end) {
                if (earlier.start == note.start) {
                    earlier.end = std::max(earlier.end, note.end);
                    earlier.velocity = std::max(earlier.velocity, note.velocity);
                    continue;
                }
                earlier.end = note.start;
            }
        }
        notes[kept++] = note;
    }
    notes.resize(kept);
}

// The one track of a Standard MIDI File of format 0: the tempo, the programs, then the notes,
// staff by staff as they are heard. A note ends with its staff and its pass, so the notes of one
// staff's pass never meet those of another and each pass's few are put in order on their own.
class Track {
public:
    Track(int beatsPerMinute, bool guitar, bool bass) {
        const quint32 microsecondsPerQuarter = 60'000'000u / static_cast<quint32>(beatsPerMinute);
        const char tempo[] = {0,
                              char(0xFF),
                              0x51,
                              0x03,
                              char(microsecondsPerQuarter >> 16),
                              char((microsecondsPerQuarter >> 8) & 0xFF),
                              char(microsecondsPerQuarter & 0xFF)};
        bytes_.append(tempo, sizeof tempo);
        if (guitar)
            program(kGuitarChannel, kSteelStringGuitar);
        if (bass)
            program(kBassChannel, kFingerBass);
    }

    void addStaff(std::vector<MidiNote>& notes) {
        separateEqualKeys(notes);
        events_.clear();
        for (const MidiNote& note : notes) {
            events_.push_back({note.start, true, note.channel, note.key, note.velocity});
            events_.push_back({note.end, false, note.channel, note.key, 0});
        }
        // At one tick, what ends goes before what starts.
        std::sort(events_.begin(), events_.end(), [](const MidiEvent& a, const MidiEvent& b) {
            return std::tie(a.tick, a.on, a.channel, a.key) <
                   std::tie(b.tick, b.on, b.channel, b.key);
        });
        // At most five bytes of time and three of event each.
        const qsizetype used = bytes_.size();
        bytes_.resize(used + 8 * static_cast<qsizetype>(events_.size()));
        char* out = bytes_.data() + used;
        for (const MidiEvent& event : events_) {
            out = writeVariableLength(out, static_cast<quint64>(event.tick - now_));
            now_ = event.tick;
            *out++ = static_cast<char>((event.on ? 0x90 : 0x80) | event.channel);
            *out++ = static_cast<char>(event.key);
            *out++ = static_cast<char>(event.velocity);
        }
        bytes_.resize(out - bytes_.data());
    }

    QByteArray file() {
        bytes_.append("\x00\xFF\x2F\x00", 4);
        QByteArray file;
        file.reserve(bytes_.size() + 22);
        file.append("MThd", 4);
        appendBigEndian(file, 6, 4);
        appendBigEndian(file, 0, 2);  // format 0: one track
        appendBigEndian(file, 1, 2);
        appendBigEndian(file, kTicksPerQuarter, 2);
        file.append("MTrk", 4);
        appendBigEndian(file, static_cast<quint32>(bytes_.size()), 4);
        file.append(bytes_);
        return file;
    }

private:
    void program(int channel, int number) {
        const char change[] = {0, static_cast<char>(0xC0 | channel), static_cast<char>(number)};
        bytes_.append(change, sizeof change);
    }

    static char* writeVariableLength(char* out, quint64 value) {
        char buffer[10];
        int count = 0;
        buffer[count++] = static_cast<char>(value & 0x7F);
        while (value >>= 7)
            buffer[count++] = static_cast<char>(0x80 | (value & 0x7F));
        while (count > 0)
            *out++ = buffer[--count];
        return out;
    }

    QByteArray bytes_;
    std::vector<MidiEvent> events_;
    qint64 now_ = 0;
};

// One staff's part of a stretch of the tab as it is heard: [from, to) of the written tab,
// heard from `at` on.
struct Chunk {
    std::size_t staff = 0;
    qint64 from = 0;
    qint64 to = 0;
    qint64 at = 0;
};

// The tab as it is heard from `origin` on, repeats written out, staff by staff: from the first
// pass that reaches `origin`, so that a start within a repeat still goes back at its end.
std::vector<Chunk> chunksFrom(const TabReading& reading, qint64 origin) {
    const std::vector<PlayedStretch> order = playingOrder(reading);
    auto stretch = std::find_if(order.begin(), order.end(),
                                [origin](const PlayedStretch& s) { return s.to > origin; });
    std::vector<Chunk> chunks;
    qint64 at = 0;
    for (bool firstStretch = true; stretch != order.end(); ++stretch, firstStretch = false) {
        const qint64 from = firstStretch ? std::max(stretch->from, origin) : stretch->from;
        auto staff = std::partition_point(
            reading.staves.begin(), reading.staves.end(),
            [from](const Staff& staff) { return staff.start + staff.length <= from; });
        for (; staff != reading.staves.end() && staff->start < stretch->to; ++staff) {
            const qint64 chunkFrom = std::max(from, staff->start);
            const qint64 chunkTo = std::min(stretch->to, staff->start + staff->length);
            if (chunkTo > chunkFrom)
                chunks.push_back({static_cast<std::size_t>(staff - reading.staves.begin()),
                                  chunkFrom, chunkTo, at + chunkFrom - from});
        }
        at += stretch->to - from;
    }
    return chunks;
}

// Where each staff's notes lie in the reading's.
std::vector<std::pair<std::size_t, std::size_t>> notesByStaff(const TabReading& reading) {
    std::vector<std::pair<std::size_t, std::size_t>> ranges(reading.staves.size());
    for (std::size_t n = 0; n < reading.notes.size();) {
        const auto staff = static_cast<std::size_t>(reading.notes[n].staff);
        ranges[staff].first = n;
        while (n < reading.notes.size() &&
               static_cast<std::size_t>(reading.notes[n].staff) == staff)
            ++n;
        ranges[staff].second = n;
    }
    return ranges;
}

void addCues(const Staff& staff, const Chunk& chunk, std::vector<Cue>& cues) {
    auto bar = std::partition_point(staff.bars.begin(), staff.bars.end(),
                                    [&](const StaffBar& b) { return b.start <= chunk.from; });
    if (bar != staff.bars.begin())
        --bar;
    for (; bar != staff.bars.end() && bar->start < chunk.to; ++bar)
        cues.push_back({chunk.at + std::max(bar->start, chunk.from) - chunk.from, bar->spans});
}

// The notes of a chunk, each cut off where the chunk ends.
void addNotes(const TabReading& reading, std::pair<std::size_t, std::size_t> range,
              const Chunk& chunk, std::vector<MidiNote>& notes) {
    const Staff& staff = reading.staves[chunk.staff];
    const int channel = staff.instrument == StaffInstrument::Bass ? kBassChannel : kGuitarChannel;
    const auto begin = reading.notes.begin() + static_cast<std::ptrdiff_t>(range.first);
    const auto end = reading.notes.begin() + static_cast<std::ptrdiff_t>(range.second);
    // Within a staff the notes go by string, then by time.
    const auto at = [&](int string, qint64 tick) {
        return std::lower_bound(begin, end, std::pair(string, tick),
                                [](const TabNote& n, std::pair<int, qint64> key) {
                                    return std::pair(n.string, n.start) < key;
                                });
    };
    const auto add = [&](auto first, auto last) {
        for (auto note = first; note != last; ++note) {
            const qint64 start = chunk.at + note->start - chunk.from;
            const qint64 stop =
                chunk.at + std::min(note->start + note->length, chunk.to) - chunk.from;
            notes.push_back(
                {start, stop, channel, note->key, note->muted ? kMutedVelocity : kVelocity});
        }
    };
    // The whole staff, as nearly always: every note of it.
    if (chunk.from <= staff.start && chunk.to >= staff.start + staff.length) {
        add(begin, end);
        return;
    }
    for (int string = 0; string < static_cast<int>(staff.lines.size()); ++string)
        add(at(string, chunk.from), at(string, chunk.to));
}

// The tab from the start of the staff `first` on, played from tick 0.
Performance perform(const TabReading& reading, std::size_t first, int beatsPerMinute) {
    Performance performance;
    performance.ticksPerQuarter = kTicksPerQuarter;
    const qint64 origin = first < reading.staves.size() ? reading.staves[first].start : 0;
    const std::vector<Chunk> chunks = chunksFrom(reading, origin);
    bool guitar = false;
    bool bass = false;
    for (const Chunk& chunk : chunks) {
        const Staff& staff = reading.staves[chunk.staff];
        (staff.instrument == StaffInstrument::Bass ? bass : guitar) = true;
        addCues(staff, chunk, performance.cues);
    }
    Track track(std::clamp(beatsPerMinute, kMinBeatsPerMinute, kMaxBeatsPerMinute), guitar, bass);

    const std::vector<std::pair<std::size_t, std::size_t>> ranges = notesByStaff(reading);
    std::vector<MidiNote> chunkNotes;
    for (const Chunk& chunk : chunks) {
        chunkNotes.clear();
        addNotes(reading, ranges[chunk.staff], chunk, chunkNotes);
        if (chunkNotes.empty())
            continue;
        for (const MidiNote& note : chunkNotes)
            performance.endTick = std::max(performance.endTick, note.end);
        performance.hasNotes = true;
        track.addStaff(chunkNotes);
    }
    performance.midiFile = track.file();
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
