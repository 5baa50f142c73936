#pragma once

#include "appearance/TabLook.h"

#include <QPalette>

class QFont;
class QWidget;

namespace fretloom {

class DialogService;

TabFont tabFontOf(const QFont& font);
// Sets face, bold, italic and size; the font keeps everything else.
void applyTabFont(QFont& font, const TabFont& tabFont);

// Change Font: the font dialog, preset from the box's font; a confirmed choice becomes the box's
// face, bold, italic and size. Cancel changes nothing.
void changeTabBoxFont(QWidget& box, DialogService& dialogs);

// Back Ground (QPalette::Base) and Text Color (QPalette::Text): the colour dialog, preset with
// the box's colour in that role; a confirmed colour takes its place. Cancel changes nothing.
void changeTabBoxColour(QWidget& box, QPalette::ColorRole role, DialogService& dialogs);

}  // namespace fretloom
