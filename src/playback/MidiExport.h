#pragma once

#include <QString>
#include <QStringView>

namespace fretloom {

class DialogService;
class FileSystem;

inline constexpr char16_t kMidiFileFilter[] = u"MIDI Files (*.mid)";

// Where the save dialog of Export MIDI opens: beside the tab's file, under its name with ".mid"
// for ".txt"; nowhere in particular while the tab has no file.
QString midiPathFor(const QString& tabPath);

// Export MIDI: asks for a file in the save dialog and writes the MIDI file of the whole tab at
// `beatsPerMinute` there in one step, as Save writes a tab. A failed write is shown as a warning
// naming the file and the reason, and leaves any file of that name as it was. True when written.
bool exportMidi(QStringView tabText, int beatsPerMinute, const QString& tabPath,
                DialogService& dialogs, FileSystem& files);

}  // namespace fretloom
