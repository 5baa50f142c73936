#include "ui/TabBox.h"

#include "sheet/LineBreaks.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace fretloom {

namespace {

// A block's user state records the break that ends it when that break is not CR LF.
constexpr int kCrLfState = -1;

void markUnusualBreaks(QTextDocument* document, int firstLine, const SplitText& split) {
    for (const UnusualBreak& unusual : split.unusualBreaks) {
        QTextBlock block = document->findBlockByNumber(firstLine + static_cast<int>(unusual.line));
        block.setUserState(unusual.character);
    }
}

}  // namespace

TabBox::TabBox(QWidget* parent) : QPlainTextEdit(parent) {}

QString TabBox::exactText() const {
    const QTextDocument* doc = document();
    QString text;
    text.reserve(doc->characterCount() + doc->blockCount());
    for (QTextBlock block = doc->begin(); block.isValid();) {
        text += block.text();
        const QTextBlock next = block.next();
        if (next.isValid()) {
            const int state = block.userState();
            if (state == kCrLfState)
                text += u"\r\n";
            else
                text += QChar(static_cast<char16_t>(state));
        }
        block = next;
    }
    return text;
}

void TabBox::setExactText(const QString& text) {
    const SplitText split = splitAtBreaks(text);
    setPlainText(split.linesJoinedByLf);
    // The first block may outlive the old document and with it an old break mark.
    document()->firstBlock().setUserState(kCrLfState);
    markUnusualBreaks(document(), 0, split);
}

void TabBox::appendExact(const QString& text) {
    const SplitText split = splitAtBreaks(text);
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    const int firstLine = cursor.blockNumber();
    // The last line had no break until now; forget any mark it kept from an earlier join.
    cursor.block().setUserState(kCrLfState);
    cursor.insertText(split.linesJoinedByLf);
    markUnusualBreaks(document(), firstLine, split);
}

bool TabBox::isEmptyText() const {
    return document()->isEmpty();
}

}  // namespace fretloom
