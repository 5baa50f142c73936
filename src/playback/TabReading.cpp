#include "playback/TabReading.h"

#include "sheet/Grid.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>

namespace fretloom {

namespace {

constexpr int kMinStaffLines = 4;
constexpr int kMaxStaffLines = 7;

// A muted note is a short knock, not a tone that rings.
constexpr qint64 kMutedLength = kTicksPerSixteenth / 2;

// Standard tuning from the bottom line up, by the number of lines.
constexpr std::array<int, 4> kFourStrings = {28, 33, 38, 43};               // E1 A1 D2 G2
constexpr std::array<int, 5> kFiveStrings = {40, 45, 50, 55, 59};           // E2 A2 D3 G3 B3
constexpr std::array<int, 5> kFiveStringBass = {23, 28, 33, 38, 43};        // B0 E1 A1 D2 G2
constexpr std::array<int, 6> kSixStrings = {40, 45, 50, 55, 59, 64};        // E2 A2 D3 G3 B3 E4
constexpr std::array<int, 7> kSevenStrings = {35, 40, 45, 50, 55, 59, 64};  // B1 and the six

// A line of the text, without its line end; `bar` is the index of its first '|' when the line
// is a staff line (a name of up to two characters, spaces, '|'), else -1.
struct TextLine {
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype bar = -1;
};

qsizetype staffBar(QStringView line) {
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'|')
            return i;
        if (i >= kCellMaxLength && line[i] != u' ')
            return -1;
    }
    return -1;
}

std::vector<TextLine> splitLines(QStringView text) {
    std::vector<TextLine> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u'\r' && text[i] != u'\n')
            continue;
        const QStringView line = text.sliced(start, i - start);
        lines.push_back({start, line.size(), staffBar(line)});
        if (i + 1 < text.size() && text[i] == u'\r' && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    return lines;
}

std::optional<int> pitchClass(QStringView name) {
    name = name.trimmed();
    if (name.isEmpty() || name.size() > 2)
        return std::nullopt;
    const char16_t letter = name[0].toLower().unicode();
    if (letter < u'a' || letter > u'g')
        return std::nullopt;
    constexpr std::array<int, 7> kLetters = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
    int pitch = kLetters[letter - u'a'];
    if (name.size() == 2) {
        if (name[1] == u'#')
            ++pitch;
        else if (name[1] == u'b')
            --pitch;
        else
            return std::nullopt;
    }
    return (pitch + 12) % 12;
}

bool isFiveStringBass(const std::vector<QStringView>& names) {
    return names.size() == 5 && pitchClass(names.back()) == 11;
}

// Where a cell of a line that Enter wrote lies in the text.
struct Cell {
    qsizetype start = 0;  // offset into the text
    qsizetype length = 0;
};
using CellSplit = std::array<Cell, kColumnCount>;

bool isDash(QChar c) {
    return c == u'-';
}

// The sixteen cells of `body` ("c1-c2-...-c16"), each one or two characters. The fillers "--"
// and cells without a dash make the split unique; a cell the user wrote with a dash in it
// leaves several, and the one with the fewest such cells wins.
std::optional<CellSplit> splitCells(QStringView body, qsizetype offset) {
    CellSplit cells;
    qsizetype pos = 0;
    bool plain = true;
    for (int k = 0; k < kColumnCount && plain; ++k) {
        if (k > 0) {
            if (pos >= body.size() || !isDash(body[pos])) {
                plain = false;
                break;
            }
            ++pos;
        }
        if (pos >= body.size()) {
            plain = false;
            break;
        }
        qsizetype length = 1;
        if (isDash(body[pos]))
            length = pos + 1 < body.size() && isDash(body[pos + 1]) ? 2 : 0;
        else if (pos + 1 < body.size() && !isDash(body[pos + 1]))
            length = 2;
        if (length == 0) {
            plain = false;
            break;
        }
        cells[k] = {offset + pos, length};
        pos += length;
    }
    if (plain && pos == body.size())
        return cells;

    // Fewest odd cells over all splits: cost[k][p] for cells k.. starting at p.
    const qsizetype n = body.size();
    if (n < 2 * kColumnCount - 1 || n > 3 * kColumnCount - 1)
        return std::nullopt;
    constexpr int kNone = kColumnCount + 1;
    std::vector<std::array<int, kColumnCount + 1>> cost(n + 2);
    for (auto& row : cost)
        row.fill(kNone);
    cost[n][kColumnCount] = 0;
    const auto cellCost = [&](qsizetype p, qsizetype length) {
        const QStringView cell = body.sliced(p, length);
        return cell.contains(u'-') && cell != u"--" ? 1 : 0;
    };
    for (int k = kColumnCount - 1; k >= 0; --k) {
        for (qsizetype p = n - 1; p >= 0; --p) {
            for (qsizetype length = 1; length <= 2 && p + length <= n; ++length) {
                const qsizetype next = p + length;
                int rest = kNone;
                if (k == kColumnCount - 1)
                    rest = next == n ? 0 : kNone;
                else if (next < n && isDash(body[next]))
                    rest = cost[next + 1][k + 1];
                if (rest < kNone)
                    cost[p][k] = std::min(cost[p][k], rest + cellCost(p, length));
            }
        }
    }
    if (cost[0][0] >= kNone)
        return std::nullopt;
    pos = 0;
    for (int k = 0; k < kColumnCount; ++k) {
        for (qsizetype length = 2; length >= 1; --length) {
            const qsizetype next = pos + length;
            if (next > n)
                continue;
            int rest = kNone;
            if (k == kColumnCount - 1)
                rest = next == n ? 0 : kNone;
            else if (next < n && isDash(body[next]))
                rest = cost[next + 1][k + 1];
            if (rest < kNone && rest + cellCost(pos, length) == cost[pos][k]) {
                cells[k] = {offset + pos, length};
                pos = next + 1;
                break;
            }
        }
    }
    return cells;
}

