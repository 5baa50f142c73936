#pragma once

#include "PeakResident.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <chrono>
#include <cstdio>

namespace fretloom::bench {

// The start-up probes run offscreen unless QT_QPA_PLATFORM says otherwise.
inline void startProbesOffscreen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// What every start-up probe does once its window is shown: waits for the first paint, closes
// the window, and prints the process's peak resident memory in KiB and the steady clock's time
// in nanoseconds when the window had painted.
inline int finishStartProbe(QWidget& window) {
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    QApplication::processEvents();
    const auto painted = std::chrono::steady_clock::now().time_since_epoch();
    window.close();
    std::printf("%ld %lld\n", peakResidentKiB(),
                static_cast<long long>(std::chrono::nanoseconds(painted).count()));
    return 0;
}

}  // namespace fretloom::bench
