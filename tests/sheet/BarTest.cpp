#include "sheet/Bar.h"

#include "instruments/InstrumentMode.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;

const QString kGuitar = QString::fromUtf16(kGuitarModeCaption);
const QString kBass = QString::fromUtf16(kBassModeCaption);
const QString kFiveString = QString::fromUtf16(kFiveStringModeCaption);

// The bar used throughout: a C chord in column 1, a bar line in column 2, 12 on the top string in
// column 3 and 5 on the G string in column 4.
Grid workedExampleGrid() {
    Grid grid;
    const QString chord[] = {u"0"_s, u"1"_s, u"0"_s, u"2"_s, u"3"_s, u"3"_s};
    for (Row row : kAllRows) {
        grid.cell(row, 1) = chord[index(row)];
        grid.cell(row, 2) = u"|"_s;
    }
    grid.cell(Row::e, 3) = u"12"_s;
    grid.cell(Row::g, 4) = u"5"_s;
    return grid;
}

QString dashes(int count) {
    return QString(count, u'-');
}

TEST(CommitBar, WorkedExampleInGuitarModeGivesSixLinesAnd325Characters) {
    Grid grid = workedExampleGrid();
    const QString block = commitBar(grid, standardCaptions(), kGuitar);

    const QString expected = u"e  |-0-|-12"_s + dashes(40) + u"|\r\n"_s +  //
                             u"B  |-1-|"_s + dashes(43) + u"|\r\n"_s +     //
                             u"G  |-0-|"_s + dashes(4) + u"5"_s + dashes(37) + u"|\r\n"_s +
                             u"D  |-2-|"_s + dashes(43) + u"|\r\n"_s +  //
                             u"A  |-3-|"_s + dashes(43) + u"|\r\n"_s +  //
                             u"E  |-3-|"_s + dashes(43) + u"|\r\n"_s + u"\r\n"_s;
    EXPECT_EQ(block, expected);
    EXPECT_EQ(block.size(), 325);

    const QStringList lines = block.split(u"\r\n"_s);
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0].size(), 52);
    EXPECT_EQ(lines[2].size(), 51);
    EXPECT_TRUE(lines[6].isEmpty());
    EXPECT_TRUE(lines[7].isEmpty());
}

TEST(CommitBar, FillsEveryEmptyCellAndLeavesTheRestAlone) {
    Grid grid = workedExampleGrid();
    grid.cell(Row::d, 9) = u" "_s;
    commitBar(grid, standardCaptions(), kBass);

    for (Row row : kAllRows)
        for (int column = 1; column <= kColumnCount; ++column)
            EXPECT_FALSE(grid.cell(row, column).isEmpty()) << cellName(row, column).toStdString();
    // The rows bass mode leaves out are filled all the same.
    EXPECT_EQ(grid.cell(Row::e, 16), u"--"_s);
    EXPECT_EQ(grid.cell(Row::b, 5), u"--"_s);
    EXPECT_EQ(grid.cell(Row::e, 3), u"12"_s);
    EXPECT_EQ(grid.cell(Row::d, 9), u" "_s);
}

TEST(CommitBar, EmptyGridGivesSixFullLinesAnd338Characters) {
    Grid grid;
    const QString block = commitBar(grid, standardCaptions(), kGuitar);
    EXPECT_EQ(block.size(), 338);
    const QStringList lines = block.split(u"\r\n"_s);
    const RowCaptions captions = standardCaptions();
    for (int r = 0; r < kStringCount; ++r)
        EXPECT_EQ(lines[r], captions[r] + u"  |"_s + dashes(49) + u"|"_s);
    EXPECT_TRUE(block.endsWith(u"\r\n\r\n"_s));
}

