// Speed of tab files: Open and Save of long tabs through the main window's real tab box, and
// the steps inside them. 3,000 bars make about 1 MB, 30,000 bars about 10 MB. Also one line of
// 2 MiB and of 60 MiB with no break at all, and typing into it.

#include "OpenProbe.h"
#include "PeakResident.h"
#include "documents/FileSystem.h"
#include "documents/TabFileFormat.h"
#include "documents/TabFiles.h"
#include "sheet/Bar.h"
#include "sheet/DialogService.h"
#include "ui/MainWindow.h"
#include "ui/TabBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>

namespace {

using namespace fretloom;

// The worked example bar, as Enter writes it.
QString oneBar() {
    Grid grid;
    const QString chord[] = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("0"),
                             QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("3")};
    for (Row row : kAllRows) {
        grid.cell(row, 1) = chord[index(row)];
        grid.cell(row, 2) = QStringLiteral("|");
    }
    grid.cell(Row::e, 3) = QStringLiteral("12");
    grid.cell(Row::g, 4) = QStringLiteral("5");
    return commitBar(grid, standardCaptions(), QStringLiteral("Convert to bass"));
}

QString tabOfBars(int bars) {
    return oneBar().repeated(bars);
}

// Answers every dialog at once: No to the save questions, the given file to both file dialogs.
class AnsweringDialogs : public DialogService {
public:
    explicit AnsweringDialogs(QString path) : path_(std::move(path)) {}
    std::optional<QString> chooseFileToOpen(const FileDialogRequest&) override { return path_; }
    std::optional<QString> chooseFileToSave(const FileDialogRequest&) override {
        return savePath.isEmpty() ? path_ : savePath;
    }
    std::optional<FontChoice> chooseFont(const FontChoice&) override { return std::nullopt; }
    std::optional<Rgb> chooseColor(const Rgb&) override { return std::nullopt; }
    Answer ask(const Question&) override { return Answer::No; }
    std::optional<int> askNumber(const NumberQuestion&) override { return std::nullopt; }
    void warn(const QString&, const QString&) override { failed = true; }
    void showAbout(const QString&, const QString&) override {}

    bool failed = false;
    QString savePath;  // when not the file opened

private:
    QString path_;
};

// A shown main window and a tab file of `bars` bars.
struct Fixture {
    explicit Fixture(int bars) : dialogs(folder.filePath(QStringLiteral("long tab.txt"))) {
        QFile file(folder.filePath(QStringLiteral("long tab.txt")));
        const QByteArray bytes = encodeTabFile(tabOfBars(bars)).bytes;
        fileBytes = bytes.size();
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        file.close();
        window.show();
        QApplication::processEvents();
    }

    QTemporaryDir folder;
    AnsweringDialogs dialogs;
    MainWindow window{&dialogs};
    qint64 fileBytes = 0;
};

// Open: read the file, decode it, put it into the tab box and let the box lay it out and paint.
void BM_OpenTabFile(benchmark::State& state) {
    Fixture fixture(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        fixture.window.tabFiles().open();
        QApplication::processEvents();
    }
    if (fixture.dialogs.failed || fixture.window.tabBox()->isEmptyText())
        state.SkipWithError("open failed");
    state.SetBytesProcessed(state.iterations() * fixture.fileBytes);
    state.counters["MB"] = static_cast<double>(fixture.fileBytes) / 1e6;
}

// Save to the current path: take the text out of the tab box, encode it and replace the file
// through a temporary file that is synced to the disk.
void BM_SaveTabFile(benchmark::State& state) {
    Fixture fixture(static_cast<int>(state.range(0)));
    fixture.window.tabFiles().open();
    QApplication::processEvents();
    for (auto _ : state)
        fixture.window.tabFiles().save();
    if (fixture.dialogs.failed)
        state.SkipWithError("save failed");
    state.SetBytesProcessed(state.iterations() * fixture.fileBytes);
    state.counters["MB"] = static_cast<double>(fixture.fileBytes) / 1e6;
}

