#include "tuning/StringNotes.h"

namespace fretloom {

QString noteBoxName(Row row) {
    return rowPrefix(row);
}

RowCaptions defaultNotes() {
    return standardCaptions();
}

std::vector<CaptionChange> changeStringNotes(const RowCaptions& boxes) {
    std::vector<CaptionChange> changes;
    changes.reserve(kStringCount);
    for (Row row : kAllRows)
        changes.push_back({row, boxes[index(row)]});
    return changes;
}

}  // namespace fretloom
