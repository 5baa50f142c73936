#pragma once

#include "playback/Playback.h"
#include "playback/TextPositions.h"

#include <QObject>
#include <QPointer>
#include <QTextEdit>
#include <optional>

class QPlainTextEdit;
class QTextDocument;

namespace fretloom {

// Where `box` shows each place of `text`, which it holds at this moment.
BoxPositions boxPositionsOf(const QPlainTextEdit& box, QStringView text);

// Shows the bar being heard in the tab box as an extra selection, and scrolls it into view. The
// user's text, caret, selection and undo history are never touched; the user may go on editing,
// and the marks follow the bar's text through the edits (text deleted is no longer marked).
class TabMarker : public QObject, public BarMarks {
    Q_OBJECT

public:
    explicit TabMarker(QPlainTextEdit* box);

    void begin(const QString& text) override;
    void mark(const std::vector<TextSpan>& spans) override;
    void end() override;

    // Tells this marker's extra selections from any other.
    static bool isMark(const QTextEdit::ExtraSelection& selection);

private:
    void recordEdit(int position, int removed, int added);
    void show(const QList<QTextEdit::ExtraSelection>& marks);
    void scrollIntoView(const QList<QTextEdit::ExtraSelection>& marks);

    QPlainTextEdit* box_;
    QPointer<QTextDocument> document_;  // the document the performance was taken from
    std::optional<BoxPositions> positions_;
    EditTrail edits_;
};

}  // namespace fretloom
