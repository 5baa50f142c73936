#include "ui/Menus.h"

#include "appearance/AppearanceCommands.h"
#include "documents/FileCommands.h"
#include "instruments/ConvertCommand.h"
#include "playback/ExportMidiCommand.h"
#include "sheet/DialogService.h"
#include "tuning/StringNotesCommand.h"
#include "ui/MainWindow.h"
#include "widgets/MenuCommand.h"

#include <QAction>
#include <QMenu>

namespace fretloom {

using namespace Qt::StringLiterals;

QMenu* fileMenu(MainWindow& window, FileCommands& files, const PlayMenu& play, QWidget* parent) {
    QMenu* menu = makeMenu(u"File"_s, u"Open, save, export and print the tab"_s, parent);
    auto* exportMidi =
        new ExportMidiCommand(window, play, files.tabFiles(), files.fileSystem(), menu);
    menu->addActions({files.openCommand(), files.saveCommand(), files.saveAsCommand(), exportMidi,
                      files.printCommand()});
    return menu;
}

QMenu* formatMenu(MainWindow& window, ConvertCommand& convert, QWidget* parent) {
    QMenu* menu = makeMenu(u"Format"_s,
                           u"The tab box's font, colours and visibility, the string names, "
                           u"the instrument, and clearing the grid"_s,
                           parent);
    auto* look = new AppearanceCommands(window, menu);
    QAction* clearAll =
        makeCommand(menu, "deldel", u"Clear All"_s, QKeySequence(Qt::CTRL | Qt::Key_K));
    QObject::connect(clearAll, &QAction::triggered, &window, &MainWindow::clearGrid);
    menu->addActions({look->changeFontCommand(), new StringNotesCommand(window, menu),
                      look->backgroundCommand(), look->textColourCommand(),
                      look->hideTabBoxCommand(), &convert, clearAll});
    return menu;
}

QAction* aboutCommand(DialogService& dialogs, QObject* parent) {
    QAction* about = makeCommand(parent, "About", u"About"_s);
    QObject::connect(about, &QAction::triggered, parent, [&dialogs] {
        dialogs.showAbout(u"About"_s, u"Fretloom, the plain-text tab editor, was written by the "
                                      u"Fretloom developers:\r\n"
                                      u"Questions and ideas are welcome on the project's issue "
                                      u"tracker."_s);
    });
    return about;
}

}  // namespace fretloom
