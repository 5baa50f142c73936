#include "ui/ProgramIcon.h"

#include <QtGlobal>

// The icon lives in this static library's resources, which need registering by hand.
static void registerResources() {
    Q_INIT_RESOURCE(resources);
}

namespace fretloom {

QIcon programIcon() {
    static const QIcon icon = [] {
        registerResources();
        return QIcon(QStringLiteral(":/fretloom/fretloom.xpm"));
    }();
    return icon;
}

}  // namespace fretloom
