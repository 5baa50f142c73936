#pragma once

namespace fretloom {

// The child process of the single-line open benchmark: `fretloom_bench --open-probe=PATH`.
int runOpenProbe(int argc, char** argv);

}  // namespace fretloom
