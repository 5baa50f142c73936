#include "documents/TabFileFormat.h"

#include <array>
#include <gtest/gtest.h>
#include <random>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;

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

bool hasLoneLineEnd(const QByteArray& bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))
            return true;
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
            return true;
    }
    return false;
}

TEST(TabFileFuzz, DecodingThenEncodingLosesNothing) {
    RandomBytes random(20261207);
    for (int round = 0; round < 20000; ++round) {
        const QByteArray file = random.next(24);
        const DecodedTab opened = decodeTabFile(file);
        const EncodedTab saved = encodeTabFile(opened.text, opened.encoding);

        // Saving adds the one CR LF; reading the saved file gives the same text and that CR LF.
        const DecodedTab reopened = decodeTabFile(saved.bytes);
        ASSERT_EQ(reopened.text, opened.text + u"\r\n"_s)
            << "round " << round << ": " << file.toHex(' ').constData();
        // A file whose line ends were all CR LF comes back byte for byte.
        if (!hasLoneLineEnd(file)) {
            ASSERT_EQ(saved.bytes, file + "\r\n")
                << "round " << round << ": " << file.toHex(' ').constData();
        }
    }
}

}  // namespace
}  // namespace fretloom
