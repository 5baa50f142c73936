#pragma once

#include <QObject>
#include <QPointer>

class QMenuBar;
class QWidget;

namespace fretloom {

// Alt takes the keyboard to the menu bar. A command chosen there that opens another window
// (About, the chord picker) takes the keyboard away, and Qt then leaves the menu bar as the
// window's focus widget, where nothing can be typed. Installed on the menu bar, this hands the
// focus back to the control that last had it when the window is active again.
class MenuBarFocusReturn : public QObject {
    Q_OBJECT

public:
    explicit MenuBarFocusReturn(QMenuBar* bar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMenuBar* bar_;
    QPointer<QWidget> last_;
};

}  // namespace fretloom
