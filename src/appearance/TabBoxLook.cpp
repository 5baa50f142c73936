#include "appearance/TabBoxLook.h"

#include "sheet/DialogService.h"

#include <QFont>
#include <QFontInfo>
#include <QWidget>

namespace fretloom {

TabFont tabFontOf(const QFont& font) {
    // A font sized in pixels has no point size of its own; take the one it shows at.
    const double pointSize =
        font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
    return {font.family(), font.bold(), font.italic(), pointSize};
}

void applyTabFont(QFont& font, const TabFont& tabFont) {
    font.setFamily(tabFont.face);
    font.setBold(tabFont.bold);
    font.setItalic(tabFont.italic);
    if (tabFont.pointSize > 0)
        font.setPointSizeF(tabFont.pointSize);
}

void changeTabBoxFont(QWidget& box, DialogService& dialogs) {
    const TabFont current = tabFontOf(box.font());
    const std::optional<FontChoice> choice =
        dialogs.chooseFont({current.face, current.bold, current.italic, current.pointSize});
    if (!choice)
        return;
    QFont font = box.font();
    applyTabFont(font, {choice->family, choice->bold, choice->italic, choice->pointSize});
    box.setFont(font);
}

void changeTabBoxColour(QWidget& box, QPalette::ColorRole role, DialogService& dialogs) {
    const QColor current = box.palette().color(role);
    const std::optional<Rgb> choice =
        dialogs.chooseColor({current.red(), current.green(), current.blue()});
    if (!choice)
        return;
    QPalette palette = box.palette();
    palette.setColor(role, QColor(choice->red, choice->green, choice->blue));
    box.setPalette(palette);
}

}  // namespace fretloom
