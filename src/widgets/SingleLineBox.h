#pragma once

#include <optional>

class QLineEdit;

namespace fretloom {

// Keeps `box` to one line of at most `maxCharacters` characters (any number when none is
// given), however text reaches it: typed, pasted, dropped, or written by the program, whose texts
// always fit. The rule is fitSingleLine(); an edit of which nothing fits is refused whole, as a
// full box refuses a key, and leaves the box's undo history as it was.
void keepToOneLine(QLineEdit* box, std::optional<int> maxCharacters = std::nullopt);

}  // namespace fretloom
