#include "ui/MenuBarFocusReturn.h"

#include <QApplication>
#include <QFocusEvent>
#include <QMenuBar>

namespace fretloom {

MenuBarFocusReturn::MenuBarFocusReturn(QMenuBar* bar) : QObject(bar), bar_(bar) {
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now != bar_ && now->window() == bar_->window())
            last_ = now;
    });
    bar_->installEventFilter(this);
}

bool MenuBarFocusReturn::eventFilter(QObject* watched, QEvent* event) {
    // The menu bar takes the focus itself only for Alt; coming back with the window, it has
    // been left behind.
    if (watched == bar_ && event->type() == QEvent::FocusIn &&
        static_cast<QFocusEvent*>(event)->reason() == Qt::ActiveWindowFocusReason && last_ &&
        last_->isVisible() && last_->isEnabled()) {
        last_->setFocus(Qt::ActiveWindowFocusReason);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace fretloom
