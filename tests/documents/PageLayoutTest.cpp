#include "documents/PageLayout.h"

#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;

// A bar block as Enter writes it: one line per string and the empty line that closes it.
QStringList block(const QString& bar, int strings = 6) {
    QStringList lines;
    for (int s = 0; s < strings; ++s)
        lines << bar + u"-row"_s + QString::number(s);
    lines << QString();
    return lines;
}

TEST(PrintedLines, EveryBreakStartsALineAndTheTextEndsWithOneMore) {
    // A committed bar: its lines and the closing empty line; after the last break the next
    // (empty) line begins.
    EXPECT_EQ(printedLines(u"e  |-0-|\r\nB  |-1-|\r\n\r\n"_s),
              (QStringList{u"e  |-0-|"_s, u"B  |-1-|"_s, QString(), QString()}));
    // Text the user typed without a final break keeps its last line.
    EXPECT_EQ(printedLines(u"Intro\r\nverse"_s), (QStringList{u"Intro"_s, u"verse"_s}));
    // Breaks the tab box shows as such start lines too.
    EXPECT_EQ(printedLines(u"a\nb\rc\u2029d"_s), (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s}));
    // Other characters stay in their line.
    EXPECT_EQ(printedLines(u"\u00a0a\tb"_s), QStringList{u"\u00a0a\tb"_s});
}

TEST(PrintedLines, AnEmptyTabIsOneEmptyLine) {
    EXPECT_EQ(printedLines(u""_s), QStringList{QString()});
}

TEST(LayoutPages, ShortTextFitsOnOnePageAsItIs) {
    const QStringList lines = block(u"a"_s) + block(u"b"_s) + QStringList{QString()};
    const std::vector<QStringList> pages = layoutPages(lines, 60);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0], lines);
}

TEST(LayoutPages, AnEmptyTabStillMakesOnePage) {
    const std::vector<QStringList> pages = layoutPages(QStringList{QString()}, 60);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0], QStringList{QString()});
}

TEST(LayoutPages, ABarThatDoesNotFitTheRestOfAPageStartsTheNext) {
    // 10 lines a page: the first block takes 7, the second would be cut at line 10.
    const QStringList first = block(u"a"_s);
    const QStringList second = block(u"b"_s);
    const QStringList third = block(u"c"_s);
    const std::vector<QStringList> pages =
        layoutPages(first + second + third + QStringList{QString()}, 10);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0], first);
    EXPECT_EQ(pages[1], second);
    // The empty line after the last break fits beside the last block.
    EXPECT_EQ(pages[2], third + QStringList{QString()});
}

TEST(LayoutPages, FillsAPageWithWholeBarsExactly) {
    // Two blocks of 7 fill a page of 14 lines to the last line.
    QStringList lines;
    for (const QString& bar : {u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s})
        lines += block(bar);
    const std::vector<QStringList> pages = layoutPages(lines, 14);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0], block(u"a"_s) + block(u"b"_s));
    EXPECT_EQ(pages[1], block(u"c"_s) + block(u"d"_s));
    EXPECT_EQ(pages[2], block(u"e"_s));
}

TEST(LayoutPages, ABarWhoseLinesExactlyFillTheRestOfAPageStaysOnIt) {
    // 13 lines a page: the first block takes 7, which leaves just room for the 6 string lines
    // of the second. Its closing empty line opens the next page.
    const QStringList first = block(u"a"_s);
    const QStringList second = block(u"b"_s);
    const QStringList third = block(u"c"_s);
    const std::vector<QStringList> pages =
        layoutPages(first + second + third + QStringList{QString()}, 13);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0], first + second.mid(0, 6));
    EXPECT_EQ(pages[1], QStringList{QString()} + third + QStringList{QString()});
}

TEST(LayoutPages, ABarAsLongAsAPageLeavesNoBlankPageBeforeIt) {
    // 6 lines a page and bars of 6 strings: each bar fills a page of its own. The empty line
    // after the first would otherwise stand alone on a page between them.
    const std::vector<QStringList> pages =
        layoutPages(block(u"a"_s) + block(u"b"_s) + QStringList{QString()}, 6);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0], block(u"a"_s).mid(0, 6));
    EXPECT_EQ(pages[1], block(u"b"_s).mid(0, 6));
}

TEST(LayoutPages, ABarLongerThanAPageRunsOnWithoutLeavingAGap) {
    // A page holds 4 lines; the title and the bar below it make one block of 8 lines, which
    // cannot fit anywhere, so it fills each page to the last line.
    const QStringList lines = QStringList{u"Title"_s} + block(u"a"_s);
    const std::vector<QStringList> pages = layoutPages(lines, 4);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0], lines.mid(0, 4));
    EXPECT_EQ(pages[1], lines.mid(4));
}

TEST(LayoutPages, TextWithoutEmptyLinesIsOneBlock) {
    // Typed text with no empty line at all is one block: kept whole while it fits a page.
    const QStringList title{u"Song"_s, u"by someone"_s};
    const QStringList verse{u"1"_s, u"2"_s, u"3"_s};
    const std::vector<QStringList> pages = layoutPages(title + QStringList{QString()} + verse, 4);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0], title + QStringList{QString()});
    EXPECT_EQ(pages[1], verse);
}

TEST(LayoutPages, NoPageOfNothingButEmptyLinesAtTheEnd) {
    // Two blocks fill the page exactly; the empty line after the last break would open a third
    // page with nothing on it.
    const QStringList lines = block(u"a"_s) + block(u"b"_s) + QStringList{QString(), QString()};
    const std::vector<QStringList> pages = layoutPages(lines, 7);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0], block(u"a"_s));
    EXPECT_EQ(pages[1], block(u"b"_s));
}

TEST(LayoutPages, EmptyLinesBetweenBarsArePrinted) {
    // Empty lines the user left between bars are blocks of their own and keep their place.
    const QStringList lines = block(u"a"_s, 2) + QStringList{QString()} + block(u"b"_s, 2);
    const std::vector<QStringList> pages = layoutPages(lines, 4);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0], block(u"a"_s, 2) + QStringList{QString()});
    EXPECT_EQ(pages[1], block(u"b"_s, 2));
}

TEST(LayoutPages, KeepsEveryLineInOrderWhateverThePageLength) {
    QStringList lines{u"Title"_s, QString()};
    for (int bar = 0; bar < 23; ++bar)
        lines += block(QString::number(bar), bar % 3 == 0 ? 4 : 6);
    lines << QString();
    // 4 and 6 lines a page: some bars fill a page exactly, and the empty line after them makes
    // way for the next bar.
    for (int perPage : {0, 1, 3, 4, 6, 7, 8, 13, 50, 500}) {
        const std::vector<QStringList> pages = layoutPages(lines, perPage);
        QStringList joined;
        for (const QStringList& page : pages) {
            EXPECT_FALSE(page.isEmpty()) << perPage;
            EXPECT_LE(page.size(), std::max(perPage, 1)) << perPage;
            joined += page;
        }
        // Every line with text is printed, in order; only empty lines may be left off.
        qsizetype next = 0;
        for (const QString& line : lines) {
            if (next < joined.size() && joined[next] == line)
                ++next;
            else
                EXPECT_TRUE(line.isEmpty()) << perPage << ": " << line.toStdString();
        }
        EXPECT_EQ(next, joined.size()) << perPage << ": a line printed out of order";
    }
}

}  // namespace
}  // namespace fretloom
