#include "playback/ExportMidiCommand.h"

#include "documents/TabFiles.h"
#include "playback/MidiExport.h"
#include "playback/PlayMenu.h"
#include "sheet/SheetWindow.h"
#include "widgets/MenuCommand.h"

namespace fretloom {

using namespace Qt::StringLiterals;

ExportMidiCommand::ExportMidiCommand(SheetWindow& sheet, const PlayMenu& play,
                                     const TabFiles& tabFiles, FileSystem& files, QObject* parent)
    : QAction(parent), sheet_(sheet), play_(play), tabFiles_(tabFiles), files_(files) {
    setUpCommand(*this, "xport1", u"Export MIDI\u2026"_s, QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(this, &QAction::triggered, this, &ExportMidiCommand::exportFile);
}

void ExportMidiCommand::exportFile() {
    exportMidi(sheet_.tabText(), play_.beatsPerMinute(), tabFiles_.currentPath(), sheet_.dialogs(),
               files_);
}

}  // namespace fretloom
