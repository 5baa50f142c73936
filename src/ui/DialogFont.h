#pragma once

#include <QFont>

namespace fretloom {

// The small sans-serif face the window layouts were drawn up for; captions such as "Number:"
// fit their labels in it.
inline QFont dialogFont() {
    QFont font(QStringLiteral("Liberation Sans"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace fretloom
