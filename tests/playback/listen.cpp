// Listens to a recording of the program playing, for the end-to-end test.
//
//   fretloom_listen RECORDING notes SECONDS:KEY...
//     The notes sound at their times, counted from the recording's first sound, and at their
//     pitches (each within a quarter tone and 40 ms).
//   fretloom_listen RECORDING stopped SECONDS
//     Something sounded, and the last SECONDS of the recording are silent.
//
// RECORDING holds mono 32-bit float samples at 44,100 Hz, as parec writes them with
// --format=float32le --channels=1 --rate=44100 --raw.

#include "playback/SoundAnalysis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace fretloom::testing;

namespace {

constexpr int kSampleRate = 44100;
constexpr float kAudible = 0.01f;
constexpr float kSilent = 0.001f;

std::vector<float> readRecording(const char* path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
    std::vector<float> samples(bytes.size() / sizeof(float));
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
    return samples;
}

int usage() {
    std::fprintf(stderr, "usage: fretloom_listen RECORDING notes SECONDS:KEY...\n"
                         "       fretloom_listen RECORDING stopped SECONDS\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4)
        return usage();
    const std::vector<float> samples = readRecording(argv[1]);
    const Sound sound{kSampleRate, samples};
    const auto firstSound = std::find_if(samples.begin(), samples.end(),
                                         [](float s) { return std::abs(s) > kAudible; });
    if (firstSound == samples.end()) {
        std::printf("%s: nothing sounds in %zu samples\n", argv[1], samples.size());
        return 1;
    }
    const double soundStarts = static_cast<double>(firstSound - samples.begin()) / kSampleRate;

    if (std::strcmp(argv[2], "stopped") == 0) {
        const double quiet = std::stod(argv[3]);
        const auto tail = static_cast<std::ptrdiff_t>(quiet * kSampleRate);
        if (static_cast<std::ptrdiff_t>(samples.size()) < tail) {
            std::printf("%s: shorter than %g s\n", argv[1], quiet);
            return 1;
        }
        const float loudest =
            std::abs(*std::max_element(samples.end() - tail, samples.end(),
                                       [](float a, float b) { return std::abs(a) < std::abs(b); }));
        std::printf("sound from %.3f s; loudest in the last %g s: %g\n", soundStarts, quiet,
                    static_cast<double>(loudest));
        return loudest < kSilent ? 0 : 1;
    }

    if (std::strcmp(argv[2], "notes") != 0)
        return usage();
    std::vector<HeardNote> notes;
    for (int i = 3; i < argc; ++i) {
        const std::string note = argv[i];
        const std::size_t colon = note.find(':');
        if (colon == std::string::npos)
            return usage();
        notes.push_back({std::stod(note.substr(0, colon)), std::stoi(note.substr(colon + 1))});
    }
    // The first note is where the sound first rises.
    const double offset = attackNear(sound, soundStarts) - notes.front().seconds;
    std::printf("the first note starts %.3f s into the recording\n", offset);
    const std::vector<std::string> wrong = mismatches(sound, notes, offset, 0.040);
    for (const std::string& line : wrong)
        std::printf("%s\n", line.c_str());
    return wrong.empty() ? 0 : 1;
}
