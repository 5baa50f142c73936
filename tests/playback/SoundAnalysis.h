#pragma once

// Listening to rendered or recorded sound: which pitches stand out, and when notes start. Plain
// numbers in and out, so the same checks judge the offline render and a recording of the program.

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace fretloom::testing {

struct Sound {
    int sampleRate = 0;
    std::span<const float> samples;
};

// A note as a listener should hear it: from `seconds` on, the MIDI key `key`.
struct HeardNote {
    double seconds = 0;
    int key = 0;
};

inline double frequencyOfKey(int key) {
    return 440.0 * std::exp2((key - 69) / 12.0);
}

inline double centsBetween(double hz, double referenceHz) {
    return 1200.0 * std::log2(hz / referenceHz);
}

// The strength of one frequency over [start, start + length) seconds, Hann-windowed and
// independent of the window's length; silence outside the sound.
inline double strengthAt(const Sound& sound, double start, double length, double hz) {
    const auto first = static_cast<std::ptrdiff_t>(std::lround(start * sound.sampleRate));
    const auto count = static_cast<std::ptrdiff_t>(std::lround(length * sound.sampleRate));
    // Turning phasors instead of a sine and a cosine per sample keep this quick in a debug build.
    const std::complex<double> turn =
        std::polar(1.0, -2 * std::numbers::pi * hz / sound.sampleRate);
    const std::complex<double> windowTurn = std::polar(1.0, 2 * std::numbers::pi / count);
    std::complex<double> phase = 1;
    std::complex<double> windowPhase = 1;
    std::complex<double> sum = 0;
    double weights = 0;
    for (std::ptrdiff_t i = 0; i < count; ++i, phase *= turn, windowPhase *= windowTurn) {
        const double window = 0.5 - 0.5 * windowPhase.real();
        weights += window;
        const std::ptrdiff_t at = first + i;
        if (at >= 0 && at < static_cast<std::ptrdiff_t>(sound.samples.size()))
            sum += phase * (window * sound.samples[static_cast<std::size_t>(at)]);
    }
    return weights > 0 ? std::abs(sum) / weights : 0;
}

// The spectrum's magnitudes of `values`, zero-padded to `size` (a power of two) points.
inline std::vector<double> magnitudes(std::vector<std::complex<double>> values, std::size_t size) {
    values.resize(size);
    for (std::size_t i = 1, j = 0; i < size; ++i) {
        std::size_t bit = size >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(values[i], values[j]);
    }
    for (std::size_t length = 2; length <= size; length <<= 1) {
        const std::complex<double> turn = std::polar(1.0, -2 * std::numbers::pi / length);
        for (std::size_t start = 0; start < size; start += length) {
            std::complex<double> w = 1;
            for (std::size_t k = 0; k < length / 2; ++k, w *= turn) {
                const std::complex<double> even = values[start + k];
                const std::complex<double> odd = values[start + k + length / 2] * w;
                values[start + k] = even + odd;
                values[start + k + length / 2] = even - odd;
            }
        }
    }
    std::vector<double> result(size / 2);
    for (std::size_t i = 0; i < result.size(); ++i)
        result[i] = std::abs(values[i]);
    return result;
}

// The pitches standing out in the 100 ms from `start` between 60 and 1400 Hz: every peak of the
// Hann-windowed spectrum, finely interpolated, of at least a fifth of the loudest.
inline std::vector<double> strongPitches(const Sound& sound, double start) {
    constexpr double kLength = 0.100;
    constexpr std::size_t kPoints = 1 << 16;
    const auto first = static_cast<std::ptrdiff_t>(std::lround(start * sound.sampleRate));
    const auto count = static_cast<std::ptrdiff_t>(std::lround(kLength * sound.sampleRate));
    std::vector<std::complex<double>> values;
    for (std::ptrdiff_t i = 0; i < count; ++i) {
        const std::ptrdiff_t at = first + i;
        const double window = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / count);
        const bool inside = at >= 0 && at < static_cast<std::ptrdiff_t>(sound.samples.size());
        values.emplace_back(inside ? window * sound.samples[static_cast<std::size_t>(at)] : 0.0);
    }
    const std::vector<double> spectrum = magnitudes(std::move(values), kPoints);
    const double binHz = static_cast<double>(sound.sampleRate) / kPoints;
    const auto low = static_cast<std::size_t>(60 / binHz);
    const auto high = static_cast<std::size_t>(1400 / binHz);
    const double loudest = *std::max_element(spectrum.begin() + low, spectrum.begin() + high);
    std::vector<double> peaks;
    for (std::size_t i = low; i < high; ++i) {
        if (loudest > 0 && spectrum[i] >= loudest / 5 && spectrum[i] > spectrum[i - 1] &&
            spectrum[i] >= spectrum[i + 1])
            peaks.push_back(static_cast<double>(i) * binHz);
    }
    return peaks;
}

