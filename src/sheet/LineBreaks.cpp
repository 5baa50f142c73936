#include "sheet/LineBreaks.h"

#include <QChar>

namespace fretloom {

namespace {

// The length of the break that starts at `at`, or 0 when no break starts there.
qsizetype breakLengthAt(QStringView text, qsizetype at) {
    const char16_t c = text[at].unicode();
    if (!isParagraphBreak(c))
        return 0;
    return c == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n' ? 2 : 1;
}

bool splitsSurrogatePair(QStringView text, qsizetype at) {
    return text[at].isLowSurrogate() && text[at - 1].isHighSurrogate();
}

constexpr char16_t kZeroWidthJoiner = 0x200D;

// A mark belongs to the character before it; the zero-width joiner binds both its neighbours.
bool bindsToTheCharacterBefore(QStringView text, qsizetype at) {
    char32_t c = text[at].unicode();
    if (QChar::isHighSurrogate(c) && at + 1 < text.size() && text[at + 1].isLowSurrogate())
        c = QChar::surrogateToUcs4(text[at], text[at + 1]);
    return QChar::isMark(c) || c == kZeroWidthJoiner || text[at - 1] == kZeroWidthJoiner;
}

// Where the piece of a long line that starts at `start` ends; the line runs on to `end`.
qsizetype pieceEnd(QStringView text, qsizetype start, qsizetype end, qsizetype longest) {
    if (end - start <= longest)
        return end;
    // A mark shown at the start of a line would sit on nothing; a few characters back there
    // is almost always a better place. A long run of marks is cut anyway.
    constexpr qsizetype kFewCharacters = 32;
    const qsizetype last = start + longest;
    for (qsizetype cut = last; cut > start && cut > last - kFewCharacters; --cut)
        if (!splitsSurrogatePair(text, cut) && !bindsToTheCharacterBefore(text, cut))
            return cut;
    return splitsSurrogatePair(text, last) ? last - 1 : last;
}

}  // namespace

SplitText splitAtBreaks(QStringView text) {
    SplitText split;
    split.linesJoinedByLf.reserve(text.size());
    qsizetype runStart = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const qsizetype breakLength = breakLengthAt(text, i);
        if (breakLength == 0)
            continue;
        split.linesJoinedByLf += text.mid(runStart, i - runStart);
        split.linesJoinedByLf += u'\n';
        i += breakLength - 1;
        runStart = i + 1;
    }
    split.linesJoinedByLf += text.mid(runStart);
    return split;
}

std::vector<DisplayLine> displayLines(QStringView text, qsizetype longest) {
    std::vector<DisplayLine> lines;
    const qsizetype size = text.size();
    qsizetype lineStart = 0;
    qsizetype breakLength = 0;
    for (qsizetype i = 0; i <= size; ++i) {
        const qsizetype nextBreak = i < size ? breakLengthAt(text, i) : 1;
        if (nextBreak == 0)
            continue;
        for (qsizetype start = lineStart;;) {
            const qsizetype end = pieceEnd(text, start, i, longest);
            lines.push_back({start, end - start, start == lineStart ? breakLength : 0});
            if (end == i)
                break;
            start = end;
        }
        breakLength = nextBreak;
        i += nextBreak - 1;
        lineStart = i + 1;
    }
    return lines;
}

}  // namespace fretloom
