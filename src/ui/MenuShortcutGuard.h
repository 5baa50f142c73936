#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

class QAction;
class QMainWindow;

namespace fretloom {

// Text boxes claim some Ctrl keys for editing (Ctrl+K deletes to the end of the line, and the
// platform theme may add more). Installed on a text box, this hands the keys of the window's
// menu commands back to the menus.
class MenuShortcutGuard : public QObject {
    Q_OBJECT

public:
    MenuShortcutGuard(const QList<QAction*>& actions, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QAction*> actions_;
};

// The commands of `window`: its own actions, and every one on its menu bar and in its menus, so
// that a command added to any menu is guarded too.
QList<QAction*> windowCommands(const QMainWindow& window);

}  // namespace fretloom
