// Speed of reading a tab into notes and writing the MIDI file that Export writes and Play plays.

#include "instruments/InstrumentMode.h"
#include "playback/Performance.h"
#include "playback/TabReading.h"
#include "sheet/Bar.h"

#include <benchmark/benchmark.h>

namespace {

using namespace fretloom;

// `bars` bars as Enter writes them, a note in nearly every cell, one- and two-digit frets, a bar
// line across column 9, and every fourth bar in bass mode.
QString busyTab(int bars) {
    QString tab;
    for (int bar = 0; bar < bars; ++bar) {
        Grid grid;
        for (int column = 1; column <= kColumnCount; ++column) {
            const Row row = kAllRows[(bar + column) % kStringCount];
            grid.cell(row, column) = QString::number((bar * 7 + column * 3) % 15);
        }
        for (Row row : kAllRows)
            grid.cell(row, 9) = QStringLiteral("|");
        tab += commitBar(grid, standardCaptions(),
                         QString::fromUtf16(bar % 4 == 3 ? kBassModeCaption : kGuitarModeCaption));
    }
    return tab;
}

void BM_TabToMidi(benchmark::State& state) {
    const QString tab = busyTab(static_cast<int>(state.range(0)));
    qsizetype bytes = 0;
    for (auto _ : state) {
        const Performance performance = performTab(tab, kDefaultBeatsPerMinute);
        bytes = performance.midiFile.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bars"] = static_cast<double>(state.range(0));
    state.counters["notes"] = static_cast<double>(readTab(tab).notes.size());
    state.counters["midi_KiB"] = static_cast<double>(bytes) / 1024;
}

// Tab to MIDI for 10,000 bars.
BENCHMARK(BM_TabToMidi)->Name("BM_TabToMidiForBars")->Arg(10000)->Unit(benchmark::kMillisecond);

// `megabytes` million characters on the six lines of one staff, nearly all digits: runs of one
// to four, pairs that are frets and pairs that are not, each line shifted by a character so that
// frets of two digits overlap from line to line.
QString digitsOnStaffLines(int megabytes) {
    const QString pattern = QStringLiteral("12-9777-00-1-222-10-");
    const qsizetype perLine = qsizetype(megabytes) * 1'000'000 / 6;
    QString text;
    text.reserve(qsizetype(megabytes) * 1'000'000 + 64);
    for (int line = 0; line < 6; ++line) {
        text += QStringLiteral("e|-");
        const QString shifted = pattern.mid(line) + pattern.left(line);
        text += shifted.repeated(perLine / pattern.size());
        text += QStringLiteral("-|\r\n");
    }
    return text;
}

// `lines` staff lines of a few characters, six to a staff, each staff followed by an empty line
// or, every third one, a count.
QString shortStaffLines(int lines) {
    QString text;
    for (int line = 0; line < lines; ++line) {
        text += QStringLiteral("e|-%1-|\r\n").arg(line % 13);
        if (line % 6 == 5)
            text += line % 18 == 17 ? QStringLiteral("x2\r\n") : QStringLiteral("\r\n");
    }
    return text;
}

template <QString (*makeText)(int)> void BM_ReadTab(benchmark::State& state) {
    const QString text = makeText(static_cast<int>(state.range(0)));
    std::size_t notes = 0;
    for (auto _ : state) {
        const TabReading reading = readTab(text);
        notes = reading.notes.size();
        benchmark::DoNotOptimize(notes);
    }
    state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
    state.counters["notes"] = static_cast<double>(notes);
}

// Reading adversarial texts, each at two sizes: twice the text should take twice the time.
BENCHMARK(BM_ReadTab<digitsOnStaffLines>)
    ->Name("BM_ReadDigitsOnStaffLines")
    ->Arg(5)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTab<shortStaffLines>)
    ->Name("BM_ReadShortStaffLines")
    ->Arg(500'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
