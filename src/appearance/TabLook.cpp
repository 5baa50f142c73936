#include "appearance/TabLook.h"

namespace fretloom {

using namespace Qt::StringLiterals;

TabFont startTabFont() {
    return {u"Times New Roman"_s, true, false, 12.0};
}

PrinterFont printerFont(const TabFont& tabFont) {
    return {tabFont.face, tabFont.pointSize};
}

}  // namespace fretloom
