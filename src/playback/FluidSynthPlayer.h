#pragma once

#include "playback/SoundPlayer.h"

#include <QStringList>
#include <memory>
#include <vector>

namespace fretloom {

// Where the synthesizer finds its parts. The program uses the defaults; tests point elsewhere.
struct SoundSetup {
    // The FluidSynth 2 library, loaded on the first Play rather than linked: linking it would
    // load its dozens of libraries at every start.
    QString library = QStringLiteral("fluidsynth");
    int libraryVersion = 3;
    // General MIDI SoundFonts, the first that loads is used: FluidR3 where it is installed,
    // else the system's default (TimGM6mb unless another package took it over).
    QStringList soundFonts = {QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2"),
                              QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2"),
                              QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2")};
    // FluidSynth's audio drivers, tried in turn. PipeWire serves the PulseAudio one.
    QStringList drivers = {QStringLiteral("pulseaudio"), QStringLiteral("alsa")};
    // Where the "file" driver writes, when a test uses it.
    QString outputFile;
};

// The synthesizer: FluidSynth's own MIDI player with a General MIDI SoundFont, out through the
// desktop's sound server. The library, the SoundFont and the output are taken on the first Play;
// whatever failed is tried again at the next one, so Play works once the cause is gone.
class FluidSynthPlayer : public SoundPlayer {
public:
    explicit FluidSynthPlayer(SoundSetup setup = {});
    ~FluidSynthPlayer() override;

    std::optional<SoundProblem> play(const QByteArray& midiFile) override;
    void stop() override;
    qint64 position() override;

    // The SoundFont in use, once one has loaded.
    QString soundFont() const;

private:
    struct Engine;
    SoundSetup setup_;
    std::unique_ptr<Engine> engine_;
};

// Mono samples of the file as the same synthesizer sounds it, rendered offline: what Play would
// send to the sound card, including the last notes' release.
struct RenderedSound {
    int sampleRate = 0;
    std::vector<float> samples;
};
std::optional<RenderedSound> renderOffline(const QByteArray& midiFile,
                                           const SoundSetup& setup = {});

}  // namespace fretloom
