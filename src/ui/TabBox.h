#pragma once

#include <QPlainTextEdit>

namespace fretloom {

// The tab box. QPlainTextEdit::toPlainText() turns no-break spaces into spaces and every line
// break into LF; the tab must come back byte for byte, so the text goes in and out here.
// Breaks are CR LF; a lone CR, LF or paragraph separator is remembered on its block.
class TabBox : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TabBox(QWidget* parent = nullptr);

    QString exactText() const;
    // Replaces the whole document; the undo history starts afresh.
    void setExactText(const QString& text);
    // Adds text at the end as one undoable step, leaving the view, caret and history alone.
    void appendExact(const QString& text);
    bool isEmptyText() const;
};

}  // namespace fretloom
