#include "playback/FluidSynthPlayer.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <fluidsynth.h>

static_assert(FLUIDSYNTH_VERSION_MAJOR == 2, "the functions below are FluidSynth 2's");

namespace fretloom {

using namespace Qt::StringLiterals;

namespace {

constexpr int kSampleRate = 44100;
// Smaller buffers crackle on a busy two-core machine.
constexpr int kPeriodSize = 1024;
constexpr int kPeriods = 4;
// Six strings struck together stay below full scale.
constexpr double kGain = 0.4;
// After the last note is released, the reverb still rings a little.
constexpr qint64 kRingOutMs = 500;
// A voice that never ends (a broken SoundFont) does not keep the output open for ever.
constexpr qint64 kLongestRingOutMs = 10000;

// The functions used, looked up by name in the library loaded at run time; their types come
// from the headers.
#define FRETLOOM_FLUID_FUNCTIONS(F)                                                                \
    F(fluid_set_log_function)                                                                      \
    F(new_fluid_settings)                                                                          \
    F(delete_fluid_settings)                                                                       \
    F(fluid_settings_setstr)                                                                       \
    F(fluid_settings_setint)                                                                       \
    F(fluid_settings_setnum)                                                                       \
    F(new_fluid_synth)                                                                             \
    F(delete_fluid_synth)                                                                          \
    F(fluid_synth_sfload)                                                                          \
    F(fluid_synth_all_sounds_off)                                                                  \
    F(fluid_synth_get_active_voice_count)                                                          \
    F(fluid_synth_write_float)                                                                     \
    F(new_fluid_player)                                                                            \
    F(delete_fluid_player)                                                                         \
    F(fluid_player_add_mem)                                                                        \
    F(fluid_player_play)                                                                           \
    F(fluid_player_get_status)                                                                     \
    F(fluid_player_get_current_tick)                                                               \
    F(new_fluid_audio_driver)                                                                      \
    F(delete_fluid_audio_driver)

// When a piece has ended: once the player is through and the last notes have died away.
class RingOut {
public:
    bool over(bool playerDone, bool sounding, qint64 nowMs) {
        if (!playerDone)
            return false;
        if (doneAt_ < 0)
            doneAt_ = nowMs;
        if (sounding) {
            quietSince_ = -1;
            return nowMs - doneAt_ > kLongestRingOutMs;
        }
        if (quietSince_ < 0)
            quietSince_ = nowMs;
        return nowMs - quietSince_ >= kRingOutMs;
    }

private:
    qint64 doneAt_ = -1;
    qint64 quietSince_ = -1;
};

struct FluidApi {
#define FRETLOOM_FLUID_POINTER(name) decltype(&::name) name = nullptr;
    FRETLOOM_FLUID_FUNCTIONS(FRETLOOM_FLUID_POINTER)
#undef FRETLOOM_FLUID_POINTER
};

// The synthesizer's complaints while an output is being opened, to tell the user; at other times
// they go to the program's log.
thread_local QStringList* complaints = nullptr;

void logFromFluid(int level, const char* message, void*) {
    if (level > FLUID_WARN)
        return;
    const QString text = QString::fromLocal8Bit(message);
    if (complaints)
        complaints->append(text);
    else
        qWarning().noquote() << "fluidsynth:" << text;
}

std::optional<FluidApi> loadLibrary(const SoundSetup& setup, QString& why) {
    // The library stays loaded for the rest of the run: the synthesizer and its threads live in
    // it, and a later Play should not pay for loading it again.
    QLibrary library(setup.library, setup.libraryVersion);
    if (!library.load()) {
        why = library.errorString();
        return std::nullopt;
    }
    FluidApi api;
    QStringList missing;
#define FRETLOOM_FLUID_RESOLVE(name)                                                               \
    api.name = reinterpret_cast<decltype(api.name)>(library.resolve(#name));                       \
    if (!api.name)                                                                                 \
        missing.append(QStringLiteral(#name));
    FRETLOOM_FLUID_FUNCTIONS(FRETLOOM_FLUID_RESOLVE)
#undef FRETLOOM_FLUID_RESOLVE
    if (!missing.isEmpty()) {
        why = u"%1 lacks %2"_s.arg(library.fileName(), missing.join(u", "_s));
        return std::nullopt;
    }
    for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        api.fluid_set_log_function(level, logFromFluid, nullptr);
    return api;
}

// The settings and the synthesizer made from them, shared by playing and rendering offline so
// that both sound the same.
struct Synth {
    const FluidApi* api = nullptr;
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;

    Synth(const FluidApi& functions, const SoundSetup& setup) : api(&functions) {
        settings = api->new_fluid_settings();
        if (!settings)
            return;
        api->fluid_settings_setnum(settings, "synth.sample-rate", kSampleRate);
        api->fluid_settings_setnum(settings, "synth.gain", kGain);
        api->fluid_settings_setint(settings, "audio.period-size", kPeriodSize);
        api->fluid_settings_setint(settings, "audio.periods", kPeriods);
        if (!setup.outputFile.isEmpty())
            api->fluid_settings_setstr(settings, "audio.file.name",
                                       QFile::encodeName(setup.outputFile).constData());
        synth = api->new_fluid_synth(settings);
    }
    ~Synth() {
        if (synth)
            api->delete_fluid_synth(synth);
        if (settings)
            api->delete_fluid_settings(settings);
    }
    Synth(const Synth&) = delete;
    Synth& operator=(const Synth&) = delete;

    // The first of the SoundFonts that loads, or nothing.
    QString loadSoundFont(const QStringList& candidates) {
        for (const QString& path : candidates) {
            if (QFileInfo(path).isFile() &&
                api->fluid_synth_sfload(synth, QFile::encodeName(path).constData(), 1) >= 0)
                return path;
        }
        return {};
    }

    fluid_player_t* startPlayer(const QByteArray& midiFile) {
        fluid_player_t* player = api->new_fluid_player(synth);
        if (!player)
            return nullptr;
        api->fluid_player_add_mem(player, midiFile.constData(),
                                  static_cast<size_t>(midiFile.size()));
        api->fluid_player_play(player);
        return player;
    }

    bool playerDone(fluid_player_t* player) const {
        return api->fluid_player_get_status(player) == FLUID_PLAYER_DONE;
    }
    bool sounding() const { return api->fluid_synth_get_active_voice_count(synth) > 0; }
};

QString driverName(const QString& driver) {
    if (driver == u"pulseaudio"_s)
        return u"PulseAudio (which PipeWire also serves)"_s;
    if (driver == u"alsa"_s)
        return u"ALSA"_s;
    return driver;
}

}  // namespace

struct FluidSynthPlayer::Engine {
    FluidApi api;
    Synth synth;
    QString soundFont;
    fluid_player_t* player = nullptr;
    fluid_audio_driver_t* driver = nullptr;
    QElapsedTimer playing;
    RingOut ringOut;

    Engine(const FluidApi& functions, const SoundSetup& setup)
        : api(functions), synth(api, setup) {}
    ~Engine() { stop(); }

    void stop() {
        // The output goes first: it renders from its own thread, and the player may only be
        // deleted once nothing renders.
        if (driver) {
            api.delete_fluid_audio_driver(driver);
            driver = nullptr;
        }
        if (player) {
            api.delete_fluid_player(player);
            player = nullptr;
            api.fluid_synth_all_sounds_off(synth.synth, -1);
        }
        ringOut = {};
    }

    // The first of the drivers that opens; `failures` collects what the others said.
    bool openOutput(const QStringList& drivers, QStringList& failures) {
        for (const QString& name : drivers) {
            QStringList said;
            complaints = &said;
            api.fluid_settings_setstr(synth.settings, "audio.driver", name.toUtf8().constData());
            driver = api.new_fluid_audio_driver(synth.settings, synth.synth);
            complaints = nullptr;
            if (driver)
                return true;
            failures.append(said.isEmpty() ? driverName(name)
                                           : u"%1: %2"_s.arg(driverName(name), said.join(u" "_s)));
        }
        return false;
    }
};

FluidSynthPlayer::FluidSynthPlayer(SoundSetup setup) : setup_(std::move(setup)) {}

FluidSynthPlayer::~FluidSynthPlayer() = default;

QString FluidSynthPlayer::soundFont() const {
    return engine_ ? engine_->soundFont : QString();
}

std::optional<SoundProblem> FluidSynthPlayer::play(const QByteArray& midiFile) {
    stop();
    if (!engine_) {
        QString why;
        const std::optional<FluidApi> api = loadLibrary(setup_, why);
        if (!api)
            return SoundProblem{
                SoundProblem::Kind::NoSynthesizer,
                u"Fretloom cannot play: the synthesizer library could not be loaded (%1).\n\n"
                u"Install the package libfluidsynth3, then choose Play again."_s.arg(why)};
        auto engine = std::make_unique<Engine>(*api, setup_);
        if (!engine->synth.synth)
            return SoundProblem{SoundProblem::Kind::NoSynthesizer,
                                u"Fretloom cannot play: the synthesizer did not start.\n\n"
                                u"Reinstall the package libfluidsynth3, then choose Play again."_s};
        engine_ = std::move(engine);
    }
    Engine& engine = *engine_;
    if (engine.soundFont.isEmpty()) {
        engine.soundFont = engine.synth.loadSoundFont(setup_.soundFonts);
        if (engine.soundFont.isEmpty())
            return SoundProblem{
                SoundProblem::Kind::NoSoundFont,
                u"Fretloom cannot play: no General MIDI SoundFont could be loaded. It looks for "
                u"%1.\n\nInstall the package timgm6mb-soundfont (small) or fluid-soundfont-gm "
                u"(fuller sound), then choose Play again."_s.arg(setup_.soundFonts.join(u", "_s))};
    }
    engine.player = engine.synth.startPlayer(midiFile);
    QStringList failures;
    if (!engine.player || !engine.openOutput(setup_.drivers, failures)) {
        engine.stop();
        return SoundProblem{
            SoundProblem::Kind::NoOutput,
            u"Fretloom cannot play: no sound output could be opened. Tried: %1.\n\n"
            u"Start the sound server (install pipewire-pulse or pulseaudio if there is none), "
            u"or check that a sound card is there and not held by another program, then choose "
            u"Play again."_s.arg(failures.join(u"; "_s))};
    }
    engine.playing.start();
    return std::nullopt;
}

void FluidSynthPlayer::stop() {
    if (engine_)
        engine_->stop();
}

qint64 FluidSynthPlayer::position() {
    if (!engine_ || !engine_->driver)
        return -1;
    Engine& engine = *engine_;
    if (engine.ringOut.over(engine.synth.playerDone(engine.player), engine.synth.sounding(),
                            engine.playing.elapsed())) {
        engine.stop();
        return -1;
    }
    return engine.api.fluid_player_get_current_tick(engine.player);
}

std::optional<RenderedSound> renderOffline(const QByteArray& midiFile, const SoundSetup& setup) {
    QString why;
    const std::optional<FluidApi> api = loadLibrary(setup, why);
    if (!api)
        return std::nullopt;
    Synth synth(*api, setup);
    if (!synth.synth || synth.loadSoundFont(setup.soundFonts).isEmpty())
        return std::nullopt;
    fluid_player_t* player = synth.startPlayer(midiFile);
    if (!player)
        return std::nullopt;

    // The player keeps time by the samples rendered, so rendering block by block is playing at
    // full speed; the ring-out rule runs on the rendered time.
    constexpr int kBlock = 64;
    constexpr qint64 kMostSamples = qint64{kSampleRate} * 60 * 10;
    RenderedSound sound{kSampleRate, {}};
    float left[kBlock];
    float right[kBlock];
    RingOut ringOut;
    while (static_cast<qint64>(sound.samples.size()) < kMostSamples) {
        api->fluid_synth_write_float(synth.synth, kBlock, left, 0, 1, right, 0, 1);
        for (int i = 0; i < kBlock; ++i)
            sound.samples.push_back((left[i] + right[i]) / 2);
        const qint64 nowMs = static_cast<qint64>(sound.samples.size()) * 1000 / kSampleRate;
        if (ringOut.over(synth.playerDone(player), synth.sounding(), nowMs))
            break;
    }
    api->delete_fluid_player(player);
    return sound;
}

}  // namespace fretloom
