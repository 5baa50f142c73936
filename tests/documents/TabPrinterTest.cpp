#include "documents/TabPrinter.h"

#include "appearance/TabBoxLook.h"
#include "sheet/Bar.h"
#include "support/PdfTools.h"

#include <QFont>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

constexpr double kMarginMm = 10.0;
constexpr double kPointsPerMm = 72.0 / 25.4;
constexpr double kMargin = kMarginMm * kPointsPerMm;

// `count` guitar bars as Enter writes them; bar n carries the fret n on the top string, so
// every bar can be told apart on paper.
QString bars(int count, int first = 1) {
    QString text;
    for (int n = first; n < first + count; ++n) {
        Grid grid;
        grid.cell(Row::e, 1) = QString::number(n);
        grid.cell(Row::f, 16) = u"|"_s;
        text += commitBar(grid, standardCaptions(), u"Convert to bass"_s);
    }
    return text;
}

QStringList nonEmptyLinesSqueezed(const QString& text) {
    QStringList lines;
    for (const QString& line : text.split(u"\r\n"_s))
        if (!line.isEmpty())
            lines << line.simplified();
    return lines;
}

// Prints through the same code as the Print command, into a PDF file on A4 paper with 10 mm
// margins all round.
class TabPrinterPdfTest : public ::testing::Test {
protected:
    QString print(const QString& text, const PrinterFont& font, const QString& name = u"tab"_s) {
        const QString path = dir.filePath(name + u".pdf"_s);
        QPrinter printer{QPrinterInfo(), QPrinter::HighResolution};
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                          QPageLayout::Millimeter));
        outcome = printTabText(printer, text, font);
        EXPECT_TRUE(outcome.printed) << outcome.problem.toStdString();
        return path;
    }

    QTemporaryDir dir;
    PrintOutcome outcome;
};

const PrinterFont kTimes12{u"Times New Roman"_s, 12.0};

TEST_F(TabPrinterPdfTest, EveryLineStartsTopLeftInTheTabBoxFaceAtRegularWeight) {
    const QString text = u"Blues in E\r\n\r\n"_s + bars(2);
    const QString pdf = print(text, kTimes12);

    EXPECT_EQ(pdfPageCount(pdf), 1);
    EXPECT_EQ(outcome.pages, 1);
    const QStringList pages = pdfPageTexts(pdf);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(textLines(pages[0]), nonEmptyLinesSqueezed(text));

    // Times New Roman is the metric twin Liberation Serif here; regular, not Bold or Italic.
    const std::vector<PdfFont> fonts = pdfFonts(pdf);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0].name, u"LiberationSerif"_s);
    EXPECT_FALSE(fonts[0].name.contains(u"Bold"_s));
    EXPECT_TRUE(fonts[0].embedded);

    // The first line stands at the top-left corner of the printable area.
    const PdfLayout layout = pdfWords(pdf);
    const PdfWord* first = findWord(layout, u"Blues"_s);
    ASSERT_TRUE(first);
    for (const PdfWord& word : layout.words) {
        EXPECT_GE(word.xMin, first->xMin - 0.01) << word.text.toStdString();
        EXPECT_GE(word.yMin, first->yMin - 0.01) << word.text.toStdString();
    }
    EXPECT_NEAR(first->xMin, kMargin, 1.0);
    EXPECT_NEAR(first->yMin, kMargin, 1.5);
    // The empty line between the title and the first bar is kept.
    const PdfWord* topString = findWord(layout, u"e"_s);
    ASSERT_TRUE(topString);
    const double pitch = (topString->yMin - first->yMin) / 2.0;
    EXPECT_GT(pitch, 12.0);
    EXPECT_LT(pitch, 12.0 * 1.4);
}

TEST_F(TabPrinterPdfTest, PrintsInTheTabBoxSize) {
    const QString text = bars(1);
    const PdfLayout small = pdfWords(print(text, kTimes12, u"small"_s));
    const PdfLayout large = pdfWords(print(text, {u"Times New Roman"_s, 24.0}, u"large"_s));
    const PdfWord* smallTop = findWord(small, u"e"_s);
    const PdfWord* smallSecond = findWord(small, u"B"_s);
    const PdfWord* largeTop = findWord(large, u"e"_s);
    const PdfWord* largeSecond = findWord(large, u"B"_s);
    ASSERT_TRUE(smallTop && smallSecond && largeTop && largeSecond);
    const auto height = [](const PdfWord* w) {
        return w->yMax - w->yMin;
    };
    EXPECT_NEAR(height(smallTop), 12.0 * 1.1, 1.5);
    EXPECT_NEAR(height(largeTop) / height(smallTop), 2.0, 0.05);
    // The second string's name stands one line below the first.
    const double smallPitch = smallSecond->yMin - smallTop->yMin;
    const double largePitch = largeSecond->yMin - largeTop->yMin;
    EXPECT_NEAR(largePitch / smallPitch, 2.0, 0.05);
}

