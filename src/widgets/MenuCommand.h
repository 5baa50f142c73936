#pragma once

#include <QKeySequence>
#include <QString>

class QAction;
class QMenu;
class QObject;
class QWidget;

namespace fretloom {

// A menu command as the window's design has it: its name as object name, its caption and its
// shortcut (none when empty).
void setUpCommand(QAction& action, const char* name, const QString& caption,
                  const QKeySequence& shortcut = {});
QAction* makeCommand(QObject* parent, const char* name, const QString& caption,
                     const QKeySequence& shortcut = {});

// A drop-down menu of the menu bar, named by its caption, telling screen readers what it holds.
void setUpMenu(QMenu& menu, const QString& description);
QMenu* makeMenu(const QString& caption, const QString& description, QWidget* parent);

}  // namespace fretloom
