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
#include <cstring>

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

// Cold start: a fresh process per run, timed from launch until it has painted its window,
// closed it and exited: loading the libraries, starting Qt, the first paint. Each probe is a
// program of its own beside this one, linked as its window needs.
struct ColdStart {
    double milliseconds = -1;
    double peakKiB = 0;  // the probe's own peak resident memory
};

ColdStart coldStart(const QString& program, const QStringList& arguments) {
    QElapsedTimer clock;
    clock.start();
    QProcess probe;
    probe.start(QCoreApplication::applicationDirPath() + u'/' + program, arguments);
    if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
        return {};
    ColdStart result;
    result.milliseconds = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    result.peakKiB = probe.readAllStandardOutput().trimmed().toDouble();
    return result;
}

void coldStart(benchmark::State& state, const QString& program, const QStringList& arguments) {
    double peakKiB = 0;
    for (auto _ : state) {
        const ColdStart run = coldStart(program, arguments);
        if (run.milliseconds < 0) {
            state.SkipWithError("start probe failed");
            break;
        }
        state.SetIterationTime(run.milliseconds / 1000.0);
        peakKiB = std::max(peakKiB, run.peakKiB);
    }
    state.counters["peak_KiB"] = peakKiB;
}

void BM_ColdStartBareMainWindow(benchmark::State& state) {
    coldStart(state, QStringLiteral("bare_start_probe"), {});
}
// The least that any window showing text pays: the font system's first use.
void BM_ColdStartBareWindowWithALabel(benchmark::State& state) {
    coldStart(state, QStringLiteral("bare_start_probe"), {QStringLiteral("--label")});
}
void BM_ColdStartFretloomMainWindow(benchmark::State& state) {
    coldStart(state, QStringLiteral("fretloom_start_probe"), {});
}

BENCHMARK(BM_ColdStartBareMainWindow)
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColdStartBareWindowWithALabel)
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColdStartFretloomMainWindow)
    ->UseManualTime()
    ->Iterations(15)
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
