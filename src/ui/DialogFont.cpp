#include "ui/DialogFont.h"

#include <QFontDatabase>

// The face lives in this static library's resources, which need registering by hand.
static void registerResources() {
    Q_INIT_RESOURCE(resources);
}

namespace fretloom {

QFont dialogFont() {
    // Without it a machine's fontconfig stands in a wider face, and "Number:" shows as "Numbe".
    static const bool added = [] {
        registerResources();
        return QFontDatabase::addApplicationFont(
                   QStringLiteral(":/fretloom/fonts/LiberationSans-Regular.ttf")) >= 0;
    }();
    Q_UNUSED(added)
    QFont font(QStringLiteral("Liberation Sans"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace fretloom
