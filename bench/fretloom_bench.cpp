// Speed figures for the editor: start-up against a bare window, and Enter on long tabs.
// Run: build/ci/bench/fretloom_bench (offscreen unless QT_QPA_PLATFORM says otherwise).

#include "OpenProbe.h"
#include "ui/MainWindow.h"
#include "ui/TabBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMainWindow>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <vector>

namespace {

using fretloom::MainWindow;

template <typename Window> void showAndClose(benchmark::State& state) {
    for (auto _ : state) {
        Window window;
        window.show();
        // The first paint is part of starting up.
        if (!QTest::qWaitForWindowExposed(&window))
            state.SkipWithError("window never exposed");
        QApplication::processEvents();
        window.close();
    }
}

void BM_StartBareMainWindow(benchmark::State& state) {
    showAndClose<QMainWindow>(state);
}
void BM_StartFretloomMainWindow(benchmark::State& state) {
    showAndClose<MainWindow>(state);
}

// A tab of `bars` committed bars, each a C chord and a bar line, as Enter writes them.
QString tabOfBars(int bars) {
    MainWindow scratch;
    scratch.cell(fretloom::Row::e, 1)->setText(QStringLiteral("0"));
    scratch.enterBar();
    const QString block = scratch.tabBox()->exactText();
    return block.repeated(bars);
}

void BM_EnterOnTabOfBars(benchmark::State& state) {
    MainWindow window;
    window.show();
    window.tabBox()->setExactText(tabOfBars(static_cast<int>(state.range(0))));
    QApplication::processEvents();
    QPushButton* enter = window.findChild<QPushButton*>(QStringLiteral("Command1"));
    for (auto _ : state) {
        enter->click();
        // Let the tab box lay out and repaint as it would between two key presses.
        QApplication::processEvents();
        // Take the bar back so every Enter lands on a tab of exactly the given length.
        state.PauseTiming();
        window.tabBox()->undo();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["bars"] = static_cast<double>(state.range(0));
}

// The editor's window as it first shows, menu bar included; empty if it never showed.
QSize shownWindowSize() {
    MainWindow window;
    window.show();
    return QTest::qWaitForWindowExposed(&window) ? window.size() : QSize();
}

// Cold start: a fresh process per run, timed from launch until it has painted its window,
// closed it and exited: loading the libraries, starting Qt, the first paint. Each probe is a
// program of its own beside this one, linked as its window needs. The bare window with one
// label shows what the font system's first use costs any window with text.
struct ColdStart {
    double milliseconds = -1;
    double paintedMilliseconds = -1;  // from launch until the window had painted
    double peakKiB = 0;               // the probe's own peak resident memory
};

ColdStart coldStart(const QString& program, const QStringList& arguments) {
    QElapsedTimer clock;
    const auto launched = std::chrono::steady_clock::now();
    clock.start();
    QProcess probe;
    probe.start(QCoreApplication::applicationDirPath() + u'/' + program, arguments);
    if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
        return {};
    ColdStart result;
    result.milliseconds = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const QList<QByteArray> report = probe.readAllStandardOutput().trimmed().split(' ');
    if (report.size() != 2)
        return {};
    result.peakKiB = report[0].toDouble();
    const std::chrono::nanoseconds painted(report[1].toLongLong());
    result.paintedMilliseconds =
        std::chrono::duration<double, std::milli>(painted - launched.time_since_epoch()).count();
    return result;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Each iteration starts the bare window, the bare window with a label, an empty bare window of the
// editor's size, an empty bare window from the editor's own probe (linked with everything the
// editor loads, so only the window differs) and the editor, one after the other, so that a machine
// getting busier or quieter weighs on all five alike. The time is the editor's; the counters are
// medians, both to exit and to the first paint. (Qt reads the font configuration when the
// application object goes if nothing read it before, so a bare window pays for it at exit rather
// than before its paint.)
void BM_ColdStartAgainstBareWindows(benchmark::State& state) {
    struct Window {
        const char* name;
        QString program;
        QStringList arguments;
        std::vector<double> toExitMs, toPaintMs;
        double peakKiB = 0;
    };
    const QSize editorSize = shownWindowSize();
    if (editorSize.isEmpty()) {
        state.SkipWithError("the editor's window never showed");
        return;
    }
    const QString bare = QStringLiteral("bare_start_probe");
    const QString sizeArgument =
        QStringLiteral("--size=%1x%2").arg(editorSize.width()).arg(editorSize.height());
    const QString editorProbe = QStringLiteral("fretloom_start_probe");
    Window windows[] = {{"bare", bare, {}, {}, {}},
                        {"label", bare, {QStringLiteral("--label")}, {}, {}},
                        {"sized", bare, {sizeArgument}, {}, {}},
                        {"linked", editorProbe, {QStringLiteral("--bare")}, {}, {}},
                        {"editor", editorProbe, {}, {}, {}}};
    Window& editor = windows[4];
    for (auto _ : state) {
        for (Window& window : windows) {
            const ColdStart run = coldStart(window.program, window.arguments);
            if (run.milliseconds < 0) {
                state.SkipWithError("start probe failed");
                return;
            }
            window.toExitMs.push_back(run.milliseconds);
            window.toPaintMs.push_back(run.paintedMilliseconds);
            window.peakKiB = std::max(window.peakKiB, run.peakKiB);
        }
        state.SetIterationTime(editor.toExitMs.back() / 1000.0);
    }
    const double editorToExit = median(editor.toExitMs);
    const double editorToPaint = median(editor.toPaintMs);
    for (const Window& window : windows) {
        const std::string name = window.name;
        state.counters[name + "_ms"] = median(window.toExitMs);
        state.counters[name + "_painted_ms"] = median(window.toPaintMs);
        if (&window != &editor) {
            state.counters["x_" + name] = editorToExit / median(window.toExitMs);
            state.counters["x_" + name + "_painted"] = editorToPaint / median(window.toPaintMs);
        }
    }
    state.counters["editor_peak_KiB"] = editor.peakKiB;
    state.counters["bare_peak_KiB"] = windows[0].peakKiB;
}

BENCHMARK(BM_ColdStartAgainstBareWindows)
    ->UseManualTime()
    ->Iterations(21)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartBareMainWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartFretloomMainWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EnterOnTabOfBars)->Arg(0)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace fretloom::bench {
int runPlayProbe(int argc, char** argv);
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 2 && std::strncmp(argv[1], "--open-probe=", std::strlen("--open-probe=")) == 0)
        return fretloom::runOpenProbe(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "--play-probe") == 0)
        return fretloom::bench::runPlayProbe(argc, argv);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
