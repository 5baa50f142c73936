#pragma once

#include "playback/TabReading.h"

#include <QStringView>
#include <optional>

namespace fretloom {

// The cells of a line as Enter writes it: a name of up to two characters, two spaces, "|-", the
// sixteen cells each followed by "-", then "|". `line` starts with the line's first character,
// which lies at `offset` in the text; `bar` is the index of its first '|'.
std::optional<CellLine> enterCells(QStringView line, qsizetype bar, qsizetype offset);

}  // namespace fretloom
