#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace fretloom {

// The top-left corner for the frame of a secondary window, `frame` in size, beside the main
// window's frame `mainFrame` and wholly inside `room`, the free area of the screen that holds the
// main window. Right of the main window, else left of it, below or above it, with tops or left
// edges lined up as far as the room allows. Where no side has room, the place in the room that
// covers the least of the main window (usually its tab box rather than the grid and buttons). A
// window larger than the room keeps its top-left corner in it, so its title bar can be reached.
QPoint frameBeside(const QRect& mainFrame, QSize frame, const QRect& room);

}  // namespace fretloom
