#pragma once

class QWidget;

namespace fretloom {

// Return and the keypad's Enter press the focused push button of `window`, as Space does. No
// button is a default button, so Return anywhere else (in a grid cell, a box) presses nothing,
// whether the window is a plain window or a dialog: a dialog presses only its default button.
// Call once the window's buttons exist.
void pressFocusedButtonOnReturn(QWidget* window);

}  // namespace fretloom
