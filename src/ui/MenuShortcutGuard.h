#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

class QAction;

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

}  // namespace fretloom
