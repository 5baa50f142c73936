#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace fretloom {

// The characters that end the one line of a single-line box: CR, LF and the Unicode line and
// paragraph separators.
constexpr bool endsBoxLine(char16_t c) {
    return c == u'\r' || c == u'\n' || c == 0x2028 || c == 0x2029;
}

// How many characters `text` holds, counted as a reader sees them: a surrogate pair, a letter
// with its combining marks and an emoji sequence are one character each. Every box limit
// (kCellMaxLength) counts this way.
qsizetype characterCount(QStringView text);

// The text of a single-line box with its caret.
struct BoxText {
    QString text;
    qsizetype caret = 0;

    bool operator==(const BoxText&) const = default;
};

// What a single-line box keeps of an edit (typing, a paste or a drop) that left `text` with the
// caret just after the new text. What stands before the caret is kept up to its first line
// break, and then only as many characters of it as fit in `maxCharacters` together with the
// text after the caret; no limit when there is none. A character is never cut in two. The caret
// ends after the text kept. A text that already fits comes back unchanged.
BoxText fitSingleLine(QStringView text, qsizetype caret, std::optional<int> maxCharacters);

}  // namespace fretloom
