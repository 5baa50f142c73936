#include "playback/TextPositions.h"

#include "sheet/LineBreaks.h"

#include <algorithm>

namespace fretloom {

BoxPositions::BoxPositions(QStringView text, const std::vector<qsizetype>& blockLengths) {
    qsizetype inText = 0;
    qsizetype inBox = 0;
    for (const qsizetype length : blockLengths) {
        blocks_.push_back({inText, inBox, length});
        inText += length;
        inBox += length + 1;
        // What the separator after the block stands for: no line holds a break of its own.
        if (inText + 1 < text.size() && text[inText] == u'\r' && text[inText + 1] == u'\n')
            inText += 2;
        else if (inText < text.size() && isParagraphBreak(text[inText].unicode()))
            inText += 1;
    }
}

qsizetype BoxPositions::toBox(qsizetype textOffset) const {
    const auto after = std::upper_bound(blocks_.begin(), blocks_.end(), textOffset,
                                        [](qsizetype o, const Block& b) { return o < b.text; });
    if (after == blocks_.begin())
        return textOffset;
    const Block& block = *(after - 1);
    // A place inside a break is the end of the line before it.
    return block.box + std::min(textOffset - block.text, block.length);
}

qsizetype BoxPositions::toText(qsizetype boxPosition) const {
    const auto after = std::upper_bound(blocks_.begin(), blocks_.end(), boxPosition,
                                        [](qsizetype p, const Block& b) { return p < b.box; });
    if (after == blocks_.begin())
        return boxPosition;
    const Block& block = *(after - 1);
    return block.text + std::min(boxPosition - block.box, block.length);
}

void EditTrail::record(qsizetype position, qsizetype removed, qsizetype added) {
    edits_.push_back({position, removed, added});
}

EditTrail::Stretch EditTrail::carry(Stretch stretch) const {
    for (const Edit& edit : edits_) {
        const qsizetype removedEnd = edit.position + edit.removed;
        const qsizetype shift = edit.added - edit.removed;
        // The start moves past text put in at it; the end does not take in text put in at it.
        if (stretch.start >= edit.position)
            stretch.start =
                stretch.start <= removedEnd ? edit.position + edit.added : stretch.start + shift;
        if (stretch.end > edit.position)
            stretch.end = stretch.end >= removedEnd ? stretch.end + shift : edit.position;
    }
    return stretch;
}

}  // namespace fretloom
