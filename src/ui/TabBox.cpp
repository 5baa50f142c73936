#include "ui/TabBox.h"

#include "sheet/LineBreaks.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

namespace fretloom {

namespace {

// Every break of the tab is a block separator of the document. What the break was, when it was
// not CR LF, is kept in the character format of the separator itself (Qt's "block char format"
// of the block after it). That format is deleted, restored by undo and redone together with its
// separator, whichever lines the user splits or joins. (A block's format or user state belongs
// to the block instead, and joining an emptied line to the next keeps the wrong one.) The
// property holds the break's one character, or kNoBreak.
constexpr int kBreakProperty = QTextFormat::UserProperty + 1;
// A separator that stands for no break at all: it joins two pieces of a long line.
constexpr int kNoBreak = 0;
// Qt lays out a block whole, and the time grows faster than its length: a block of 2 MiB was
// still being laid out after a minute. Longer lines are shown in pieces of at most this many
// characters, each laid out in about a millisecond.
constexpr qsizetype kLongestBlock = 4096;

QTextCharFormat breakFormat(int kind) {
    QTextCharFormat format;
    format.setProperty(kBreakProperty, kind);
    return format;
}

// What each block's separator stands for, read from the document's few formats once.
class BreakReader {
public:
    explicit BreakReader(const QTextDocument* document) {
        const QList<QTextFormat> formats = document->allFormats();
        kinds_.reserve(formats.size());
        for (const QTextFormat& format : formats) {
            kinds_.push_back(format.hasProperty(kBreakProperty) ? format.intProperty(kBreakProperty)
                                                                : kCrLf);
            anyMarks_ = anyMarks_ || kinds_.back() != kCrLf;
        }
    }

    // The break before `block` (which is not the first block): CR LF, one character, or none.
    QStringView before(const QTextBlock& block) {
        const int kind = anyMarks_ ? kinds_.value(block.charFormatIndex(), kCrLf) : kCrLf;
        if (kind == kCrLf)
            return u"\r\n";
        if (kind == kNoBreak)
            return {};
        character_ = static_cast<char16_t>(kind);
        return QStringView(&character_, 1);
    }

    bool joinsPieces(const QTextBlock& block) {
        return block.isValid() && block.previous().isValid() && before(block).isEmpty();
    }

private:
    static constexpr int kCrLf = -1;
    QList<int> kinds_;  // by format index
    bool anyMarks_ = false;
    char16_t character_ = 0;
};

enum class Breaks {
    AsTheyAre,  // the tab's own text
    AsTyped,    // pasted: every break the user brings in is CR LF
};

// Inserts `text` at the cursor without the break marks of the blocks around it spreading to it.
void insertTabText(QTextCursor& cursor, QStringView text, Breaks breaks) {
    const QTextCharFormat plain;
    const std::vector<DisplayLine> lines = displayLines(text, kLongestBlock);
    // Qt turns every break inside one inserted string into a separator of the string's own
    // format, so lines joined by plain breaks go in together.
    qsizetype runStart = 0;
    qsizetype runEnd = 0;
    const auto flush = [&] {
        if (runEnd > runStart)
            cursor.insertText(QString::fromRawData(text.data() + runStart, runEnd - runStart),
                              plain);
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const DisplayLine& line = lines[i];
        const bool plainBreak =
            line.breakLength == 2 || (line.breakLength == 1 && breaks == Breaks::AsTyped);
        if (i == 0 || plainBreak) {
            runEnd = line.start + line.length;
            continue;
        }
        flush();
        const int kind = line.breakLength == 0 ? kNoBreak : text[line.start - 1].unicode();
        cursor.insertBlock(QTextBlockFormat(), breakFormat(kind));
        runStart = line.start;
        runEnd = line.start + line.length;
    }
    flush();
}

}  // namespace

TabBox::TabBox(QWidget* parent) : QPlainTextEdit(parent) {}

QString TabBox::exactText() const {
    const QTextDocument* doc = document();
    QString text;
    text.reserve(doc->characterCount() + doc->blockCount());
    BreakReader breaks(doc);
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block != doc->begin())
            text += breaks.before(block);
        text += block.text();
    }
    return text;
}

void TabBox::setExactText(const QString& text) {
    setPlainText(QString());                  // a new document: the caret at the start, no history
    setCurrentCharFormat(QTextCharFormat());  // not the mark of a break the caret was after
    QTextDocument* doc = document();
    const bool undoable = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    insertTabText(cursor, text, Breaks::AsTheyAre);
    cursor.endEditBlock();
    doc->setUndoRedoEnabled(undoable);
    moveCaretTo(0);
}

void TabBox::appendExact(const QString& text) {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    const int start = cursor.position();
    cursor.beginEditBlock();
    insertTabText(cursor, text, Breaks::AsTheyAre);
    cursor.endEditBlock();
    showFrom(start);
}

bool TabBox::isEmptyText() const {
    return document()->isEmpty();
}

