// Play to first sound, and memory once the SoundFont has loaded. The program plays into a private
// PulseAudio server's null sink, whose monitor is recorded: the first sound is when the first
// note's samples come out of the sink, the moment a sound card would take them. Each run is a
// fresh process, so the first Play pays for loading the synthesizer and the SoundFont as it does
// for a user.

#include "playback/FluidSynthPlayer.h"
#include "sheet/DialogService.h"
#include "ui/MainWindow.h"
#include "ui/TabBox.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

namespace fretloom::bench {

using namespace Qt::StringLiterals;

namespace {

constexpr int kSampleRate = 44100;
constexpr float kAudible = 0.01f;
constexpr int kLaterPlays = 5;

// A PulseAudio server of this benchmark's own with one null sink, for as long as it lives. The
// processes started meanwhile reach it through PULSE_SERVER.
class PrivateSoundServer {
public:
    PrivateSoundServer() {
        if (!folder_.isValid() || QStandardPaths::findExecutable(u"pulseaudio"_s).isEmpty() ||
            QStandardPaths::findExecutable(u"parec"_s).isEmpty())
            return;
        const QString socket = folder_.filePath(u"native"_s);
        for (const char* sub : {"home", "runtime"})
            QDir(folder_.path()).mkdir(QString::fromLatin1(sub));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"HOME"_s, folder_.filePath(u"home"_s));
        environment.insert(u"XDG_CONFIG_HOME"_s, folder_.filePath(u"home"_s));
        environment.insert(u"XDG_RUNTIME_DIR"_s, folder_.filePath(u"runtime"_s));
        environment.remove(u"DISPLAY"_s);
        server_.setProcessEnvironment(environment);
        server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server_.setStandardOutputFile(QProcess::nullDevice());
        server_.start(u"pulseaudio"_s,
                      {u"-n"_s, u"--daemonize=no"_s, u"--use-pid-file=no"_s,
                       u"--exit-idle-time=-1"_s, u"--log-level=error"_s, u"-L"_s,
                       u"module-null-sink sink_name=fretloom rate=44100"_s, u"-L"_s,
                       u"module-native-protocol-unix auth-anonymous=1 socket="_s + socket});
        if (!server_.waitForStarted())
            return;
        qputenv("PULSE_SERVER", ("unix:" + socket).toLocal8Bit());
        for (int i = 0; i < 100; ++i) {
            QProcess pactl;
            pactl.start(u"pactl"_s, {u"info"_s});
            if (pactl.waitForFinished() && pactl.exitCode() == 0) {
                ready_ = true;
                return;
            }
            QTest::qSleep(50);
        }
    }
    ~PrivateSoundServer() {
        qunsetenv("PULSE_SERVER");
        server_.terminate();
        if (!server_.waitForFinished(3000))
            server_.kill();
        server_.waitForFinished();
    }
    bool ready() const { return ready_; }

private:
    QTemporaryDir folder_;
    QProcess server_;
    bool ready_ = false;
};

// The null sink's monitor as it comes, each sample placed in time by when its block arrived.
class MonitorRecorder {
public:
    explicit MonitorRecorder(const QElapsedTimer& clock) : clock_(clock) {
        parec_.start(u"parec"_s,
                     {u"-d"_s, u"fretloom.monitor"_s, u"--raw"_s, u"--format=float32le"_s,
                      u"--channels=1"_s, u"--rate=44100"_s, u"--latency-msec=5"_s});
        parec_.waitForStarted();
    }
    ~MonitorRecorder() {
        parec_.kill();
        parec_.waitForFinished();
    }

    // When the next sample above a whisper came out of the sink, in the clock's nanoseconds.
    std::optional<qint64> nextSound(int timeoutMs) {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < timeoutMs) {
            if (parec_.bytesAvailable() < qint64{sizeof(float)} && !parec_.waitForReadyRead(100))
                continue;
            const qint64 arrived = clock_.nsecsElapsed();
            pending_ += parec_.readAll();
            const qsizetype count = pending_.size() / qsizetype{sizeof(float)};
            std::vector<float> samples(static_cast<std::size_t>(count));
            std::memcpy(samples.data(), pending_.constData(), samples.size() * sizeof(float));
            pending_.remove(0, count * qsizetype{sizeof(float)});
            const auto loud = std::find_if(samples.begin(), samples.end(),
                                           [](float s) { return std::abs(s) > kAudible; });
            if (loud != samples.end())
                return arrived - (samples.end() - loud) * 1'000'000'000LL / kSampleRate;
        }
        return std::nullopt;
    }
    // Reads on until `quietMs` of silence have come.
    bool waitForSilence(int quietMs, int timeoutMs) {
        QElapsedTimer waited;
        waited.start();
        qint64 quietSamples = 0;
        while (waited.elapsed() < timeoutMs) {
            if (!parec_.waitForReadyRead(100))
                continue;
            pending_ += parec_.readAll();
            const qsizetype count = pending_.size() / qsizetype{sizeof(float)};
            for (qsizetype i = 0; i < count; ++i) {
                float s;
                std::memcpy(&s, pending_.constData() + i * qsizetype{sizeof(float)}, sizeof s);
                quietSamples = std::abs(s) > kAudible ? 0 : quietSamples + 1;
            }
            pending_.remove(0, count * qsizetype{sizeof(float)});
            if (quietSamples * 1000 / kSampleRate >= quietMs)
                return true;
        }
        return false;
    }

private:
    const QElapsedTimer& clock_;
    QProcess parec_;
    QByteArray pending_;
};

