#pragma once

#include <QAction>

namespace fretloom {

class FileSystem;
class PlayMenu;
class SheetWindow;
class TabFiles;

// xport1, in the File menu: the whole tab as a MIDI file at the Play menu's tempo, offered
// beside the tab's own file.
class ExportMidiCommand : public QAction {
    Q_OBJECT

public:
    ExportMidiCommand(SheetWindow& sheet, const PlayMenu& play, const TabFiles& tabFiles,
                      FileSystem& files, QObject* parent);

private:
    void exportFile();

    SheetWindow& sheet_;
    const PlayMenu& play_;
    const TabFiles& tabFiles_;
    FileSystem& files_;
};

}  // namespace fretloom
