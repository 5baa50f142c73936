#pragma once

#include "sheet/Grid.h"

#include <QString>

namespace fretloom {

// What a screen reader says for a grid cell: the string as its row label shows it, then the
// column, as in "string e, column 1". A row label left blank still leaves the cell findable by
// the string's number, counted from the top string as players count them:
// "unnamed string 2, column 1".
QString accessibleCellName(const QString& caption, Row row, int column);

// Standard tuning names the top and bottom strings "e" and "E", which a screen reader speaks
// alike; the description tells them apart by position: "string 1 of 6, the highest".
QString accessibleCellDescription(Row row);

}  // namespace fretloom