// Every dialog is refused; a warning means the sound did not start.
class RefusingDialogs : public DialogService {
public:
    std::optional<QString> chooseFileToOpen(const FileDialogRequest&) override { return {}; }
    std::optional<QString> chooseFileToSave(const FileDialogRequest&) override { return {}; }
    std::optional<FontChoice> chooseFont(const FontChoice&) override { return {}; }
    std::optional<Rgb> chooseColor(const Rgb&) override { return {}; }
    Answer ask(const Question&) override { return Answer::No; }
    std::optional<int> askNumber(const NumberQuestion&) override { return {}; }
    void warn(const QString&, const QString& text) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        warned = true;
    }
    void showAbout(const QString&, const QString&) override {}
    bool warned = false;
};

int failed(const char* why) {
    std::fprintf(stderr, "play probe: %s\n", why);
    return 1;
}

double residentMiB() {
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

struct PlayFigures {
    double firstMs = -1;
    double laterMs = -1;  // the median
    double residentBeforeMiB = 0;
    double residentAfterMiB = 0;
};

std::optional<PlayFigures> probeOnce() {
    const QStringList lines = [] {
        QProcess probe;
        probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        probe.start(QCoreApplication::applicationFilePath(), {u"--play-probe"_s});
        if (!probe.waitForFinished(60000) || probe.exitCode() != 0)
            return QStringList();
        return QString::fromLatin1(probe.readAllStandardOutput()).split(u' ');
    }();
    if (lines.size() != 4)
        return std::nullopt;
    return PlayFigures{lines[0].toDouble(), lines[1].toDouble(), lines[2].toDouble(),
                       lines[3].toDouble()};
}

void BM_PlayToFirstSound(benchmark::State& state) {
    PrivateSoundServer server;
    if (!server.ready()) {
        state.SkipWithError("no private PulseAudio server: install pulseaudio pulseaudio-utils");
        return;
    }
    std::vector<double> later;
    PlayFigures last;
    for (auto _ : state) {
        const std::optional<PlayFigures> figures = probeOnce();
        if (!figures) {
            state.SkipWithError("the play probe failed");
            return;
        }
        state.SetIterationTime(figures->firstMs / 1000);
        later.push_back(figures->laterMs);
        last = *figures;
    }
    std::sort(later.begin(), later.end());
    state.counters["later_plays_ms"] = later[later.size() / 2];
    state.counters["resident_before_MiB"] = last.residentBeforeMiB;
    state.counters["resident_after_MiB"] = last.residentAfterMiB;
}

BENCHMARK(BM_PlayToFirstSound)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

// In a process of its own: the main window with a bar in the tab box, F5 once and then again
// several times, each after Escape and silence. Prints the first Play's time to sound, the
// later ones' median, and the resident memory before the first Play and after it.
int runPlayProbe(int argc, char** argv) {
    QApplication app(argc, argv);
    RefusingDialogs dialogs;
    MainWindow window(&dialogs);
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return failed("the window did not become active");
    window.tabBox()->setExactText(u"e|0-------\r\nB|1-------\r\nG|0-------\r\n"
                                  u"D|2-------\r\nA|3-------\r\nE|--------\r\n"_s);
    QApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    MonitorRecorder monitor(clock);
    if (!monitor.waitForSilence(300, 5000))
        return failed("no silence from the sink's monitor");
    PlayFigures figures;
    figures.residentBeforeMiB = residentMiB();
    // Placing a sample by its block's arrival is good to a few milliseconds either way: a time
    // just before the key press is counted as none.
    const auto play = [&]() -> double {
        const qint64 pressed = clock.nsecsElapsed();
        QTest::keyClick(window.tabBox(), Qt::Key_F5);
        const std::optional<qint64> sounded = monitor.nextSound(5000);
        if (!sounded || dialogs.warned)
            return -1;
        return std::max(0.0, static_cast<double>(*sounded - pressed) / 1e6);
    };
    figures.firstMs = play();
    figures.residentAfterMiB = residentMiB();
    std::vector<double> later;
    for (int i = 0; i < kLaterPlays && figures.firstMs >= 0; ++i) {
        QTest::keyClick(window.tabBox(), Qt::Key_Escape);
        if (!monitor.waitForSilence(200, 5000))
            return failed("Escape did not silence the sink");
        later.push_back(play());
    }
    if (figures.firstMs < 0 ||
        std::any_of(later.begin(), later.end(), [](double t) { return t < 0; }))
        return failed("a Play made no sound");
    std::sort(later.begin(), later.end());
    figures.laterMs = later[later.size() / 2];
    QTest::keyClick(window.tabBox(), Qt::Key_Escape);
    std::printf("%.2f %.2f %.1f %.1f", figures.firstMs, figures.laterMs, figures.residentBeforeMiB,
                figures.residentAfterMiB);
    return 0;
}

}  // namespace fretloom::bench
