#pragma once

#include <QWidget>

namespace fretloom {

// A modeless window of the program's beside the main window: the chord picker and the string
// notes window. It is a dialog of `owner`'s, so that window managers keep it with its owner
// and screen readers call it a dialog, by its accessible name, whatever its title. Escape
// closes it, as it closes any tool window, and closing discards it.
class ToolWindow : public QWidget {
    Q_OBJECT

public:
    explicit ToolWindow(QWidget* owner);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Shows a modeless window of the program's, restored if minimized, in front and active.
void bringForward(QWidget* window);

}  // namespace fretloom
