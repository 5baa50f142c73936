#include "playback/EnterCells.h"

#include "sheet/Grid.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

namespace fretloom {

namespace {

// Enter writes only this dash, between the cells and as the filler.
bool isDash(QChar c) {
    return c == u'-';
}

CellLine cellLine(qsizetype start, const std::array<qsizetype, kColumnCount>& lengths) {
    CellLine line{start, 0};
    for (int k = 0; k < kColumnCount; ++k)
        if (lengths[k] == 2)
            line.twoWide = static_cast<quint16>(line.twoWide | (1u << k));
    return line;
}

// The sixteen cells of `body` ("c1-c2-...-c16"), each one or two characters. The fillers "--"
// and cells without a dash make the split unique; a cell the user wrote with a dash in it
// leaves several, and the one with the fewest such cells wins.
std::optional<CellLine> splitCells(QStringView body, qsizetype offset) {
    std::array<qsizetype, kColumnCount> lengths{};
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
        lengths[k] = length;
        pos += length;
    }
    if (plain && pos == body.size())
        return cellLine(offset, lengths);

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
                lengths[k] = length;
                pos = next + 1;
                break;
            }
        }
    }
    return cellLine(offset, lengths);
}

}  // namespace

TextSpan CellLine::cell(int k) const {
    // Each cell before it takes one character and a dash, and one more when it is two wide.
    const int wideBefore = std::popcount(static_cast<unsigned>(twoWide & ((1u << k) - 1)));
    return {start + 2 * k + wideBefore, twoWide >> k & 1u ? 2 : 1};
}

std::array<TextSpan, kColumnCount> CellLine::allCells() const {
    std::array<TextSpan, kColumnCount> cells;
    qsizetype at = start;
    for (int k = 0; k < kColumnCount; ++k) {
        cells[k] = {at, twoWide >> k & 1u ? 2 : 1};
        at += cells[k].length + 1;
    }
    return cells;
}

std::optional<CellLine> enterCells(QStringView line, qsizetype bar, qsizetype offset) {
    // The name before the two spaces has been measured by whoever found the bar.
    if (bar < 2 || line.sliced(bar - 2, 2) != u"  " || line.size() < bar + 4 ||
        !line.sliced(bar).startsWith(u"|-") || !line.endsWith(u"-|"))
        return std::nullopt;
    const qsizetype bodyStart = bar + 2;
    return splitCells(line.sliced(bodyStart, line.size() - 2 - bodyStart), offset + bodyStart);
}

}  // namespace fretloom
