#pragma once

class QWidget;

namespace fretloom {

// Places `window`, which has its size but has not been shown yet, beside `main` and wholly on the
// screen that holds it, by frame geometry (frameBeside()). Nothing happens while `main` is not
// shown. Called before the first show, so that the window system puts the frame, title bar
// included, at the point rather than the client area.
void placeBeside(QWidget& window, const QWidget* main);

}  // namespace fretloom
