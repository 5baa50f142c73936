#include "playback/MidiExport.h"

#include "documents/FileSystem.h"
#include "playback/Performance.h"
#include "sheet/DialogService.h"

namespace fretloom {

using namespace Qt::StringLiterals;

QString midiPathFor(const QString& tabPath) {
    if (tabPath.isEmpty())
        return {};
    QString path = tabPath;
    if (path.endsWith(u".txt"_s, Qt::CaseInsensitive))
        path.chop(4);
    return path + u".mid"_s;
}

bool exportMidi(QStringView tabText, int beatsPerMinute, const QString& tabPath,
                DialogService& dialogs, FileSystem& files) {
    const std::optional<QString> chosen =
        dialogs.chooseFileToSave({QString::fromUtf16(kMidiFileFilter), midiPathFor(tabPath)});
    if (!chosen)
        return false;
    const Performance performance = performTab(tabText, beatsPerMinute);
    const WriteResult written = files.replaceFile(*chosen, performance.midiFile);
    if (!written.ok) {
        dialogs.warn(u"Export MIDI"_s,
                     u"Could not export the tab to \"%1\".\n\n%2\nAny file of that name was left "
                     u"as it was."_s.arg(*chosen, written.reason));
        return false;
    }
    return true;
}

}  // namespace fretloom
