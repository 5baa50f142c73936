#pragma once

#include <QString>
#include <array>

namespace fretloom {

inline constexpr int kStringCount = 6;
inline constexpr int kColumnCount = 16;
// A cell, a string name and a string-notes box all hold at most this many characters, counted
// by characterCount() (sheet/SingleLine.h): "a" and an emoji are two.
inline constexpr int kCellMaxLength = 2;

// The string rows from the top string down; each is named by the prefix of its cells.
enum class Row : int { e = 0, b, g, d, a, f };

inline constexpr std::array<Row, kStringCount> kAllRows = {Row::e, Row::b, Row::g,
                                                           Row::d, Row::a, Row::f};

constexpr int index(Row row) {
    return static_cast<int>(row);
}

// "e", "b", ... "f": the prefix of the row's cell names.
QString rowPrefix(Row row);
// "e1" .. "f16". Columns count from 1.
QString cellName(Row row, int column);

using RowCells = std::array<QString, kColumnCount>;
using RowCaptions = std::array<QString, kStringCount>;

// The row labels of standard tuning, top to bottom.
RowCaptions standardCaptions();

// The entry grid: six rows of sixteen cell texts, never trimmed or interpreted.
struct Grid {
    std::array<RowCells, kStringCount> rows;

    QString& cell(Row row, int column) { return rows[index(row)][column - 1]; }
    const QString& cell(Row row, int column) const { return rows[index(row)][column - 1]; }
    RowCells& row(Row r) { return rows[index(r)]; }
    const RowCells& row(Row r) const { return rows[index(r)]; }

    bool operator==(const Grid&) const = default;
};

}  // namespace fretloom