TEST_F(TabPrinterPdfTest, ABoldItalicTabBoxPrintsUprightInNormalWeight) {
    QFont tabBoxFont(u"DejaVu Sans Mono"_s);
    tabBoxFont.setPointSizeF(10.0);
    tabBoxFont.setBold(true);
    tabBoxFont.setItalic(true);
    const QString pdf = print(bars(1), printerFont(tabFontOf(tabBoxFont)));

    const std::vector<PdfFont> fonts = pdfFonts(pdf);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0].name, u"DejaVuSansMono"_s);
    EXPECT_FALSE(fonts[0].name.contains(u"Bold"_s) || fonts[0].name.contains(u"Oblique"_s));
    EXPECT_EQ(textLines(pdfPageTexts(pdf).value(0)), nonEmptyLinesSqueezed(bars(1)));
}

TEST_F(TabPrinterPdfTest, ALongTabRunsOnToMorePagesWithoutCuttingABar) {
    // At 10 pt a page holds some lines more than a whole number of bars, so a layout that
    // simply filled every page would cut a bar.
    constexpr int kBars = 30;
    const QString text = bars(kBars);
    const QString pdf = print(text, {u"Times New Roman"_s, 10.0});

    const QStringList pages = pdfPageTexts(pdf);
    const int pageCount = pdfPageCount(pdf);
    EXPECT_EQ(pages.size(), pageCount);
    EXPECT_EQ(outcome.pages, pageCount);
    ASSERT_GE(pageCount, 3);

    // Every page holds whole bars, in order, and every bar is printed once.
    const QStringList all = nonEmptyLinesSqueezed(text);
    qsizetype printed = 0;
    QList<qsizetype> barsPerPage;
    for (const QString& page : pages) {
        const QStringList lines = textLines(page);
        ASSERT_EQ(lines.size() % 6, 0) << page.toStdString();
        EXPECT_TRUE(lines.value(0).startsWith(u"e |"_s)) << page.toStdString();
        EXPECT_EQ(lines, all.mid(printed, lines.size()));
        printed += lines.size();
        barsPerPage << lines.size() / 6;
    }
    EXPECT_EQ(printed, all.size());
    for (qsizetype p = 0; p + 1 < barsPerPage.size(); ++p)
        EXPECT_EQ(barsPerPage[p], barsPerPage[0]);

    // The pages are full: below the last bar of a page there is no room for another.
    const PdfLayout layout = pdfWords(pdf);
    const double printableBottom = layout.pageHeight - kMargin;
    // Per page, the highest top string and the lowest low string.
    std::vector<const PdfWord*> firstTopString(pageCount, nullptr);
    std::vector<const PdfWord*> lastLowString(pageCount, nullptr);
    for (const PdfWord& word : layout.words) {
        ASSERT_LT(word.page, pageCount);
        const PdfWord*& top = firstTopString[word.page];
        const PdfWord*& low = lastLowString[word.page];
        if (word.text == u"e"_s && (!top || word.yMin < top->yMin))
            top = &word;
        if (word.text == u"E"_s && (!low || word.yMin > low->yMin))
            low = &word;
    }
    ASSERT_TRUE(firstTopString[0] && lastLowString[0]);
    const double pitch =
        (lastLowString[0]->yMin - firstTopString[0]->yMin) / (barsPerPage[0] * 7 - 2);
    for (int p = 0; p + 1 < pageCount; ++p) {
        ASSERT_TRUE(firstTopString[p] && lastLowString[p]);
        EXPECT_NEAR(firstTopString[p]->yMin, kMargin, 1.5) << "page " << p + 1;
        // The bar's empty line follows its low string, then the room that is left.
        const double room = printableBottom - (lastLowString[p]->yMin + 2 * pitch);
        EXPECT_GE(room, -0.5) << "page " << p + 1;
        EXPECT_LT(room, 7 * pitch) << "page " << p + 1;
    }
}

TEST_F(TabPrinterPdfTest, AnEmptyTabIsOneBlankPage) {
    const QString pdf = print(QString(), kTimes12);
    EXPECT_EQ(pdfPageCount(pdf), 1);
    EXPECT_TRUE(pdfWords(pdf).words.empty());
}

TEST_F(TabPrinterPdfTest, LongLinesAreNotWrapped) {
    // A line far wider than the page runs off its edge and takes one line, not several.
    const QString longLine = u"long "_s + QString(600, u'-');
    const QString pdf = print(longLine + u"\r\nnext\r\n"_s, kTimes12);
    const PdfLayout layout = pdfWords(pdf);
    const PdfWord* first = findWord(layout, u"long"_s);
    const PdfWord* next = findWord(layout, u"next"_s);
    ASSERT_TRUE(first && next);
    const double pitch = next->yMin - first->yMin;
    EXPECT_GT(pitch, 12.0);
    EXPECT_LT(pitch, 12.0 * 1.4);
    EXPECT_EQ(pdfPageCount(pdf), 1);
}

TEST_F(TabPrinterPdfTest, APrinterThatCannotStartTellsWhy) {
    QPrinter printer{QPrinterInfo(), QPrinter::HighResolution};
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(u"no such folder/tab.pdf"_s));
    const PrintOutcome failed = printTabText(printer, bars(1), kTimes12);
    EXPECT_FALSE(failed.printed);
    EXPECT_FALSE(failed.problem.isEmpty());
}

}  // namespace
}  // namespace fretloom
