#include "widgets/DialogFont.h"

#include <QFontDatabase>
#include <QFontInfo>

// The face lives in this static library's resources, which need registering by hand.
static void registerResources() {
    Q_INIT_RESOURCE(resources);
}

namespace fretloom {

namespace {

bool addShippedFace() {
    registerResources();
    return QFontDatabase::addApplicationFont(
               QStringLiteral(":/fretloom/fonts/LiberationSans-Regular.ttf")) >= 0;
}

}  // namespace

QFont dialogFont() {
    QFont font(QStringLiteral("Liberation Sans"), 8);
    font.setStyleHint(QFont::SansSerif);
    // Where the machine lacks the face, fontconfig stands in a wider one and "Number:" shows as
    // "Numbe"; the program then adds the copy it carries. Looking costs nothing: the labels need
    // the face loaded anyway.
    static const bool present = QFontInfo(font).family() == font.family() || addShippedFace();
    Q_UNUSED(present)
    return font;
}

}  // namespace fretloom
