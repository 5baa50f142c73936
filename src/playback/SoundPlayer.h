#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace fretloom {

// Why a Play could not start. The message says which part is missing and what to install.
struct SoundProblem {
    enum class Kind { NoSynthesizer, NoSoundFont, NoOutput };
    Kind kind = Kind::NoSynthesizer;
    QString message;
};

// Plays Standard MIDI Files out loud.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;

    // Plays the file from its start, cutting off whatever was playing. Nothing when it plays;
    // otherwise why it cannot, and nothing plays.
    virtual std::optional<SoundProblem> play(const QByteArray& midiFile) = 0;
    // Silence at once.
    virtual void stop() = 0;
    // The tick of the file being played, or -1 once nothing plays: stopped, or ended and rung out.
    virtual qint64 position() = 0;
};

}  // namespace fretloom
