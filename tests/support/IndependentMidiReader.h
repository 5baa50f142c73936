#pragma once

// What mido, a MIDI library that shares no code with ours, reads in a MIDI file: one fact a line
// (see playback/read_midi.py), so that tests write the expected file out by hand.

#include "chords/PrintQString.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace fretloom::testing {

inline QStringList readIndependently(const QByteArray& midi) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("tab.mid"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(midi) != midi.size())
        return {QStringLiteral("<not written>")};
    file.close();
    QProcess reader;
    reader.start(QStringLiteral(FRETLOOM_DEBIAN_PYTHON),
                 {QStringLiteral(FRETLOOM_MIDI_READER), path});
    if (!reader.waitForFinished(60000) || reader.exitCode() != 0)
        return {QStringLiteral("<reader failed>"),
                QString::fromUtf8(reader.readAllStandardError())};
    return QString::fromUtf8(reader.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

}  // namespace fretloom::testing
