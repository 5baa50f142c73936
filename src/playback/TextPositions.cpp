#include "playback/TextPositions.h"

#include <algorithm>

namespace fretloom {

BoxPositions::BoxPositions(QStringView text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == u'\r' && text[i + 1] == u'\n') {
            boxBreaks_.push_back(i - static_cast<qsizetype>(crLfs_.size()));
            crLfs_.push_back(i);
            ++i;
        }
    }
}

qsizetype BoxPositions::toBox(qsizetype textOffset) const {
    // Each CR LF wholly before the offset is one character shorter in the box.
    const auto before = std::lower_bound(crLfs_.begin(), crLfs_.end(), textOffset - 1);
    return textOffset - (before - crLfs_.begin());
}

qsizetype BoxPositions::toText(qsizetype boxPosition) const {
    const auto before = std::lower_bound(boxBreaks_.begin(), boxBreaks_.end(), boxPosition);
    return boxPosition + (before - boxBreaks_.begin());
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
