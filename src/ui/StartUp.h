#pragma once

#include <QString>
#include <optional>

namespace fretloom {

class MainWindow;

// Shows the main window as the program starts: as built, untitled, or with `file` opened the
// way File > Open opens the file chosen in its dialog. A file that cannot be read gets Open's
// warning over the window, which stays empty and untitled.
void showAtStart(MainWindow& window, const std::optional<QString>& file);

}  // namespace fretloom
