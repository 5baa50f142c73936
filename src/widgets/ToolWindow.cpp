#include "widgets/ToolWindow.h"

#include <QAccessibleWidget>
#include <QKeyEvent>

namespace fretloom {

namespace {

// Qt calls any window that is not a QDialog or QMainWindow a "filler".
QAccessibleInterface* dialogs(const QString& className, QObject* object) {
    if (className != QLatin1StringView(ToolWindow::staticMetaObject.className()))
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Dialog);
}

}  // namespace

ToolWindow::ToolWindow(QWidget* owner) : QWidget(owner) {
    static const bool installed = [] {
        QAccessible::installFactory(dialogs);
        return true;
    }();
    Q_UNUSED(installed);

    // Not a QDialog: that would select the text of the focused box each time it shows.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
}

void ToolWindow::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel))
        close();
    else
        QWidget::keyPressEvent(event);
}

void bringForward(QWidget* window) {
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace fretloom
