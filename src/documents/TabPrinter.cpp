#include "documents/TabPrinter.h"

#include "documents/CupsQueue.h"
#include "documents/PageLayout.h"
#include "sheet/DialogService.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>

namespace fretloom {

using namespace Qt::StringLiterals;

namespace {

const QString kPrintTitle = u"Print"_s;

QString failed(const QString& reason) {
    return u"The tab was not printed: "_s + reason;
}

}  // namespace

PrintOutcome printTabText(QPrinter& printer, const QString& text, const PrinterFont& font) {
    if (!printer.isValid())
        return {false, 0, failed(u"the printer cannot be used."_s)};

    QPainter painter;
    if (!painter.begin(&printer))
        return {false, 0, failed(u"the printer could not be opened."_s)};

    // A fresh font carries the face and size alone: normal weight, upright.
    QFont printFont(font.face);
    printFont.setPointSizeF(font.pointSize);
    painter.setFont(printFont);
    const QFontMetricsF metrics(painter.font(), &printer);
    const double lineSpacing = metrics.lineSpacing();
    // The painter's origin is the top-left corner of the printable area.
    const double printableHeight = printer.height();
    const int linesPerPage =
        std::max(1, static_cast<int>(std::floor(printableHeight / lineSpacing)));

    const std::vector<QStringList> pages = layoutPages(printedLines(text), linesPerPage);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0 && !printer.newPage()) {
            painter.end();
            return {false, 0, failed(u"the printer could not start a new page."_s)};
        }
        double baseline = metrics.ascent();
        for (const QString& line : pages[p]) {
            if (!line.isEmpty())
                painter.drawText(QPointF(0.0, baseline), line);
            baseline += lineSpacing;
        }
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return {false, 0, failed(u"the printer reported an error."_s)};
    return {true, static_cast<int>(pages.size()), {}};
}

void printToDefaultPrinter(DialogService& dialogs, const QString& text, const PrinterFont& font,
                           const QString& jobName) {
    if (dialogs.ask({kPrintTitle, u"Are you sure you want to print?"_s}) != Answer::Yes)
        return;

    // Without a default printer QPrinter quietly turns into a PDF writer with no file name;
    // that would print nothing and say nothing.
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull()) {
        dialogs.warn(kPrintTitle, failed(u"there is no default printer. Set one up in the "
                                         u"system's printer settings, then print again."_s));
        return;
    }
    QPrinter printer(defaultPrinter, QPrinter::HighResolution);
    if (printer.outputFormat() != QPrinter::NativeFormat || !printer.isValid()) {
        dialogs.warn(kPrintTitle, failed(u"the default printer \"%1\" cannot be used."_s.arg(
                                      defaultPrinter.printerName())));
        return;
    }
    const CupsQueue queue(defaultPrinter.printerName());
    if (const std::optional<QString> refusal = queue.refusal()) {
        dialogs.warn(kPrintTitle, failed(*refusal));
        return;
    }
    printer.setDocName(jobName);
    const PrintOutcome outcome = printTabText(printer, text, font);
    if (!outcome.printed)
        dialogs.warn(kPrintTitle, outcome.problem);
    else if (const std::optional<QString> refusal = queue.jobRefusal())
        dialogs.warn(kPrintTitle, failed(*refusal));
}

}  // namespace fretloom
