#pragma once

#include <QString>

namespace fretloom {

// The main window's client area is this high while the tab box shows ...
inline constexpr int kShownClientHeight = 6915;
// ... and this high while it is hidden: the column numbers, the grid and its buttons stay in
// view, the tab box (top edge at 3360) lies below the visible area.
inline constexpr int kHiddenClientHeight = 3300;

// The client height, in twips, for the Hide Tab Box check mark.
constexpr int clientHeight(bool tabBoxHidden) {
    return tabBoxHidden ? kHiddenClientHeight : kShownClientHeight;
}

// What Change Font presets the font dialog with and copies back into the tab box font; every
// other property of the tab box font stays as it is.
struct TabFont {
    QString face;
    bool bold = false;
    bool italic = false;
    double pointSize = 12.0;

    bool operator==(const TabFont&) const = default;
};

// The tab box's font when the program starts.
TabFont startTabFont();

// What the printer takes from the tab box font: the face name and the size. The printout is in
// normal weight and upright whatever the tab box shows.
struct PrinterFont {
    QString face;
    double pointSize = 12.0;

    bool operator==(const PrinterFont&) const = default;
};

PrinterFont printerFont(const TabFont& tabFont);

}  // namespace fretloom
