#pragma once

class QAction;
class QMenu;
class QObject;
class QWidget;

namespace fretloom {

class ConvertCommand;
class DialogService;
class FileCommands;
class MainWindow;
class PlayMenu;

// The menus whose commands come from several subsystems, with their items in the order the
// window's design gives. Each command is made beside what it drives; these only place them.

// Open, Save, Save As, Export MIDI (at the Play menu's tempo) and Print.
QMenu* fileMenu(MainWindow& window, FileCommands& files, const PlayMenu& play, QWidget* parent);
// Change Font, Change String Notes, Back Ground, Text Color, Hide Tab Box, the instrument's
// convert item and Clear All.
QMenu* formatMenu(MainWindow& window, ConvertCommand& convert, QWidget* parent);

// The menu bar's About entry: the About box.
QAction* aboutCommand(DialogService& dialogs, QObject* parent);

}  // namespace fretloom
