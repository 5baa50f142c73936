#include "widgets/ProgramIcon.h"

#include <QPixmap>

// The drawing is compiled in and read directly: made from a file, the icon would go through the
// image reader, which first asks Qt's image format plugins what the file holds.
#include "resources/fretloom.xpm"

namespace fretloom {

QIcon programIcon() {
    static const QIcon icon{QPixmap(fretloom_xpm)};
    return icon;
}

}  // namespace fretloom
