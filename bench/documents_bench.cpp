// Speed of tab files: Open and Save of long tabs through the main window's real tab box, and
// the steps inside them. 3,000 bars make about 1 MB, 30,000 bars about 10 MB.

#include "documents/DialogService.h"
#include "documents/FileSystem.h"
#include "documents/TabFileFormat.h"
#include "documents/TabFiles.h"
#include "sheet/Bar.h"
#include "ui/MainWindow.h"
#include "ui/TabBox.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

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
    std::optional<QString> chooseFileToSave(const FileDialogRequest&) override { return path_; }
    std::optional<FontChoice> chooseFont(const FontChoice&) override { return std::nullopt; }
    std::optional<Rgb> chooseColor(const Rgb&) override { return std::nullopt; }
    Answer ask(const Question&) override { return Answer::No; }
    std::optional<int> askNumber(const NumberQuestion&) override { return std::nullopt; }
    void warn(const QString&, const QString&) override { failed = true; }
    void showAbout(const QString&, const QString&) override {}

    bool failed = false;

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

BENCHMARK(BM_OpenTabFile)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveTabFile)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeTabFile)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeTabFile)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TabBoxSetExactText)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TabBoxExactText)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceFileOnDisk)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);

}  // namespace
