#pragma once

#include <QFont>

namespace fretloom {

// The small sans-serif face the window layouts were drawn up for; captions such as "Number:"
// fit their labels in it. The face ships with the program, so it is there on every machine.
QFont dialogFont();

}  // namespace fretloom
