#include "ui/MenuShortcutGuard.h"

#include <QAction>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace fretloom {

MenuShortcutGuard::MenuShortcutGuard(const QList<QAction*>& actions, QObject* parent)
    : QObject(parent), actions_(actions) {}

bool MenuShortcutGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (const QAction* action : actions_) {
        if (action->isEnabled() && !action->shortcut().isEmpty() &&
            action->shortcut().matches(pressed) == QKeySequence::ExactMatch) {
            // Not accepting the override lets the shortcut map trigger the menu command.
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QList<QAction*> windowCommands(const QMainWindow& window) {
    QList<QAction*> commands = window.actions();
    QList<QAction*> pending = window.menuBar()->actions();
    while (!pending.isEmpty()) {
        QAction* action = pending.takeFirst();
        commands.append(action);
        if (const QMenu* menu = action->menu())
            pending.append(menu->actions());
    }
    return commands;
}

}  // namespace fretloom
