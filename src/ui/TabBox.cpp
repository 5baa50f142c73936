#include "ui/TabBox.h"

#include "sheet/LineBreaks.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace fretloom {

namespace {

// A block's user state records the break that comes before it when that break is not CR LF.
// Keeping the mark on the block after the break lets it follow the break through the user's
// edits: splitting a line leaves the old mark on the first half, which still follows the same
// break, and the new half starts with CR LF, the break the user typed.
constexpr int kCrLfState = -1;

void markUnusualBreaks(QTextDocument* document, int firstLine, const SplitText& split) {
    for (const UnusualBreak& unusual : split.unusualBreaks) {
        const int lineAfterBreak = firstLine + static_cast<int>(unusual.line) + 1;
        document->findBlockByNumber(lineAfterBreak).setUserState(unusual.character);
    }
}

}  // namespace

TabBox::TabBox(QWidget* parent) : QPlainTextEdit(parent) {}

QString TabBox::exactText() const {
    const QTextDocument* doc = document();
    QString text;
    text.reserve(doc->characterCount() + doc->blockCount());
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block != doc->begin()) {
            const int state = block.userState();
            if (state == kCrLfState)
                text += u"\r\n";
            else
                text += QChar(static_cast<char16_t>(state));
        }
        text += block.text();
    }
    return text;
}

void TabBox::setExactText(const QString& text) {
    const SplitText split = splitAtBreaks(text);
    setPlainText(split.linesJoinedByLf);
    // Nothing comes before the first line; it may have kept a mark from the old document.
    document()->firstBlock().setUserState(kCrLfState);
    markUnusualBreaks(document(), 0, split);
}

void TabBox::appendExact(const QString& text) {
    const SplitText split = splitAtBreaks(text);
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    const int firstLine = cursor.blockNumber();
    cursor.insertText(split.linesJoinedByLf);
    markUnusualBreaks(document(), firstLine, split);
}

bool TabBox::isEmptyText() const {
    return document()->isEmpty();
}

}  // namespace fretloom
