#pragma once

#include "sheet/Grid.h"

#include <QString>
#include <array>
#include <vector>

namespace fretloom {

// The string notes window renames the strings: one box per string row, named by the row's
// prefix ("e" for the top string down to "f" for the bottom one), each at most
// kCellMaxLength characters.
QString noteBoxName(Row row);

// Standard tuning, by row: what a new window's boxes hold and what Default puts back.
RowCaptions defaultNotes();

// Keyboard order of the boxes: the bottom string first, as a player reads up the neck.
inline constexpr std::array<Row, kStringCount> kNoteBoxFocusOrder = {Row::f, Row::a, Row::d,
                                                                     Row::g, Row::b, Row::e};

struct CaptionChange {
    Row row;
    QString caption;

    bool operator==(const CaptionChange&) const = default;
};

// Change: the new row label captions, box by box from the top string down. Each box's text is
// taken as it is (an empty box gives an empty caption); rows hidden by the instrument mode are
// renamed too.
std::vector<CaptionChange> changeStringNotes(const RowCaptions& boxes);

}  // namespace fretloom