TEST(CommitBar, EachModeCommitsItsOwnRowsInOrder) {
    struct Case {
        QString caption;
        QStringList firstCharacters;
    };
    const Case cases[] = {
        {kGuitar, {u"e"_s, u"B"_s, u"G"_s, u"D"_s, u"A"_s, u"E"_s}},
        {kBass, {u"G"_s, u"D"_s, u"A"_s, u"E"_s}},
        {kFiveString, {u"B"_s, u"G"_s, u"D"_s, u"A"_s, u"E"_s}},
        // No other caption arises, but any other reads as five-string mode.
        {u"convert to bass"_s, {u"B"_s, u"G"_s, u"D"_s, u"A"_s, u"E"_s}},
        {u"Convert to bass "_s, {u"B"_s, u"G"_s, u"D"_s, u"A"_s, u"E"_s}},
        {QString(), {u"B"_s, u"G"_s, u"D"_s, u"A"_s, u"E"_s}},
    };
    for (const Case& c : cases) {
        Grid grid = workedExampleGrid();
        QStringList lines = commitBar(grid, standardCaptions(), c.caption).split(u"\r\n"_s);
        ASSERT_EQ(lines.size(), c.firstCharacters.size() + 2) << c.caption.toStdString();
        for (qsizetype i = 0; i < c.firstCharacters.size(); ++i)
            EXPECT_TRUE(lines[i].startsWith(c.firstCharacters[i] + u"  |-"_s))
                << c.caption.toStdString() << " line " << i;
    }
}

TEST(CommitBar, CellsAndCaptionsGoInUnchanged) {
    Grid grid;
    grid.cell(Row::e, 1) = u" "_s;
    grid.cell(Row::e, 2) = u"x"_s;
    RowCaptions captions = standardCaptions();
    captions[index(Row::e)] = u"C#"_s;
    captions[index(Row::b)] = QString();
    const QStringList lines = commitBar(grid, captions, kGuitar).split(u"\r\n"_s);
    EXPECT_TRUE(lines[0].startsWith(u"C#  |- -x---"_s)) << lines[0].toStdString();
    EXPECT_EQ(lines[0].size(), 2 + 21 + 1 + 1 + 14 * 2);
    EXPECT_TRUE(lines[1].startsWith(u"  |----"_s)) << lines[1].toStdString();
}

TEST(CommitBar, TwoEntersGiveTwoIdenticalBlocks) {
    Grid grid = workedExampleGrid();
    const QString first = commitBar(grid, standardCaptions(), kGuitar);
    const QString second = commitBar(grid, standardCaptions(), kGuitar);
    EXPECT_EQ(first, second);
}

TEST(RowLine, IsCaptionTwoSpacesAndCellsJoinedByDashes) {
    RowCells cells;
    cells.fill(u"--"_s);
    cells[0] = u"|"_s;
    cells[15] = u"10"_s;
    EXPECT_EQ(rowLine(u"A"_s, cells),
              u"A  |-|-"_s + QString(u"---"_s).repeated(14) + u"10-|\r\n"_s);
}

TEST(Deldeldel, EmptiesAllNinetySixCells) {
    Grid grid = workedExampleGrid();
    tabs(grid);
    deldeldel(grid);
    EXPECT_EQ(grid, Grid{});
    deldeldel(grid);
    EXPECT_EQ(grid, Grid{});
}

TEST(CountBars, CountsRunsOfLinesThatHoldAStringLine) {
    Grid grid = workedExampleGrid();
    const QString bar = commitBar(grid, standardCaptions(), kGuitar);
    const QString bass = commitBar(grid, standardCaptions(), kBass);
    EXPECT_EQ(countBars(u""), 0);
    EXPECT_EQ(countBars(bar), 1);
    EXPECT_EQ(countBars(bar + bass + bar), 3);
    // A title, words between bars and an empty line holding spaces are no bars.
    EXPECT_EQ(countBars(u"My song\r\n\r\n"_s + bar + u"verse two\r\n  \r\n"_s + bar), 2);
    // Without an empty line between them, two bars read as one.
    EXPECT_EQ(countBars(bar.chopped(2) + bar), 1);
    // Lone breaks end lines too; spaces after the last "|" are not heard.
    EXPECT_EQ(countBars(u"e  |-0-| \n\nB  |-1-|\r\rG  |-2-|\u2029\u2029x"_s), 3);
}

TEST(Grid, CellNamesFollowRowPrefixAndColumn) {
    EXPECT_EQ(cellName(Row::e, 1), u"e1"_s);
    EXPECT_EQ(cellName(Row::f, 16), u"f16"_s);
    EXPECT_EQ(cellName(Row::b, 10), u"b10"_s);
    EXPECT_EQ(standardCaptions(), (RowCaptions{u"e"_s, u"B"_s, u"G"_s, u"D"_s, u"A"_s, u"E"_s}));
}

}  // namespace
}  // namespace fretloom
