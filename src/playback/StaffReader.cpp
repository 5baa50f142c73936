#include "playback/StaffReader.h"

#include "playback/Tunings.h"
#include "sheet/Grid.h"

#include <algorithm>
#include <array>

namespace fretloom {

namespace {

constexpr std::size_t kMaxStaffLines = 7;

// A muted note is a short knock, not a tone that rings.
constexpr qint64 kMutedLength = kTicksPerSixteenth / 2;

int digitAt(QStringView text, qsizetype at) {
    return text[at].unicode() - u'0';
}

// Two digits that a guitar has as one fret, 10 to 24.
bool isFretPair(QStringView body, qsizetype at) {
    const int fret = digitAt(body, at) * 10 + digitAt(body, at + 1);
    return fret >= 10 && fret <= kHighestFret;
}

// Calls `found(column, length, muted)` for every run of digits and every x of `body`.
template <typename Found> void forEachRun(QStringView body, Found found) {
    for (qsizetype c = 0; c < body.size(); ++c) {
        if (isDigit(body[c])) {
            qsizetype end = c + 1;
            while (end < body.size() && isDigit(body[end]))
                ++end;
            found(c, end - c, false);
            c = end - 1;
        } else if (isMute(body[c])) {
            found(c, 1, true);
        }
    }
}

}  // namespace

void StaffReader::read(std::span<const StaffLineParts> lines, qint64 start,
                       const std::vector<std::optional<int>>& pitchClasses, int capo) {
    lines_ = lines;
    staffIndex_ = static_cast<int>(reading_.staves.size());
    staff_ = Staff();
    staff_.start = start;
    staff_.capo = capo;
    signs_.clear();
    closesAtEnd_ = false;
    staff_.lines.reserve(lines.size());
    staff_.names.reserve(lines.size());
    staff_.bodies.reserve(lines.size());
    for (const StaffLineParts& line : lines) {
        staff_.lines.push_back(line.line);
        staff_.names.push_back(line.name);
        staff_.bodies.push_back(line.body);
    }
    staff_.openKeys = openKeysOf(pitchClasses);
    staff_.instrument = lines.size() == 4 || isFiveStringBass(pitchClasses)
                            ? StaffInstrument::Bass
                            : StaffInstrument::Guitar;
    staff_.byCells = std::all_of(lines.begin(), lines.end(),
                                 [](const StaffLineParts& line) { return line.cells.has_value(); });
    if (staff_.byCells) {
        staff_.cells.reserve(lines.size());
        for (const StaffLineParts& line : lines)
            staff_.cells.push_back(*line.cells);
        readCells();
    } else {
        readCharacters();
    }
    reading_.staves.push_back(std::move(staff_));
}

void StaffReader::readCells() {
    std::vector<std::array<TextSpan, kColumnCount>>& cells = cellSpans_;
    cells.resize(staff_.cells.size());
    for (std::size_t s = 0; s < cells.size(); ++s)
        cells[s] = staff_.cells[s].allCells();
    std::vector<bool>& bars = noTime_;
    bars.assign(kColumnCount, true);
    for (const auto& line : cells)
        for (int k = 0; k < kColumnCount; ++k)
            if (line[k].length != 1 || text_[line[k].start] != u'|')
                bars[k] = false;
    const std::vector<qint64>& ticks = columnTicks(bars, kTicksPerSixteenth);
    for (std::size_t s = 0; s < cells.size(); ++s) {
        found_.clear();
        for (int k = 0; k < kColumnCount; ++k) {
            const TextSpan& cell = cells[s][k];
            if (std::optional<Found> note = noteIn(cell.start, cell.start + cell.length))
                found_.push_back({k, note->source, note->muted, note->fret});
        }
        addNotes(static_cast<int>(s), found_, ticks);
    }
    boundaries_.clear();
    for (int k = 0; k < kColumnCount; ++k)
        if (bars[k])
            boundaries_.push_back(k);
    makeBars(boundaries_, ticks,
             [&](std::size_t s, qsizetype k) { return cells[s][k].start + cells[s][k].length; });
}

void StaffReader::readCharacters() {
    // Columns count from the start of each line's body, so a longer name shifts nothing.
    bodies_.clear();
    qsizetype width = 0;
    for (const StaffLineParts& line : lines_) {
        bodies_.push_back(text_.sliced(line.body.start, line.body.length));
        width = std::max(width, line.body.length);
    }
    // A column of '|' or ':' on every line is a bar line or a repeat sign, and takes no time.
    noTime_.assign(width, true);
    colon_.assign(width, false);
    for (QStringView body : bodies_) {
        for (qsizetype c = 0; c < width; ++c) {
            const QChar ch = c < body.size() ? body[c] : QChar();
            if (ch == u':')
                colon_[c] = true;
            else if (ch != u'|')
                noTime_[c] = false;
        }
    }
    const std::vector<qint64>& ticks = columnTicks(noTime_, kTicksPerCharacter);
    findRepeatSigns(width, ticks);
    findPairs(width);
    for (std::size_t s = 0; s < lines_.size(); ++s)
        findNotes(s, ticks);
    makeBars(boundaries_, ticks, [&](std::size_t s, qsizetype c) {
        return std::min(lines_[s].body.start + c + 1, lines_[s].line.start + lines_[s].line.length);
    });
}

// Every run of columns that take no time ends a bar. Colons before its bar lines close a
// repeat, colons after them open one; colons alone open one at the start of the lines (after
// the '|' that follows the names) and close one at their end.
void StaffReader::findRepeatSigns(qsizetype width, const std::vector<qint64>& ticks) {
    const bool barInFront = std::all_of(lines_.begin(), lines_.end(),
                                        [](const StaffLineParts& line) { return line.barInFront; });
    boundaries_.clear();
    for (qsizetype c = 0; c < width;) {
        if (!noTime_[c]) {
            ++c;
            continue;
        }
        const qsizetype first = c;
        while (c < width && noTime_[c])
            ++c;
        qsizetype bars = first;
        while (bars < c && colon_[bars])
            ++bars;
        qsizetype barsEnd = c;
        while (barsEnd > bars && colon_[barsEnd - 1])
            --barsEnd;
        bool closes = bars > first;
        bool opens = barsEnd < c;
        if (bars == barsEnd) {
            opens = first == 0 && barInFront;
            closes = !opens && c == width;
        }
        // The bar ends after the closing sign, or at the first bar line.
        boundaries_.push_back(closes ? (opens ? barsEnd - 1 : c - 1) : first);
        if (closes || opens)
            signs_.push_back({ticks[first], closes, opens});
        closesAtEnd_ = closes && !opens && c == width;
    }
}

// Two digits from 10 to 24 are one fret, unless another line holds two digits that are no fret
// (00 to 09, 25 to 99) in the same two columns: then all of them are written squeezed, a note
// a column. Where the digits of frets on different lines overlap, the notes sound together, at
// the first column of the overlap: `chord_` holds it for every column a fret covers, else -1.
void StaffReader::findPairs(qsizetype width) {
    squeezed_.assign(width, false);
    pairStart_.assign(width, false);
    chord_.assign(width, -1);
    for (QStringView body : bodies_) {
        forEachRun(body, [&](qsizetype c, qsizetype length, bool) {
            if (length == 2 && !isFretPair(body, c))
                squeezed_[c] = true;
        });
    }
    for (QStringView body : bodies_) {
        forEachRun(body, [&](qsizetype c, qsizetype length, bool) {
            if (length == 2 && isFretPair(body, c) && !squeezed_[c])
                pairStart_[c] = true;
        });
    }
    for (qsizetype c = 0; c + 1 < width; ++c) {
        if (!pairStart_[c])
            continue;
        const qsizetype first = c > 0 && pairStart_[c - 1] ? chord_[c - 1] : c;
        chord_[c] = first;
        chord_[c + 1] = first;
    }
}

void StaffReader::findNotes(std::size_t line, const std::vector<qint64>& ticks) {
    const QStringView body = bodies_[line];
    const qsizetype offset = lines_[line].body.start;
    found_.clear();
    qsizetype lastChord = -1;
    const auto add = [&](qsizetype c, qsizetype length, bool muted, int fret) {
        // Only a line's first note in a chord moves to the chord's first column.
        qsizetype column = c;
        if (chord_[c] >= 0 && chord_[c] != lastChord) {
            column = chord_[c];
            lastChord = chord_[c];
        }
        found_.push_back({column, {offset + c, length}, muted, fret});
    };
    forEachRun(body, [&](qsizetype c, qsizetype length, bool muted) {
        if (muted) {
            add(c, 1, true, 0);
        } else if (length == 2 && isFretPair(body, c) && !squeezed_[c]) {
            add(c, 2, false, digitAt(body, c) * 10 + digitAt(body, c + 1));
        } else {
            for (qsizetype i = c; i < c + length; ++i)
                add(i, 1, false, digitAt(body, i));
        }
    });
    addNotes(static_cast<int>(line), found_, ticks);
}

// The start tick of every column, and one more entry for the end of the staff.
const std::vector<qint64>& StaffReader::columnTicks(const std::vector<bool>& noTime, qint64 width) {
    ticks_.clear();
    qint64 tick = staff_.start;
    for (const bool none : noTime) {
        ticks_.push_back(tick);
        if (!none)
            tick += width;
    }
    ticks_.push_back(tick);
    staff_.length = tick - staff_.start;
    return ticks_;
}

// The first fret (digits) in [from, to), else the first x.
std::optional<StaffReader::Found> StaffReader::noteIn(qsizetype from, qsizetype to) const {
    // Most cells are the filler.
    if (to - from == 2 && text_[from] == u'-' && text_[from + 1] == u'-')
        return std::nullopt;
    std::optional<Found> mute;
    for (qsizetype i = from; i < to; ++i) {
        if (isDigit(text_[i])) {
            qsizetype end = i;
            int fret = 0;
            while (end < to && isDigit(text_[end])) {
                fret = std::min(fret * 10 + digitAt(text_, end), 1000);
                ++end;
            }
            return Found{0, {i, end - i}, false, fret};
        }
        if (!mute && isMute(text_[i]))
            mute = Found{0, {i, 1}, true, 0};
    }
    return mute;
}

void StaffReader::addNotes(int string, const std::vector<Found>& found,
                           const std::vector<qint64>& ticks) {
    const qint64 staffEnd = ticks.back();
    const int open = staff_.openKeys[string] + staff_.capo;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const qint64 start = ticks[found[i].column];
        const qint64 next = i + 1 < found.size() ? ticks[found[i + 1].column] : staffEnd;
        TabNote note;
        note.staff = staffIndex_;
        note.string = string;
        note.fret = found[i].fret;
        note.muted = found[i].muted;
        note.key = open + note.fret;
        note.start = start;
        note.length = note.muted ? std::min(next - start, kMutedLength) : next - start;
        note.source = found[i].source;
        // Past the top of the MIDI range there is nothing to play.
        if (note.key <= 127 && note.length > 0)
            reading_.notes.push_back(note);
    }
}

