#pragma once

#include <QIcon>

namespace fretloom {

// The 32 x 32 icon that all of the program's windows carry.
QIcon programIcon();

}  // namespace fretloom
