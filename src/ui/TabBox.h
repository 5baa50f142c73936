#pragma once

#include <QPlainTextEdit>

namespace fretloom {

// The tab box. QPlainTextEdit::toPlainText() turns no-break spaces into spaces and every line
// break into LF; the tab must come back byte for byte, so the text goes in and out here.
// Breaks are CR LF; a lone CR, LF or paragraph separator keeps its place through every edit,
// and a line too long to be laid out at once is shown in pieces that stay one line of the tab.
class TabBox : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TabBox(QWidget* parent = nullptr);

    QString exactText() const;
    // Replaces the whole document; the undo history starts afresh.
    void setExactText(const QString& text);
    // Adds text at the end as one undoable step and scrolls it into view, leaving the caret,
    // the selection and the history alone.
    void appendExact(const QString& text);
    bool isEmptyText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // The breaks between `from` and `to` were just made by the user: they are CR LF.
    void markNewBreaksCrLf(int from, int to);
    // Where the caret may stand as well, with nothing but the joins of a long line's pieces
    // between: the first such place, or the last.
    int firstPlaceAlike(int position) const;
    int lastPlaceAlike(int position) const;
    void moveCaretTo(int position);
    // Scrolls so that the text from `position` to the end shows, or as much of it as fits from
    // the line that holds `position`.
    void showFrom(int position);
};

}  // namespace fretloom
