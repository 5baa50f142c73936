#include "documents/TabFileFormat.h"
#include "support/RandomText.h"

#include <array>
#include <gtest/gtest.h>
#include <random>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using fretloom::testing::RandomText;

// Random file contents, biased towards what trips a decoder: line ends, UTF-8 lead and
// continuation bytes (often in broken runs), byte-order marks, NUL and the code page's holes.
class RandomBytes {
public:
    explicit RandomBytes(std::uint32_t seed) : engine_(seed) {}

    QByteArray next(int maxLength) {
        static constexpr std::array<unsigned char, 20> awkward = {
            '\r', '\n', 0x00, 0xC2, 0xC3, 0xE2, 0xEF, 0xF0, 0xF4, 0xF8,
            0x80, 0x81, 0x8D, 0x8F, 0x90, 0x9D, 0xA0, 0xBB, 0xBF, 0xFF};
        const int length = number(0, maxLength);
        QByteArray bytes;
        while (bytes.size() < length) {
            const int kind = number(0, 9);
            if (kind < 4) {
                bytes += static_cast<char>(awkward[static_cast<std::size_t>(number(0, 19))]);
            } else if (kind < 6) {
                // A whole, valid UTF-8 character, so that many inputs decode as UTF-8.
                bytes += QString(QChar(static_cast<char16_t>(number(0x80, 0xD7FF)))).toUtf8();
            } else {
                bytes += static_cast<char>(number(0, 255));
            }
        }
        return bytes;
    }

private:
    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
    std::mt19937 engine_;
};

// Whether a CR or an LF stands outside a CR LF pair, in bytes or in UTF-16 code units.
template <typename Units> bool hasLoneLineEnd(const Units& units) {
    for (qsizetype i = 0; i < units.size(); ++i) {
        if (units[i] == '\r' && (i + 1 == units.size() || units[i + 1] != '\n'))
            return true;
        if (units[i] == '\n' && (i == 0 || units[i - 1] != '\r'))
            return true;
    }
    return false;
}

QByteArray utf16(const QString& units, bool littleEndian) {
    QByteArray bytes;
    for (QChar unit : units) {
        const char low = static_cast<char>(unit.unicode() & 0xFF);
        const char high = static_cast<char>(unit.unicode() >> 8);
        bytes += littleEndian ? low : high;
        bytes += littleEndian ? high : low;
    }
    return bytes;
}

// A random file in one of four forms: bytes as they come (Windows-1252 or UTF-8), the same behind
// a UTF-8 byte-order mark, and random UTF-16 code units, lone surrogate halves included, behind
// the byte-order mark of either byte order, now and then with one byte too many.
struct RandomFile {
    QByteArray bytes;
    QByteArray lineEnd;  // the CR LF that saving adds, in the file's encoding
    bool loneLineEnd = false;
    bool cutShort = false;
};

RandomFile randomFile(int round, RandomBytes& bytes, RandomText& units) {
    RandomFile file;
    const int form = round % 4;
    if (form < 2) {
        file.bytes = bytes.next(24);
        // Such bytes read as UTF-16; the other forms make those.
        if (file.bytes.startsWith("\xFF\xFE") || file.bytes.startsWith("\xFE\xFF"))
            file.bytes[0] = 'x';
        file.loneLineEnd = hasLoneLineEnd(file.bytes);
        if (form == 1)
            file.bytes.prepend("\xEF\xBB\xBF");
        file.lineEnd = "\r\n";
        return file;
    }
    const bool little = form == 2;
    const QString text = units.text(0, 12);
    file.bytes = utf16(QChar(0xFEFF) + text, little);
    file.lineEnd = utf16(u"\r\n"_s, little);
    file.loneLineEnd = hasLoneLineEnd(text);
    file.cutShort = units.chance(10);
    if (file.cutShort)
        file.bytes += static_cast<char>(units.number(0, 255));
    return file;
}

TEST(TabFileFuzz, DecodingThenEncodingLosesNothing) {
    RandomBytes random(20261207);
    RandomText units(1616);
    for (int round = 0; round < 40000; ++round) {
        const RandomFile file = randomFile(round, random, units);
        const DecodedTab opened = decodeTabFile(file.bytes);
        const std::string shown =
            "round " + std::to_string(round) + ": " + file.bytes.toHex(' ').toStdString();
        // A file that cannot come back whole is not opened at all.
        ASSERT_EQ(!opened.problem.isEmpty(), file.cutShort) << shown;
        if (file.cutShort)
            continue;
        const EncodedTab saved = encodeTabFile(opened.text, opened.encoding);
        // Whatever a file held, saving it needs no replacement character.
        ASSERT_EQ(saved.unstorableCharacters, 0) << shown;
        if (opened.encoding != TextEncoding::Windows1252) {
            ASSERT_EQ(saved.encoding, opened.encoding) << shown;
        }

        // Saving adds the one CR LF; reading the saved file gives the same text and that CR LF.
        const DecodedTab reopened = decodeTabFile(saved.bytes);
        ASSERT_EQ(reopened.text, opened.text + u"\r\n"_s) << shown;
        // A file whose line ends were all CR LF comes back byte for byte.
        if (!file.loneLineEnd) {
            ASSERT_EQ(saved.bytes, file.bytes + file.lineEnd) << shown;
        }
    }
}

}  // namespace
}  // namespace fretloom
