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
        // The block's own lines run up to its closing empty line, or to the end of the text.
        // Only they need to fit: the empty line may as well open the next page.
        qsizetype last = first;
        while (last < count && !lines[last].isEmpty())
            ++last;
        const qsizetype length = last - first;
        const qsizetype end = std::min(last + 1, count);

        QStringList* page = &pages.back();
        if (length > perPage - page->size() && length <= perPage) {
            // A page holding nothing but the empty lines carried over from the last block
            // would print blank: the block takes its place instead.
            if (onlyEmptyLines(*page))
                page->clear();
            else
                page = &pages.emplace_back();
        }
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
