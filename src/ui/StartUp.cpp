#include "ui/StartUp.h"

#include "documents/TabFiles.h"
#include "ui/MainWindow.h"

namespace fretloom {

void showAtStart(MainWindow& window, const std::optional<QString>& file) {
    // Shown first, so a warning has the window to stand over; the text still reaches the tab
    // box before the first paint.
    window.show();
    if (file)
        window.tabFiles().openFile(*file);
}

}  // namespace fretloom
