#include "widgets/MenuCommand.h"

#include <QAction>
#include <QMenu>

namespace fretloom {

void setUpCommand(QAction& action, const char* name, const QString& caption,
                  const QKeySequence& shortcut) {
    action.setObjectName(QString::fromLatin1(name));
    action.setText(caption);
    action.setShortcut(shortcut);
}

QAction* makeCommand(QObject* parent, const char* name, const QString& caption,
                     const QKeySequence& shortcut) {
    auto* action = new QAction(parent);
    setUpCommand(*action, name, caption, shortcut);
    return action;
}

void setUpMenu(QMenu& menu, const QString& description) {
    menu.setObjectName(menu.title());
    menu.setAccessibleName(menu.title());
    menu.setAccessibleDescription(description);
}

QMenu* makeMenu(const QString& caption, const QString& description, QWidget* parent) {
    auto* menu = new QMenu(caption, parent);
    setUpMenu(*menu, description);
    return menu;
}

}  // namespace fretloom
