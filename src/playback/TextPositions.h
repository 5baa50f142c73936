#pragma once

#include <QStringView>
#include <QtGlobal>
#include <vector>

namespace fretloom {

// Where the tab box shows each place of the tab text. The box holds the text's lines as blocks,
// a line too long to lay out at once as several, with one separator between two blocks that
// stands for a CR LF, for one other break character, or for nothing.
class BoxPositions {
public:
    // `blockLengths`: the box's blocks in order, read together with `text`.
    BoxPositions(QStringView text, const std::vector<qsizetype>& blockLengths);

    qsizetype toBox(qsizetype textOffset) const;
    qsizetype toText(qsizetype boxPosition) const;

private:
    struct Block {
        qsizetype text;  // where it starts in the text
        qsizetype box;   // and in the box
        qsizetype length;
    };
    std::vector<Block> blocks_;
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
