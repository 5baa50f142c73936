#pragma once

#include <QString>

namespace fretloom {

// Qt drops "[*]" from a window title (it marks where the modified star goes) and shows "[*][*]"
// as "[*]". Doubling every "[*]" makes the window show a title exactly as given.
QString escapeTitlePlaceholders(const QString& title);
QString unescapeTitlePlaceholders(const QString& title);

}  // namespace fretloom