// A line as Enter writes it: name, two spaces, "|-", the cells, "-|".
std::optional<CellSplit> enterCells(QStringView text, const TextLine& line) {
    const QStringView whole = text.sliced(line.start, line.length);
    const qsizetype bar = line.bar;
    if (bar < 2 || bar > kCellMaxLength + 2 || whole.sliced(bar - 2, 2) != u"  " ||
        whole.size() < bar + 4 || !whole.sliced(bar).startsWith(u"|-") || !whole.endsWith(u"-|"))
        return std::nullopt;
    const qsizetype bodyStart = bar + 2;
    return splitCells(whole.sliced(bodyStart, whole.size() - 2 - bodyStart),
                      line.start + bodyStart);
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isMute(QChar c) {
    return c == u'x' || c == u'X';
}

// Reads the staves of one text one after another; its scratch space serves them all.
class StaffReader {
public:
    StaffReader(QStringView text, TabReading& reading) : text_(text), reading_(reading) {}

    Staff read(std::span<const TextLine> lines, qint64 start) {
        lines_ = lines;
        staffIndex_ = static_cast<int>(reading_.staves.size());
        staff_ = Staff();
        staff_.start = start;
        names_.clear();
        for (const TextLine& line : lines) {
            staff_.lines.push_back({line.start, line.length});
            names_.push_back(text_.sliced(line.start, line.bar).left(kCellMaxLength));
        }
        staff_.openKeys = openStringKeys(names_);
        staff_.instrument = instrumentOf(names_);

        cells_.clear();
        for (const TextLine& line : lines_) {
            std::optional<CellSplit> split = enterCells(text_, line);
            if (!split)
                break;
            cells_.push_back(*split);
        }
        staff_.byCells = cells_.size() == lines_.size();
        if (staff_.byCells)
            readCells();
        else
            readCharacters();
        return std::move(staff_);
    }

private:
    // A note found on a line: its column (cell or character), where it is written, what it is.
    struct Found {
        int column;
        TextSpan source;
        bool muted;
        int fret;
    };

    void readCells() {
        const std::vector<CellSplit>& cells = cells_;
        std::vector<bool>& bars = bars_;
        bars.assign(kColumnCount, true);
        for (const CellSplit& split : cells)
            for (int k = 0; k < kColumnCount; ++k)
                if (text_.sliced(split[k].start, split[k].length) != u"|")
                    bars[k] = false;
        const std::vector<qint64>& ticks = columnTicks(bars, kTicksPerSixteenth);
        for (std::size_t s = 0; s < cells.size(); ++s) {
            std::vector<Found>& found = found_;
            found.clear();
            for (int k = 0; k < kColumnCount; ++k) {
                const Cell& cell = cells[s][k];
                if (std::optional<Found> note = noteIn(cell.start, cell.start + cell.length))
                    found.push_back({k, note->source, note->muted, note->fret});
            }
            addNotes(static_cast<int>(s), found, ticks);
        }
        makeBars(bars, ticks,
                 [&](std::size_t s, int k) { return cells[s][k].start + cells[s][k].length; });
    }

    void readCharacters() {
        // Columns count from the first '|' of each line, so a longer name shifts nothing.
        std::vector<QStringView>& bodies = bodies_;
        bodies.clear();
        qsizetype width = 0;
        for (const TextLine& line : lines_) {
            QStringView body = text_.sliced(line.start + line.bar + 1, line.length - line.bar - 1);
            while (!body.isEmpty() && body.back().isSpace())
                body.chop(1);
            bodies.push_back(body);
            width = std::max(width, body.size());
        }
        std::vector<bool>& bars = bars_;
        bars.assign(width, true);
        for (QStringView body : bodies)
            for (qsizetype c = 0; c < width; ++c)
                if (c >= body.size() || body[c] != u'|')
                    bars[c] = false;
        const std::vector<qint64>& ticks = columnTicks(bars, kTicksPerCharacter);
        for (std::size_t s = 0; s < bodies.size(); ++s) {
            const qsizetype offset = lines_[s].start + lines_[s].bar + 1;
            std::vector<Found>& found = found_;
            found.clear();
            const QStringView body = bodies[s];
            for (qsizetype c = 0; c < body.size(); ++c) {
                qsizetype end = c + 1;
                if (isDigit(body[c]))
                    while (end < body.size() && isDigit(body[end]))
                        ++end;
                if (std::optional<Found> note = noteIn(offset + c, offset + end)) {
                    found.push_back({static_cast<int>(c), note->source, note->muted, note->fret});
                    c = end - 1;
                }
            }
            addNotes(static_cast<int>(s), found, ticks);
        }
        makeBars(bars, ticks, [&](std::size_t s, int c) {
            return std::min(lines_[s].start + lines_[s].bar + 2 + c,
                            lines_[s].start + lines_[s].length);
        });
    }

    // The start tick of every column, and one more entry for the end of the staff. A bar
    // line across the whole staff takes no time.
    const std::vector<qint64>& columnTicks(const std::vector<bool>& bars, qint64 width) {
        std::vector<qint64>& ticks = ticks_;
        ticks.clear();
        qint64 tick = staff_.start;
        for (const bool bar : bars) {
            ticks.push_back(tick);
            if (!bar)
                tick += width;
        }
        ticks.push_back(tick);
        staff_.length = tick - staff_.start;
        return ticks;
    }

    // The first fret (digits) in [from, to), else the first x.
    std::optional<Found> noteIn(qsizetype from, qsizetype to) const {
        std::optional<Found> mute;
        for (qsizetype i = from; i < to; ++i) {
            if (isDigit(text_[i])) {
                qsizetype end = i;
                int fret = 0;
                while (end < to && isDigit(text_[end])) {
                    fret = std::min(fret * 10 + (text_[end].unicode() - u'0'), 1000);
                    ++end;
                }
                return Found{0, {i, end - i}, false, fret};
            }
            if (!mute && isMute(text_[i]))
                mute = Found{0, {i, 1}, true, 0};
        }
        return mute;
    }

    void addNotes(int string, const std::vector<Found>& found, const std::vector<qint64>& ticks) {
        const qint64 staffEnd = ticks.back();
        const int open = staff_.openKeys[string];
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
    void makeBars(const std::vector<bool>& bars, const std::vector<qint64>& ticks,
                  ColumnEnd columnEnd) {
        std::array<qsizetype, kMaxStaffLines> cursor{};
        for (std::size_t s = 0; s < lines_.size(); ++s)
            cursor[s] = lines_[s].start;
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
        for (std::size_t c = 0; c < bars.size(); ++c) {
            if (!bars[c] || ticks[c] == barStart)
                continue;
            close([&](std::size_t s) { return columnEnd(s, static_cast<int>(c)); });
            barStart = ticks[c];
        }
        const auto lineEnd = [&](std::size_t s) {
            return lines_[s].start + lines_[s].length;
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

    QStringView text_;
    TabReading& reading_;
    std::span<const TextLine> lines_;
    int staffIndex_ = 0;
    Staff staff_;
    std::vector<QStringView> names_;
    std::vector<CellSplit> cells_;
    std::vector<QStringView> bodies_;
    std::vector<bool> bars_;
    std::vector<qint64> ticks_;
    std::vector<Found> found_;
};

}  // namespace

std::vector<int> openStringKeys(const std::vector<QStringView>& names) {
    const int count = static_cast<int>(names.size());
    const int* standard = kSixStrings.data();
    if (count == 4)
        standard = kFourStrings.data();
    else if (count == 5)
        standard = isFiveStringBass(names) ? kFiveStringBass.data() : kFiveStrings.data();
    else if (count == 7)
        standard = kSevenStrings.data();
    std::vector<int> keys;
    for (int line = 0; line < count; ++line) {
        const int expected = standard[count - 1 - line];
        const std::optional<int> pitch = pitchClass(names[line]);
        if (!pitch) {
            keys.push_back(expected);
            continue;
        }
        // Up to the nearest key of that pitch class; from a tritone away, down.
        const int up = (*pitch - expected % 12 + 12) % 12;
        keys.push_back(up < 6 ? expected + up : expected + up - 12);
    }
    return keys;
}

StaffInstrument instrumentOf(const std::vector<QStringView>& names) {
    return names.size() == 4 || isFiveStringBass(names) ? StaffInstrument::Bass
                                                        : StaffInstrument::Guitar;
}

TabReading readTab(QStringView text) {
    TabReading reading;
    const std::vector<TextLine> lines = splitLines(text);
    StaffReader reader(text, reading);
    qint64 time = 0;
    for (std::size_t first = 0; first < lines.size();) {
        std::size_t end = first;
        while (end < lines.size() && lines[end].bar >= 0)
            ++end;
        const std::size_t count = end - first;
        if (count >= kMinStaffLines && count <= kMaxStaffLines) {
            reading.staves.push_back(reader.read(std::span(lines).subspan(first, count), time));
            time += reading.staves.back().length;
        }
        first = end == first ? end + 1 : end;
    }
    return reading;
}

}  // namespace fretloom
