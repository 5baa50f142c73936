#pragma once

#include <QString>
#include <QStringView>
#include <vector>

namespace fretloom {

// Characters a text document takes as the end of a paragraph. The tab's own line end is CR LF;
// any of these standing alone is kept as an unusual break so the text comes back exactly.
constexpr bool isParagraphBreak(char16_t c) {
    return c == u'\r' || c == u'\n' || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1;
}

struct UnusualBreak {
    qsizetype line;      // the line this break ends, counting from 0
    char16_t character;  // the break as it stood in the text
};

// A text cut into lines: the lines joined by single LFs, plus the breaks that were not CR LF.
struct SplitText {
    QString linesJoinedByLf;
    std::vector<UnusualBreak> unusualBreaks;
};

SplitText splitAtBreaks(QStringView text);

}  // namespace fretloom
