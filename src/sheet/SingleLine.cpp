#include "sheet/SingleLine.h"

#include <QTextBoundaryFinder>
#include <algorithm>

namespace fretloom {

namespace {

// The end of the first `count` characters of `text`, or its end when it holds fewer.
qsizetype endOfCharacters(QStringView text, qsizetype count) {
    if (count <= 0 || text.isEmpty())
        return 0;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (qsizetype seen = 0; seen < count && end < text.size(); ++seen)
        end = characters.toNextBoundary();
    return end;
}

}  // namespace

qsizetype characterCount(QStringView text) {
    if (text.isEmpty())
        return 0;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (characters.toNextBoundary() >= 0)
        ++count;
    return count;
}

BoxText fitSingleLine(QStringView text, qsizetype caret, std::optional<int> maxCharacters) {
    caret = std::clamp<qsizetype>(caret, 0, text.size());
    QStringView before = text.first(caret);
    const QStringView after = text.sliced(caret);
    const auto lineEnd = std::find_if(before.begin(), before.end(),
                                      [](QChar c) { return endsBoxLine(c.unicode()); });
    before = before.first(lineEnd - before.begin());
    if (maxCharacters) {
        const qsizetype room = std::max<qsizetype>(0, *maxCharacters - characterCount(after));
        before = before.first(endOfCharacters(before, room));
    }
    if (before.size() == caret)
        return {text.toString(), caret};
    return {before.toString().append(after), before.size()};
}

}  // namespace fretloom
