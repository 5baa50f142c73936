#include "widgets/PlaceBeside.h"

#include "sheet/WindowPlacement.h"

#include <QScreen>
#include <QWidget>

namespace fretloom {

void placeBeside(QWidget& window, const QWidget* main) {
    if (!main || !main->isVisible())
        return;
    const QScreen* screen = main->screen();
    if (!screen)
        return;
    // The window's own frame is drawn only once it is shown; the main window's, drawn by the same
    // window manager with the same buttons, stands in for it.
    const QRect mainFrame = main->frameGeometry();
    const QSize frame = window.size() + (mainFrame.size() - main->size());
    window.move(frameBeside(mainFrame, frame, screen->availableGeometry()));
}

}  // namespace fretloom