void TabBox::keyPressEvent(QKeyEvent* event) {
    if (isReadOnly()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    QTextCursor caret = textCursor();
    if (event->matches(QKeySequence::InsertParagraphSeparator)) {
        // Qt's own Return gives the new break the mark at the caret, and the breaks of a
        // selection it replaces come back without theirs on undo.
        caret.insertBlock(QTextBlockFormat(), QTextCharFormat());
        setTextCursor(caret);
        ensureCursorVisible();
        event->accept();
        return;
    }

    // Where a long line is shown in pieces, the end of one piece and the start of the next are
    // one place in the text: keys delete and step over the characters on either side of it.
    const bool deletesBack =
        (event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier)) ||
        event->matches(QKeySequence::DeleteStartOfWord);
    const bool deletesOn =
        event->matches(QKeySequence::Delete) || event->matches(QKeySequence::DeleteEndOfWord);
    if (!caret.hasSelection() && deletesBack)
        moveCaretTo(firstPlaceAlike(caret.position()));
    else if (!caret.hasSelection() && deletesOn)
        moveCaretTo(lastPlaceAlike(caret.position()));
    QPlainTextEdit::keyPressEvent(event);

    const bool stepsBack = event->matches(QKeySequence::MoveToPreviousChar) ||
                           event->matches(QKeySequence::SelectPreviousChar);
    const bool stepsOn = event->matches(QKeySequence::MoveToNextChar) ||
                         event->matches(QKeySequence::SelectNextChar);
    const int before = caret.position();
    const int after = textCursor().position();
    if ((stepsBack && after < before && firstPlaceAlike(before) <= after) ||
        (stepsOn && after > before && lastPlaceAlike(before) >= after))
        QPlainTextEdit::keyPressEvent(event);  // that step only crossed a join
}

void TabBox::inputMethodEvent(QInputMethodEvent* event) {
    const int from = textCursor().selectionStart() + std::min(event->replacementStart(), 0);
    QPlainTextEdit::inputMethodEvent(event);
    const QString& committed = event->commitString();
    if (std::any_of(committed.cbegin(), committed.cend(),
                    [](QChar c) { return isParagraphBreak(c.unicode()); }))
        markNewBreaksCrLf(from, textCursor().position());
}

// The selection as plain text: a line break where the tab has one, nothing where the pieces of a
// long line join, and every other character as it is.
QMimeData* TabBox::createMimeDataFromSelection() const {
    const QTextCursor selection = textCursor();
    const int start = selection.selectionStart();
    const int end = selection.selectionEnd();
    QString text;
    BreakReader breaks(document());
    for (QTextBlock block = document()->findBlock(start);
         block.isValid() && block.position() <= end; block = block.next()) {
        if (block.position() > start && !breaks.joinsPieces(block))
            text += u'\n';
        const int from = std::max(start, block.position()) - block.position();
        const int to = std::min(end, block.position() + block.length() - 1) - block.position();
        text += QStringView(block.text()).mid(from, to - from);
    }
    auto* data = new QMimeData;
    data->setText(text);
    return data;
}

void TabBox::insertFromMimeData(const QMimeData* source) {
    if (isReadOnly() || !source || !source->hasText())
        return;
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    insertTabText(cursor, source->text(), Breaks::AsTyped);
    cursor.endEditBlock();
    setTextCursor(cursor);
}

void TabBox::markNewBreaksCrLf(int from, int to) {
    // A separator that Qt inserts takes the character format at the caret, which may be the
    // mark of the break before.
    QTextCursor cursor(document());
    bool editing = false;
    for (QTextBlock block = document()->findBlock(from).next();
         block.isValid() && block.position() <= to; block = block.next()) {
        if (!block.charFormat().hasProperty(kBreakProperty))
            continue;
        if (!editing)
            cursor.joinPreviousEditBlock();  // part of the user's own undo step
        editing = true;
        cursor.setPosition(block.position());
        cursor.setBlockCharFormat(QTextCharFormat());
    }
    if (editing)
        cursor.endEditBlock();
}

int TabBox::firstPlaceAlike(int position) const {
    BreakReader breaks(document());
    for (QTextBlock block = document()->findBlock(position);
         block.position() == position && breaks.joinsPieces(block); block = block.previous())
        --position;
    return position;
}

int TabBox::lastPlaceAlike(int position) const {
    BreakReader breaks(document());
    for (QTextBlock block = document()->findBlock(position);
         position == block.position() + block.length() - 1 && breaks.joinsPieces(block.next());
         block = block.next())
        ++position;
    return position;
}

void TabBox::moveCaretTo(int position) {
    QTextCursor caret = textCursor();
    if (caret.position() == position && !caret.hasSelection())
        return;
    caret.setPosition(position);
    setTextCursor(caret);
}

void TabBox::showFrom(int position) {
    const QTextBlock block = document()->findBlock(position);
    int line = block.firstLineNumber();
    if (const QTextLayout* layout = block.layout()) {
        const QTextLine inBlock = layout->lineForTextPosition(position - block.position());
        if (inBlock.isValid())
            line += inBlock.lineNumber();
    }
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(std::min(bar->maximum(), line));
}

}  // namespace fretloom