inline bool standsOut(const std::vector<double>& pitches, int key) {
    return std::any_of(pitches.begin(), pitches.end(), [key](double hz) {
        return std::abs(centsBetween(hz, frequencyOfKey(key))) < 50;  // a quarter tone
    });
}

// When a note starts near `around` seconds: where the sound grows most, summed over the spectrum
// in third-octave bands, within 60 ms either side. A plucked string's attack is broad, while the
// notes already ringing fade or hold.
inline double attackNear(const Sound& sound, double around) {
    constexpr double kWindow = 0.020;
    constexpr double kHop = 0.001;
    constexpr int kReach = 60;     // hops
    constexpr int kHalfRise = 10;  // hops: half a window
    std::vector<double> bands;
    for (double f = 80; f <= 5000; f *= std::exp2(1.0 / 3))
        bands.push_back(f);
    std::vector<std::vector<double>> loudness;
    for (int i = -kReach - kHalfRise; i <= kReach + kHalfRise; ++i) {
        std::vector<double> frame;
        for (double f : bands)
            frame.push_back(
                std::log1p(1000 * strengthAt(sound, around + i * kHop - kWindow / 2, kWindow, f)));
        loudness.push_back(std::move(frame));
    }
    int steepest = kHalfRise;
    double steepestRise = -1;
    for (int i = kHalfRise; i + kHalfRise < static_cast<int>(loudness.size()); ++i) {
        double rise = 0;
        for (std::size_t b = 0; b < bands.size(); ++b)
            rise += std::max(0.0, loudness[i + kHalfRise][b] - loudness[i - kHalfRise][b]);
        if (rise > steepestRise) {
            steepestRise = rise;
            steepest = i;
        }
    }
    return around + (steepest - kReach - kHalfRise) * kHop;
}

// What is wrong with how `notes` sound in `sound`, once `offset` seconds are added to each note's
// time; empty when each starts within `tolerance` seconds of its time with its pitch newly
// standing out within a quarter tone. Notes at different times must be at least 150 ms apart.
inline std::vector<std::string> mismatches(const Sound& sound, const std::vector<HeardNote>& notes,
                                           double offset = 0, double tolerance = 0.020) {
    std::vector<std::string> wrong;
    std::optional<std::pair<double, double>> lastAttack;  // a chord's notes share theirs
    for (const HeardNote& note : notes) {
        const double at = note.seconds + offset;
        const std::string name =
            "key " + std::to_string(note.key) + " at " + std::to_string(note.seconds) + " s";
        if (!lastAttack || lastAttack->first != at)
            lastAttack = std::pair(at, attackNear(sound, at));
        const double attack = lastAttack->second;
        if (std::abs(attack - at) > tolerance)
            wrong.push_back(name + ": the sound starts at " + std::to_string(attack - offset));
        if (!standsOut(strongPitches(sound, at + 0.030), note.key))
            wrong.push_back(name + ": its pitch does not sound after it starts");
        if (standsOut(strongPitches(sound, at - 0.110), note.key))
            wrong.push_back(name + ": its pitch sounds before it starts");
    }
    return wrong;
}

}  // namespace fretloom::testing
