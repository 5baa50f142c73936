#pragma once

#include <fstream>
#include <string>

namespace fretloom::bench {

// The process's peak resident memory in KiB, from the kernel's high-water mark for this program's
// own memory. (getrusage's maximum is no use here: a child started by the benchmark carries the
// benchmark's own peak across exec.)
inline long peakResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string field;
    while (status >> field) {
        if (field == "VmHWM:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
    }
    return 0;
}

}  // namespace fretloom::bench
