#pragma once

// Reads PDF files back with the poppler tools (Debian package poppler-utils), the way a person
// would check a printout: its text, its fonts, its pages and where its words stand.

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <gtest/gtest.h>
#include <vector>

namespace fretloom::testing {

using namespace Qt::StringLiterals;

// Runs one of the poppler tools and returns what it wrote; fails the test when the tool is
// missing or fails.
inline QString runPdfTool(const QString& tool, const QStringList& arguments) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) {
        ADD_FAILURE() << tool.toStdString()
                      << " was not found; install poppler-utils (tools/setup does)";
        return {};
    }
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        ADD_FAILURE() << tool.toStdString() << " " << arguments.join(u' ').toStdString()
                      << " failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of each page, as pdftotext lays it out, with trailing blanks cut from every line.
inline QStringList pdfPageTexts(const QString& pdf) {
    QStringList pages = runPdfTool(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s}).split(u'\f');
    // pdftotext ends every page with a form feed.
    if (!pages.isEmpty() && pages.constLast().trimmed().isEmpty())
        pages.removeLast();
    for (QString& page : pages) {
        QStringList lines = page.split(u'\n');
        for (QString& line : lines) {
            while (!line.isEmpty() && line.back().isSpace())
                line.chop(1);
        }
        page = lines.join(u'\n');
    }
    return pages;
}

// The lines of a page that hold text, blanks inside them squeezed to one space: pdftotext spaces
// words by their position, which a proportional face does not keep exact.
inline QStringList textLines(const QString& pageText) {
    QStringList lines;
    for (const QString& line : pageText.split(u'\n'))
        if (!line.trimmed().isEmpty())
            lines << line.simplified();
    return lines;
}

struct PdfFont {
    QString name;  // as embedded, subset prefix removed, e.g. "LiberationSerif"
    QString type;
    bool embedded = false;
};

inline std::vector<PdfFont> pdfFonts(const QString& pdf) {
    std::vector<PdfFont> fonts;
    const QStringList lines = runPdfTool(u"pdffonts"_s, {pdf}).split(u'\n');
    // Two heading lines, then one line per font: name type encoding emb sub uni object ID.
    static const QRegularExpression row(uR"(^(\S+)\s+(.+?)\s+(\S+)\s+(yes|no)\s+(yes|no)\s+)"_s);
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QRegularExpressionMatch match = row.match(lines[i]);
        if (!match.hasMatch())
            continue;
        QString name = match.captured(1);
        static const QRegularExpression subset(uR"(^[A-Z]{6}\+)"_s);
        name.remove(subset);
        fonts.push_back({name, match.captured(2), match.captured(4) == u"yes"_s});
    }
    return fonts;
}

inline int pdfPageCount(const QString& pdf) {
    static const QRegularExpression pages(uR"(^Pages:\s+(\d+)\s*$)"_s,
                                          QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = pages.match(runPdfTool(u"pdfinfo"_s, {pdf}));
    if (!match.hasMatch()) {
        ADD_FAILURE() << "pdfinfo names no page count for " << pdf.toStdString();
        return -1;
    }
    return match.captured(1).toInt();
}

// One word with its box in points, measured from the top-left corner of its page.
struct PdfWord {
    int page = 0;  // from 0
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    QString text;
};

struct PdfLayout {
    double pageWidth = 0;
    double pageHeight = 0;
    std::vector<PdfWord> words;
};

inline PdfLayout pdfWords(const QString& pdf) {
    PdfLayout layout;
    const QString html = runPdfTool(u"pdftotext"_s, {u"-bbox"_s, pdf, u"-"_s});
    static const QRegularExpression item(
        u"<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">"
        u"|<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">"
        u"([^<]*)</word>"_s);
    int page = -1;
    for (const QRegularExpressionMatch& match : item.globalMatch(html)) {
        if (!match.captured(1).isEmpty()) {
            ++page;
            layout.pageWidth = match.captured(1).toDouble();
            layout.pageHeight = match.captured(2).toDouble();
            continue;
        }
        layout.words.push_back({page, match.captured(3).toDouble(), match.captured(4).toDouble(),
                                match.captured(5).toDouble(), match.captured(6).toDouble(),
                                match.captured(7)});
    }
    return layout;
}

// The first word with this text, in reading order, or none. pdftotext reads a page column by
// column, so the words of a line need not follow each other.
inline const PdfWord* findWord(const PdfLayout& layout, const QString& text, int page = 0) {
    for (const PdfWord& word : layout.words)
        if (word.page == page && word.text == text)
            return &word;
    return nullptr;
}

}  // namespace fretloom::testing