// The bars between the staff-wide bar lines; the bars of a line tile it, each ending with
// its closing bar line and the last one with the line. A stretch that takes no time joins
// the next bar.
template <typename ColumnEnd>
void StaffReader::makeBars(const std::vector<qsizetype>& boundaries,
                           const std::vector<qint64>& ticks, ColumnEnd columnEnd) {
    std::array<qsizetype, kMaxStaffLines> cursor{};
    for (std::size_t s = 0; s < lines_.size(); ++s)
        cursor[s] = lines_[s].line.start;
    qint64 barStart = staff_.start;
    const auto close = [&](auto endOf) {
        StaffBar bar{barStart, {}};
        bar.spans.reserve(lines_.size());
        for (std::size_t s = 0; s < lines_.size(); ++s) {
            const qsizetype end = endOf(s);
            bar.spans.push_back({cursor[s], end - cursor[s]});
            cursor[s] = end;
        }
        staff_.bars.push_back(std::move(bar));
    };
    for (const qsizetype c : boundaries) {
        if (ticks[c] == barStart)
            continue;
        close([&](std::size_t s) { return columnEnd(s, c); });
        barStart = ticks[c];
    }
    const auto lineEnd = [&](std::size_t s) {
        return lines_[s].line.start + lines_[s].line.length;
    };
    if (ticks.back() > barStart) {
        close(lineEnd);
    } else if (!staff_.bars.empty()) {
        for (std::size_t s = 0; s < lines_.size(); ++s) {
            TextSpan& span = staff_.bars.back().spans[s];
            span.length = lineEnd(s) - span.start;
        }
    }
}

}  // namespace fretloom
