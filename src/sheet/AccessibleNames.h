#pragma once

#include "sheet/Grid.h"

#include <QString>
#include <array>
#include <vector>

namespace fretloom {

// How a screen reader speaks of one string's cells.
struct StringVoice {
    // The string as its row label shows it: "string e". A label left blank leaves the string
    // findable by its number, counted from the top string on screen as players count them:
    // "unnamed string 2".
    QString name;
    // Where the string lies among those on screen: "string 1 of 4, the highest". Strings whose
    // names a screen reader speaks alike ("D" twice, or "e" and "E") are told apart by which of
    // them is the higher.
    QString description;

    bool operator==(const StringVoice&) const = default;
};

// The voices of the six strings, top to bottom, under the row labels' `captions` with the
// strings `shown` on screen (top to bottom) by the instrument. A string that is not shown keeps
// its name and says that it is not in use.
std::array<StringVoice, kStringCount> stringVoices(const RowCaptions& captions,
                                                   const std::vector<Row>& shown);

// What a screen reader says for a grid cell: its string, then the column, as in
// "string e, column 1".
QString accessibleCellName(const StringVoice& string, int column);

}  // namespace fretloom
