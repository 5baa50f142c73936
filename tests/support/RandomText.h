#pragma once

// Seeded random texts for the fuzz-style tests. The seed is fixed, so every run feeds the same
// inputs and a failure repeats; messages name the round and spell the text out code unit by code
// unit.

#include <QString>
#include <array>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

namespace fretloom::testing {

class RandomText {
public:
    explicit RandomText(std::uint32_t seed) : engine_(seed) {}

    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }

    bool chance(int percent) { return number(1, 100) <= percent; }

    template <typename T, std::size_t N> const T& pick(const std::array<T, N>& items) {
        return items[static_cast<std::size_t>(number(0, static_cast<int>(N) - 1))];
    }

    // One UTF-16 code unit: half of the time one that text code tends to trip over (line and
    // paragraph breaks, NUL, lone surrogate halves, no-break and zero-width spaces, the text
    // document's own markers, non-characters), otherwise any code unit of the BMP.
    QChar unit() {
        static constexpr std::array<char16_t, 32> awkward = {
            u'\r',  u'\n',  0x2029, 0x2028, 0x0000, 0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0x00A0, 0xFEFF,
            0xFFFC, 0xFFFD, 0xFFFE, 0xFFFF, 0xFDD0, 0xFDD1, u'\t',  u'\v',  u'\f',  0x0085, 0x200B,
            0x202E, 0x0301, u'-',   u'|',   u' ',   u'0',   u'9',   u'e',   0x00E9, 0x0663};
        if (chance(50))
            return QChar(pick(awkward));
        return QChar(static_cast<char16_t>(number(0, 0xFFFF)));
    }

    // Between `minLength` and `maxLength` code units. Now and then a whole surrogate pair (a
    // character outside the BMP) goes in as two of them.
    QString text(int minLength, int maxLength) {
        const int length = number(minLength, maxLength);
        QString result;
        while (result.size() < length) {
            if (length - result.size() >= 2 && chance(5)) {
                result += QChar(static_cast<char16_t>(number(0xD800, 0xDBFF)));
                result += QChar(static_cast<char16_t>(number(0xDC00, 0xDFFF)));
            } else {
                result += unit();
            }
        }
        return result;
    }

private:
    std::mt19937 engine_;
};

// "a" U+000D U+000A "b": runs of printable ASCII in quotes, every other code unit by its code.
inline std::string spelled(const QString& text) {
    if (text.isEmpty())
        return "(empty)";
    std::string out;
    bool inRun = false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7F && u != u'"') {
            if (!inRun)
                out += out.empty() ? "\"" : " \"";
            inRun = true;
            out += static_cast<char>(u);
            continue;
        }
        if (inRun)
            out += '"';
        inRun = false;
        char code[8];
        std::snprintf(code, sizeof code, "U+%04X", unsigned(u));
        out += out.empty() ? code : " " + std::string(code);
    }
    if (inRun)
        out += '"';
    return out;
}

}  // namespace fretloom::testing
