#pragma once

#include <QString>
#include <QStringView>
#include <vector>

namespace fretloom {

// Characters a text document takes as the end of a paragraph. The tab's own line end is CR LF;
// any of these standing alone is an unusual break, kept so the text comes back exactly.
constexpr bool isParagraphBreak(char16_t c) {
    return c == u'\r' || c == u'\n' || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1;
}

// A text cut into lines: the lines joined by single LFs, whatever the breaks were.
struct SplitText {
    QString linesJoinedByLf;
};

SplitText splitAtBreaks(QStringView text);

// A line as the tab box shows it: the text between two breaks, or a piece of a line too long to
// be laid out in one go.
struct DisplayLine {
    qsizetype start = 0;   // where its text begins
    qsizetype length = 0;  // its text, without any break
    // The break in front of it, which ends at `start`: 2 for CR LF, 1 for a break standing
    // alone, 0 for the first line and for a piece that carries on a long line.
    qsizetype breakLength = 0;
};

// The lines of `text`, each line longer than `longest` (at least 2) cut into pieces of at most
// `longest` characters. A piece never starts inside a surrogate pair, nor, where a few characters
// less make room for it, with a combining mark or on either side of a zero-width joiner.
std::vector<DisplayLine> displayLines(QStringView text, qsizetype longest);

}  // namespace fretloom
