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

}  // namespace
