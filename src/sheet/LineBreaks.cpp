#include "sheet/LineBreaks.h"

namespace fretloom {

SplitText splitAtBreaks(QStringView text) {
    SplitText split;
    split.linesJoinedByLf.reserve(text.size());
    qsizetype line = 0;
    qsizetype runStart = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (!isParagraphBreak(c))
            continue;
        split.linesJoinedByLf += text.mid(runStart, i - runStart);
        split.linesJoinedByLf += u'\n';
        if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n')
            ++i;
        else
            split.unusualBreaks.push_back({line, c});
        ++line;
        runStart = i + 1;
    }
    split.linesJoinedByLf += text.mid(runStart);
    return split;
}

}  // namespace fretloom