// The steps on their own, to see where the time goes.
void BM_DecodeTabFile(benchmark::State& state) {
    const QByteArray bytes = encodeTabFile(tabOfBars(static_cast<int>(state.range(0)))).bytes;
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeTabFile(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_EncodeTabFile(benchmark::State& state) {
    const QString tab = tabOfBars(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(encodeTabFile(tab));
    state.SetBytesProcessed(state.iterations() * tab.size());
}

void BM_TabBoxSetExactText(benchmark::State& state) {
    const QString tab = tabOfBars(static_cast<int>(state.range(0)));
    TabBox box;
    box.show();
    for (auto _ : state) {
        box.setExactText(tab);
        QApplication::processEvents();
    }
    state.SetBytesProcessed(state.iterations() * tab.size());
}

void BM_TabBoxExactText(benchmark::State& state) {
    const QString tab = tabOfBars(static_cast<int>(state.range(0)));
    TabBox box;
    box.setExactText(tab);
    for (auto _ : state)
        benchmark::DoNotOptimize(box.exactText());
    state.SetBytesProcessed(state.iterations() * tab.size());
}

void BM_ReplaceFileOnDisk(benchmark::State& state) {
    const QByteArray bytes = encodeTabFile(tabOfBars(static_cast<int>(state.range(0)))).bytes;
    QTemporaryDir folder;
    DiskFileSystem disk;
    const QString path = folder.filePath(QStringLiteral("tab.txt"));
    for (auto _ : state)
        if (!disk.replaceFile(path, bytes).ok)
            state.SkipWithError("write failed");
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// A file of one line: `bytes` dashes and no break.
struct SingleLineFile {
    explicit SingleLineFile(qsizetype bytes) : path(folder.filePath(QStringLiteral("line.txt"))) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray(bytes, '-'));
    }
    QTemporaryDir folder;
    QString path;
};

// What one run of the open probe measured.
struct OpenRun {
    double openSeconds = -1;
    double firstKeyMilliseconds = 0;  // typing at the start of the line
    double lastKeyMilliseconds = 0;   // and at its end
    double peakKiB = 0;
};

// Opens a single-line file in a fresh process of this program, so that its peak memory is the
// open's own; a probe still busy after two minutes counts as frozen.
void BM_OpenSingleLine(benchmark::State& state) {
    const SingleLineFile file(state.range(0));
    OpenRun worst;
    for (auto _ : state) {
        QProcess probe;
        probe.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--open-probe=") + file.path});
        if (!probe.waitForFinished(120000) || probe.exitCode() != 0) {
            probe.kill();
            probe.waitForFinished();
            state.SkipWithError("the probe froze, failed or changed the text");
            break;
        }
        OpenRun run;
        if (std::sscanf(probe.readAllStandardOutput().constData(), "%lf %lf %lf %lf",
                        &run.openSeconds, &run.firstKeyMilliseconds, &run.lastKeyMilliseconds,
                        &run.peakKiB) != 4) {
            state.SkipWithError("the probe said nothing");
            break;
        }
        state.SetIterationTime(run.openSeconds);
        worst.firstKeyMilliseconds = std::max(worst.firstKeyMilliseconds, run.firstKeyMilliseconds);
        worst.lastKeyMilliseconds = std::max(worst.lastKeyMilliseconds, run.lastKeyMilliseconds);
        worst.peakKiB = std::max(worst.peakKiB, run.peakKiB);
    }
    state.counters["MiB"] = static_cast<double>(state.range(0)) / (1 << 20);
    state.counters["key_at_start_ms"] = worst.firstKeyMilliseconds;
    state.counters["key_at_end_ms"] = worst.lastKeyMilliseconds;
    state.counters["peak_MiB"] = worst.peakKiB / 1024;
}

BENCHMARK(BM_OpenSingleLine)
    ->Arg(2 << 20)
    ->Arg(60 << 20)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenTabFile)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveTabFile)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeTabFile)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeTabFile)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TabBoxSetExactText)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TabBoxExactText)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceFileOnDisk)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);

}  // namespace

namespace fretloom {

// Opens the file through File > Open into a shown main window and lets it paint, then types a
// key at the start of the text and one at its end, each until painted. Prints the seconds of
// the open, the milliseconds of each key and the peak resident memory in KiB; fails when the
// text, or the file saved from it, is not the file's dashes with the two keys.
int runOpenProbe(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString path = QString::fromLocal8Bit(argv[1] + std::strlen("--open-probe="));
    const qsizetype bytes = QFileInfo(path).size();
    AnsweringDialogs dialogs(path);
    MainWindow window(&dialogs);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    QApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    window.tabFiles().open();
    QApplication::processEvents();
    const double openSeconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    if (dialogs.failed)
        return 1;

    TabBox* box = window.tabBox();
    box->setFocus();
    const auto typeKey = [box, &clock] {
        clock.restart();
        QTest::keyClick(box, Qt::Key_X);
        QApplication::processEvents();
        return static_cast<double>(clock.nsecsElapsed()) / 1e6;
    };
    const double firstKey = typeKey();
    QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
    QApplication::processEvents();
    const double lastKey = typeKey();
    // The peak so far, before the check below takes copies of the text.
    const long peakKiB = bench::peakResidentKiB();
    const QString typed = u'x' + QString(bytes, u'-') + u'x';
    if (box->exactText() != typed)
        return 1;
    dialogs.savePath = path + QStringLiteral(".saved");
    const bool saved = window.tabFiles().Saver();
    QFile file(dialogs.savePath);
    const bool exact =
        file.open(QIODevice::ReadOnly) && file.readAll() == typed.toLatin1() + "\r\n";
    file.remove();
    if (!saved || !exact)
        return 1;
    std::printf("%f %f %f %ld\n", openSeconds, firstKey, lastKey, peakKiB);
    return 0;
}

}  // namespace fretloom
