#pragma once

namespace fretloom {

// Makes the application's style read the icon of a menu bar's overflow button only when that
// button is first drawn. Qt reads the icon from a PNG as each menu bar is built, and reading an
// image by its file name loads every image format plugin installed, to ask each whether it knows
// the file: a cost at every start for a button that shows only when the menus do not fit.
// Call once, after the QApplication is made and before the first window.
void readMenuBarIconWhenDrawn();

}  // namespace fretloom
