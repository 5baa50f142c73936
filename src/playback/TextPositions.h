#pragma once

#include <QStringView>
#include <QtGlobal>
#include <vector>

namespace fretloom {

// The tab box's document holds each CR LF of the tab text as one paragraph break (other breaks
// stay one character), so its positions fall behind the text's offsets by the CR LFs before them.
class BoxPositions {
public:
    explicit BoxPositions(QStringView text);

    qsizetype toBox(qsizetype textOffset) const;
    qsizetype toText(qsizetype boxPosition) const;

private:
    std::vector<qsizetype> crLfs_;      // text offset of the CR of each CR LF
    std::vector<qsizetype> boxBreaks_;  // the box position of each
};

// Where a stretch of a text has gone while the text is being edited: every edit is recorded as
// it happens, and a stretch taken before them is carried through all of them. Text typed at
// either edge stays outside the stretch; text deleted from it is gone from it.
class EditTrail {
public:
    void record(qsizetype position, qsizetype removed, qsizetype added);
    void clear() { edits_.clear(); }

    struct Stretch {
        qsizetype start = 0;
        qsizetype end = 0;
        bool isEmpty() const { return end <= start; }
    };
    Stretch carry(Stretch stretch) const;

private:
    struct Edit {
        qsizetype position;
        qsizetype removed;
        qsizetype added;
    };
    std::vector<Edit> edits_;
};

}  // namespace fretloom
