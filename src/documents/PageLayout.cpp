#include "documents/PageLayout.h"

#include "sheet/LineBreaks.h"

#include <algorithm>

namespace fretloom {

QStringList printedLines(QStringView text) {
    return splitAtBreaks(text).linesJoinedByLf.split(u'\n');
}

namespace {

bool onlyEmptyLines(const QStringList& page) {
    return std::all_of(page.cbegin(), page.cend(),
                       [](const QString& line) { return line.isEmpty(); });
}

}  // namespace

std::vector<QStringList> layoutPages(const QStringList& lines, int linesPerPage) {
    const qsizetype perPage = std::max(linesPerPage, 1);
    std::vector<QStringList> pages(1);
    const qsizetype count = lines.size();
    qsizetype first = 0;
    while (first < count) {
        // The block runs to its closing empty line, or to the end of the text.
        qsizetype end = first;
        while (end < count && !lines[end].isEmpty())
            ++end;
        end = std::min(end + 1, count);
        const qsizetype length = end - first;

        QStringList* page = &pages.back();
        if (!page->isEmpty() && length > perPage - page->size() && length <= perPage)
            page = &pages.emplace_back();
        for (qsizetype i = first; i < end; ++i) {
            if (page->size() == perPage)
                page = &pages.emplace_back();
            page->append(lines[i]);
        }
        first = end;
    }
    while (pages.size() > 1 && onlyEmptyLines(pages.back()))
        pages.pop_back();
    return pages;
}

}  // namespace fretloom
