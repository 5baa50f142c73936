#include "playback/TabLines.h"

#include "playback/EnterCells.h"
#include "sheet/Grid.h"
#include "sheet/SingleLine.h"

#include <algorithm>

namespace fretloom {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// Word processors turn typed dashes into en and em dashes.
bool isDash(QChar c) {
    return c == u'-' || c == u'\u2013' || c == u'\u2014';
}

bool isTimes(QChar c) {
    return c == u'x' || c == u'X' || c == u'\u00d7';
}

// What may stand in a body that has no '|' before it: dashes, frets, bar lines, repeat dots and
// the marks of playing technique. No other letter, so words are no staff line.
bool isMusic(QChar c) {
    return isDash(c) || isDigit(c) || QStringView(u"|:hpbrstvxHPBRSTVX/\\~^*()<>[].'+").contains(c);
}

// The first '|' of a line, when a name of up to two characters and spaces are all that stand
// before it; -1 otherwise. Enter writes its lines so. Characters count as the string name boxes
// count them, so an accented letter or an emoji is one.
qsizetype nameBar(QStringView line) {
    // Two characters are a few code units at most, even as emoji sequences.
    constexpr qsizetype kLongestName = 32;
    qsizetype nameEnd = 0;  // just after the name's last character that is no space
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'|') {
            const bool fits =
                nameEnd <= kCellMaxLength || characterCount(line.first(nameEnd)) <= kCellMaxLength;
            return fits ? i : -1;
        }
        if (line[i] != u' ' && (nameEnd = i + 1) > kLongestName)
            return -1;
    }
    return -1;
}

// [from, to) of a line that starts at `offset`, without the spaces at either end.
TextSpan trimmedSpan(QStringView line, qsizetype from, qsizetype to, qsizetype offset) {
    while (from < to && line[from].isSpace())
        ++from;
    while (to > from && line[to - 1].isSpace())
        --to;
    return {offset + from, to - from};
}

// Where a note name starting at `at` ends (a letter from A to G, then '#' or 'b'); `at` when none
// starts there.
qsizetype noteNameEnd(QStringView line, qsizetype at) {
    if (at >= line.size())
        return at;
    const char16_t letter = line[at].toLower().unicode();
    if (letter < u'a' || letter > u'g')
        return at;
    if (at + 1 < line.size() && (line[at + 1] == u'#' || line[at + 1] == u'b'))
        return at + 2;
    return at + 1;
}

}  // namespace

std::optional<TextLine> LineWalk::next() {
    if (done_)
        return std::nullopt;
    const qsizetype start = at_;
    qsizetype end = start;
    while (end < text_.size() && text_[end] != u'\r' && text_[end] != u'\n')
        ++end;
    if (end == text_.size())
        done_ = true;
    at_ = end + (end + 1 < text_.size() && text_[end] == u'\r' && text_[end + 1] == u'\n' ? 2 : 1);
    return TextLine{start, end - start};
}

std::optional<StaffLineParts> staffLineParts(QStringView text, TextLine line) {
    const QStringView whole = text.sliced(line.start, line.length);
    StaffLineParts parts;
    parts.line = {line.start, line.length};
    parts.name = {line.start, 0};
    const qsizetype bar = nameBar(whole);
    if (bar >= 0) {
        // As Enter writes it, perhaps with a remark after its last '|'.
        const qsizetype last = whole.lastIndexOf(u'|');
        parts.name = trimmedSpan(whole, 0, bar, line.start);
        parts.barInFront = true;
        if (std::optional<CellLine> cells = enterCells(whole.first(last + 1), bar, line.start)) {
            parts.body = {line.start + bar + 1, last - bar};
            parts.remark = trimmedSpan(whole, last + 1, whole.size(), line.start);
            parts.cells = cells;
            return parts;
        }
    }

    // A '|' after the name is sure sign of a staff line; without one the body must look like
    // music throughout.
    qsizetype at = bar + 1;
    bool separated = bar >= 0;
    if (bar < 0) {
        at = 0;
        while (at < whole.size() && isBlank(whole[at]))
            ++at;
        const qsizetype nameEnd = noteNameEnd(whole, at);
        if (nameEnd > at) {
            parts.name = {line.start + at, nameEnd - at};
            at = nameEnd;
            while (at < whole.size() && isBlank(whole[at]))
                ++at;
        }
        if (at < whole.size() && (whole[at] == u'|' || whole[at] == u':')) {
            separated = true;
            parts.barInFront = whole[at] == u'|';
            ++at;
        }
        parts.bare = !separated && parts.name.length == 0;
    }
    const bool strict = !parts.barInFront;

    // The body runs to the first space. After its last '|', what holds no dash is a remark.
    qsizetype end = at;
    while (end < whole.size() && !isBlank(whole[end]))
        ++end;
    const qsizetype lastBar = whole.sliced(at, end - at).lastIndexOf(u'|');
    if (lastBar >= 0 && std::none_of(whole.begin() + at + lastBar + 1, whole.begin() + end, isDash))
        end = at + lastBar + 1;
    const QStringView body = whole.sliced(at, end - at);
    parts.body = {line.start + at, body.size()};
    parts.remark = trimmedSpan(whole, end, whole.size(), line.start);

    const auto dashes = std::count_if(body.begin(), body.end(), isDash);
    if (dashes == 0)
        return std::nullopt;
    if (strict) {
        if (body.size() < 3 || dashes < 2 || !std::all_of(body.begin(), body.end(), isMusic))
            return std::nullopt;
        if (!separated && !isDash(body.front()))
            return std::nullopt;
        // Words between dashes make a heading: "- Intro -", "--- Solo ---".
        if (parts.remark.length > 0 && isDash(text[parts.remark.start + parts.remark.length - 1]))
            return std::nullopt;
    }
    return parts;
}

std::optional<int> repeatCount(QStringView written) {
    written = written.trimmed();
    if (written.startsWith(u'(') && written.endsWith(u')'))
        written = written.sliced(1, written.size() - 2).trimmed();
    if (written.isEmpty())
        return std::nullopt;
    QStringView digits;
    if (isTimes(written.front()))
        digits = written.sliced(1).trimmed();
    else if (isTimes(written.back()))
        digits = written.chopped(1).trimmed();
    if (digits.isEmpty() || digits.size() > 2 ||
        !std::all_of(digits.begin(), digits.end(), isDigit))
        return std::nullopt;
    const int count = digits.toInt();
    if (count < 1 || count > kMaxRepeatCount)
        return std::nullopt;
    return count;
}

std::optional<int> capoFret(QStringView line) {
    line = line.trimmed();
    if (!line.startsWith(u"capo", Qt::CaseInsensitive) || (line.size() > 4 && line[4].isLetter()))
        return std::nullopt;
    const auto digit = std::find_if(line.begin() + 4, line.end(), isDigit);
    const auto digitsEnd = std::find_if_not(digit, line.end(), isDigit);
    if (digit == line.end() || digitsEnd - digit > 2)
        return std::nullopt;
    const int fret = QStringView(digit, digitsEnd).toInt();
    if (fret > kHighestFret)
        return std::nullopt;
    return fret;
}

}  // namespace fretloom
