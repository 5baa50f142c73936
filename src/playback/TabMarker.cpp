#include "playback/TabMarker.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

namespace fretloom {

namespace {

// Set on this marker's extra selections, so that those of others are left alone.
constexpr int kMarkProperty = QTextFormat::UserProperty + 0x504c;
// The highlight colour shows through, over whatever background the user chose.
constexpr int kMarkAlpha = 96;

}  // namespace

BoxPositions boxPositionsOf(const QPlainTextEdit& box, QStringView text) {
    std::vector<qsizetype> lengths;
    const QTextDocument* document = box.document();
    lengths.reserve(static_cast<std::size_t>(document->blockCount()));
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        lengths.push_back(block.length() - 1);
    return BoxPositions(text, lengths);
}

TabMarker::TabMarker(QPlainTextEdit* box) : QObject(box), box_(box) {}

bool TabMarker::isMark(const QTextEdit::ExtraSelection& selection) {
    return selection.format.boolProperty(kMarkProperty);
}

void TabMarker::begin(const QString& text) {
    end();
    document_ = box_->document();
    positions_.emplace(boxPositionsOf(*box_, text));
    connect(document_, &QTextDocument::contentsChange, this, &TabMarker::recordEdit);
}

void TabMarker::end() {
    if (document_)
        disconnect(document_, nullptr, this, nullptr);
    document_ = nullptr;
    positions_.reset();
    edits_.clear();
    show({});
}

void TabMarker::recordEdit(int position, int removed, int added) {
    edits_.record(position, removed, added);
}

void TabMarker::mark(const std::vector<TextSpan>& spans) {
    // A box that was given another document no longer holds the text being played.
    if (!positions_ || !document_ || document_ != box_->document()) {
        show({});
        return;
    }
    QColor colour = box_->palette().color(QPalette::Highlight);
    colour.setAlpha(kMarkAlpha);
    const qsizetype last = document_->characterCount() - 1;
    QList<QTextEdit::ExtraSelection> marks;
    for (const TextSpan& span : spans) {
        EditTrail::Stretch stretch = edits_.carry(
            {positions_->toBox(span.start), positions_->toBox(span.start + span.length)});
        stretch.start = std::clamp<qsizetype>(stretch.start, 0, last);
        stretch.end = std::clamp<qsizetype>(stretch.end, 0, last);
        if (stretch.isEmpty())
            continue;
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(document_);
        selection.cursor.setPosition(static_cast<int>(stretch.start));
        selection.cursor.setPosition(static_cast<int>(stretch.end), QTextCursor::KeepAnchor);
        selection.format.setBackground(colour);
        selection.format.setProperty(kMarkProperty, true);
        marks.append(selection);
    }
    show(marks);
    scrollIntoView(marks);
}

void TabMarker::show(const QList<QTextEdit::ExtraSelection>& marks) {
    QList<QTextEdit::ExtraSelection> selections = box_->extraSelections();
    const auto mine = std::remove_if(selections.begin(), selections.end(), &TabMarker::isMark);
    if (mine == selections.end() && marks.isEmpty())
        return;
    selections.erase(mine, selections.end());
    box_->setExtraSelections(selections + marks);
}

void TabMarker::scrollIntoView(const QList<QTextEdit::ExtraSelection>& marks) {
    if (marks.isEmpty())
        return;
    QTextCursor top(document_);
    top.setPosition(marks.front().cursor.selectionStart());
    QTextCursor bottom(document_);
    bottom.setPosition(marks.back().cursor.selectionEnd());
    const QRect view = box_->viewport()->rect();
    if (view.contains(box_->cursorRect(top)) && view.contains(box_->cursorRect(bottom)))
        return;
    // The box scrolls by lines, wrapped ones included: the bar's first line goes to the top.
    const QTextBlock block = top.block();
    int line = block.firstLineNumber();
    if (const QTextLayout* layout = block.layout()) {
        const QTextLine within = layout->lineForTextPosition(top.positionInBlock());
        if (within.isValid())
            line += within.lineNumber();
    }
    box_->verticalScrollBar()->setValue(line);
}

}  // namespace fretloom
