#include "instruments/InstrumentMode.h"
#include "sheet/Bar.h"
#include "support/RandomText.h"

#include <gtest/gtest.h>
#include <vector>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using fretloom::testing::RandomText;
using fretloom::testing::spelled;

const QString kGuitar = QString::fromUtf16(kGuitarModeCaption);
const QString kBass = QString::fromUtf16(kBassModeCaption);
const QString kFiveString = QString::fromUtf16(kFiveStringModeCaption);

// The rows Enter writes, from what the caption says: only the exact guitar and bass captions
// name those modes, anything else is five-string.
std::vector<Row> expectedRows(const QString& modeCaption) {
    if (modeCaption == kGuitar)
        return {Row::e, Row::b, Row::g, Row::d, Row::a, Row::f};
    if (modeCaption == kBass)
        return {Row::g, Row::d, Row::a, Row::f};
    return {Row::b, Row::g, Row::d, Row::a, Row::f};
}

QString randomModeCaption(RandomText& random) {
    static const std::array<QString, 3> modes = {kGuitar, kBass, kFiveString};
    static const std::array<QString, 5> nearMisses = {u"convert to bass"_s, u"Convert to bass "_s,
                                                      u"Convert to"_s, u"Normal tab\r\n"_s,
                                                      QString()};
    const int kind = random.number(1, 10);
    if (kind <= 6)
        return random.pick(modes);
    if (kind <= 8)
        return random.pick(nearMisses);
    return random.text(0, 20);
}

// Walks the block line by line, at the offsets the grid and captions give, and checks each
// line's frame and cells; returns the number of lines found.
int checkBlock(const QString& block, const Grid& filled, const RowCaptions& captions,
               const std::vector<Row>& rows, const std::string& round) {
    qsizetype at = 0;
    int lines = 0;
    for (Row row : rows) {
        const QString& caption = captions[index(row)];
        qsizetype cells = 0;
        for (const QString& cell : filled.row(row))
            cells += cell.size();
        const qsizetype length = caption.size() + 21 + cells;
        if (at + length + 2 > block.size()) {
            ADD_FAILURE() << round << " block too short for row " << index(row);
            return lines;
        }
        const QStringView line = QStringView(block).mid(at, length);
        EXPECT_TRUE(line.startsWith(caption + u"  |-"_s)) << round << " row " << index(row);
        EXPECT_TRUE(line.endsWith(u"-|"_s)) << round << " row " << index(row);
        EXPECT_EQ(QStringView(block).mid(at + length, 2), u"\r\n"_s)
            << round << " row " << index(row);
        // Each cell sits in its place, followed by its dash.
        qsizetype cellAt = caption.size() + 4;
        for (int column = 1; column <= kColumnCount; ++column) {
            const QString& cell = filled.cell(row, column);
            EXPECT_EQ(line.mid(cellAt, cell.size()), cell)
                << round << " " << cellName(row, column).toStdString();
            EXPECT_EQ(line[cellAt + cell.size()], u'-')
                << round << " " << cellName(row, column).toStdString();
            cellAt += cell.size() + 1;
        }
        at += length + 2;
        ++lines;
    }
    // The empty line that closes the block, and nothing after it.
    EXPECT_EQ(block.size(), at + 2) << round;
    EXPECT_TRUE(block.endsWith(u"\r\n"_s)) << round;
    return lines;
}

// Cells of up to two code units drawn from breaks, NUL, surrogate halves and the rest of the
// BMP, with random string names and mode captions: Enter fills the grid and writes one line
// per string of the mode, each framed by its caption, "  |-" and "-|".
TEST(CommitBarFuzz, RandomCellsCaptionsAndModesKeepTheBlockShape) {
    RandomText random(20240611);
    int modeCounts[3] = {0, 0, 0};
    for (int round = 0; round < 3000; ++round) {
        Grid grid;
        for (Row row : kAllRows)
            for (int column = 1; column <= kColumnCount; ++column)
                grid.cell(row, column) = random.chance(30) ? QString() : random.text(0, 2);
        RowCaptions captions;
        for (QString& caption : captions)
            caption =
                random.chance(20) ? standardCaptions()[random.number(0, 5)] : random.text(0, 3);
        const QString modeCaption = randomModeCaption(random);

        Grid filled = grid;
        for (RowCells& cells : filled.rows)
            for (QString& cell : cells)
                if (cell.isEmpty())
                    cell = u"--"_s;

        const std::string where =
            "round " + std::to_string(round) + " mode " + spelled(modeCaption);
        const QString block = commitBar(grid, captions, modeCaption);
        EXPECT_EQ(grid, filled) << where;

        const std::vector<Row> rows = expectedRows(modeCaption);
        EXPECT_EQ(checkBlock(block, filled, captions, rows, where), int(rows.size())) << where;
        ++modeCounts[rows.size() - 4];
        if (::testing::Test::HasFailure())
            break;  // one round's findings are enough to read
    }
    // Every mode came up often enough to count.
    for (int count : modeCounts)
        EXPECT_GT(count, 400);
}

}  // namespace
}  // namespace fretloom
