#include "ui/ProgramIcon.h"

#include <QPixmap>

// The drawing is compiled in: made from a file, the icon would have Qt look through and load
// its image format plugins at start to find out what the file holds.
#include "resources/fretloom.xpm"

namespace fretloom {

QIcon programIcon() {
    static const QIcon icon{QPixmap(fretloom_xpm)};
    return icon;
}

}  // namespace fretloom
