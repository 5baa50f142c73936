#include "playback/CommandLineExport.h"

#include "documents/CommandLine.h"
#include "documents/FileSystem.h"
#include "documents/TabFiles.h"
#include "playback/Performance.h"

#include <cstdio>

namespace fretloom {

using namespace Qt::StringLiterals;

static_assert(kSlowestTempoOption == kMinBeatsPerMinute &&
                  kFastestTempoOption == kMaxBeatsPerMinute &&
                  kDefaultTempoOption == kDefaultBeatsPerMinute,
              "--tempo takes the tempos of Play > Tempo");

std::optional<QString> exportTabFile(const CommandLine& line, FileSystem& files) {
    const QString& out = line.exportTo;
    if (!out.endsWith(u".mid"_s, Qt::CaseInsensitive) &&
        !out.endsWith(u".midi"_s, Qt::CaseInsensitive))
        return u"Could not export to \"%1\": only .mid and .midi files can be written."_s.arg(out);
    const QString file = line.file.value_or(QString());
    const DecodedTab tab = readTabFile(files, file);
    if (!tab.problem.isEmpty())
        return u"Could not open \"%1\": %2"_s.arg(file, tab.problem);
    const WriteResult written = files.replaceFile(out, performTab(tab.text, line.tempo).midiFile);
    if (!written.ok)
        return u"Could not export to \"%1\": %2 Any file of that name was left as it was."_s.arg(
            out, written.reason);
    return std::nullopt;
}

int exportOnCommandLine(const CommandLine& line) {
    DiskFileSystem disk;
    const std::optional<QString> problem = exportTabFile(line, disk);
    if (!problem)
        return 0;
    // One line, whatever the reason holds.
    QString message = u"fretloom: "_s + *problem;
    message.replace(u'\n', u' ');
    std::fputs((message + u'\n').toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    return kExitFailure;
}

}  // namespace fretloom
