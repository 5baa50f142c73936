#pragma once

namespace fretloom {

// Qt names a drop-down list after its current text on Linux, so a screen reader announces the
// chord picker's column box as "1". Once this is called, a drop-down list that is given an
// accessible name keeps that name, and its text is read as its value and from its edit field.
// Give the name before anything else of the box is set: Qt keeps the first interface it makes.
void keepComboBoxNamesFixed();

}  // namespace fretloom
