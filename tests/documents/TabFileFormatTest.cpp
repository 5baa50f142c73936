#include "documents/TabFileFormat.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <iconv.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;

QByteArray allBytes() {
    QByteArray bytes;
    for (int b = 0; b <= 0xFF; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

// glibc's own Windows-1252 table, for the bytes it defines.
std::optional<char16_t> systemWindows1252(unsigned char byte) {
    iconv_t convert = iconv_open("UTF-16LE", "CP1252");
    if (convert == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    char in[1] = {static_cast<char>(byte)};
    char out[4] = {};
    char* inPtr = in;
    char* outPtr = out;
    size_t inLeft = 1;
    size_t outLeft = sizeof out;
    const size_t done = iconv(convert, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(convert);
    if (done == static_cast<size_t>(-1) || outLeft != 2)
        return std::nullopt;
    return static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                 (static_cast<unsigned char>(out[1]) << 8));
}

TEST(Windows1252, AgreesWithTheSystemTableAndKeepsTheFiveUndefinedBytes) {
    const std::vector<int> undefined = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
    int checkedAgainstSystem = 0;
    for (int b = 0; b <= 0xFF; ++b) {
        const char16_t c = windows1252ToUnicode(static_cast<unsigned char>(b));
        if (std::find(undefined.begin(), undefined.end(), b) != undefined.end()) {
            EXPECT_EQ(c, b) << "byte " << b;
        } else if (const std::optional<char16_t> expected = systemWindows1252(b)) {
            EXPECT_EQ(c, *expected) << "byte " << b;
            ++checkedAgainstSystem;
        }
        // And back: every byte has exactly one character.
        EXPECT_EQ(unicodeToWindows1252(c), std::optional<unsigned char>(b)) << "byte " << b;
    }
    EXPECT_EQ(checkedAgainstSystem, 251);
    EXPECT_EQ(windows1252ToUnicode(0x80), u'\u20AC');
    EXPECT_EQ(windows1252ToUnicode(0x9F), u'\u0178');
    EXPECT_EQ(windows1252ToUnicode(0xA0), u'\u00A0');
}

TEST(Windows1252, LacksC1ControlsOtherThanTheFiveAndEverythingPastItsTable) {
    for (char16_t c : {u'\u0080', u'\u0082', u'\u0085', u'\u009F', u'\u0100', u'\u2192', u'\u20AD',
                       u'\uFEFF', char16_t(0xD83C)})
        EXPECT_EQ(unicodeToWindows1252(c), std::nullopt) << int(c);
}

TEST(Utf8, AcceptsOnlyStrictUtf8) {
    const QByteArray good[] = {"",
                               "plain",
                               "\xC3\xA9",
                               "\xE2\x82\xAC",
                               "\xF0\x9F\x8E\xB8",
                               "\xEF\xBB\xBF",
                               "\xF4\x8F\xBF\xBF",
                               "\xED\x9F\xBF"};
    for (const QByteArray& bytes : good)
        EXPECT_TRUE(isValidUtf8(bytes)) << bytes.toHex().constData();
    const QByteArray bad[] = {"\xC3",              // cut short
                              "\xC3(",             // continuation missing
                              "\x80",              // continuation alone
                              "\xC0\xAF",          // overlong '/'
                              "\xE0\x80\xAF",      // overlong
                              "\xF0\x80\x80\xAF",  // overlong
                              "\xED\xA0\x80",      // surrogate
                              "\xF4\x90\x80\x80",  // past U+10FFFF
                              "\xF5\x80\x80\x80",
                              "\xFF",
                              "\xFE",
                              "abc\xE2\x82"};
    for (const QByteArray& bytes : bad)
        EXPECT_FALSE(isValidUtf8(bytes)) << bytes.toHex().constData();
}

TEST(DecodeTabFile, ValidUtf8WithNonAsciiBytesIsReadAsUtf8) {
    const DecodedTab tab = decodeTabFile("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB8\r\n");
    EXPECT_EQ(tab.encoding, TextEncoding::Utf8);
    EXPECT_EQ(tab.text, u"caf\u00E9 \u20AC \U0001F3B8\r\n"_s);
}

TEST(DecodeTabFile, AByteOrderMarkNamesTheEncodingAndIsNoPartOfTheText) {
    struct Case {
        QByteArray bytes;
        TextEncoding encoding;
        QString text;
    };
    // "é", a lone LF, a G clef (a surrogate pair) and a lone high surrogate half.
    const Case cases[] = {
        {"\xEF\xBB\xBF\xC3\xA9\n\xF0\x9D\x84\x9E", TextEncoding::Utf8WithBom,
         u"\u00E9\r\n\U0001D11E"_s},
        {QByteArray("\xFF\xFE\xE9\x00\n\x00\x34\xD8\x1E\xDD\x00\xD8", 12), TextEncoding::Utf16Le,
         u"\u00E9\r\n\U0001D11E"_s + QChar(0xD800)},
        {QByteArray("\xFE\xFF\x00\xE9\x00\n\xD8\x34\xDD\x1E\xD8\x00", 12), TextEncoding::Utf16Be,
         u"\u00E9\r\n\U0001D11E"_s + QChar(0xD800)},
        // Only the first mark is the file's; a second is a character of the text.
        {QByteArray("\xFF\xFE\xFF\xFE", 4), TextEncoding::Utf16Le, u"\uFEFF"_s},
        // Not UTF-8 after all: every byte a character, the mark's three included.
        {"\xEF\xBB\xBF\xE9", TextEncoding::Windows1252, u"\u00EF\u00BB\u00BF\u00E9"_s},
    };
    for (const Case& c : cases) {
        const DecodedTab tab = decodeTabFile(c.bytes);
        EXPECT_EQ(tab.encoding, c.encoding) << c.bytes.toHex(' ').constData();
        EXPECT_EQ(tab.text, c.text) << c.bytes.toHex(' ').constData();
        EXPECT_TRUE(tab.problem.isEmpty());
    }
    // An odd byte after UTF-16 would be lost on saving: such a file is not opened.
    for (const QByteArray& odd : {QByteArray("\xFF\xFE"
                                             "a\0b",
                                             5),
                                  QByteArray("\xFE\xFF\0", 3)})
        EXPECT_TRUE(decodeTabFile(odd).problem.contains(u"odd number of bytes"_s));
}

TEST(DecodeTabFile, AsciiAndInvalidUtf8AreReadAsWindows1252ByteForCharacter) {
    const DecodedTab ascii = decodeTabFile("e  |-0-|\r\n");
    EXPECT_EQ(ascii.encoding, TextEncoding::Windows1252);
    EXPECT_EQ(ascii.text, u"e  |-0-|\r\n"_s);

    // "café" in Windows-1252, a lone continuation byte, an overlong form, a cut-off sequence.
    const DecodedTab latin = decodeTabFile("caf\xE9 \x80\x81 \xC0\xAF \xE2\x82");
    EXPECT_EQ(latin.encoding, TextEncoding::Windows1252);
    EXPECT_EQ(latin.text, u"caf\u00E9 \u20AC\u0081 \u00C0\u00AF \u00E2\u201A"_s);
}

TEST(DecodeTabFile, LoneLineFeedsAndCarriageReturnsBecomeCrLf) {
    struct Case {
        QByteArray bytes;
        QString text;
    };
    const Case cases[] = {{"a\nb", u"a\r\nb"_s},
                          {"a\rb", u"a\r\nb"_s},
                          {"a\n\rb", u"a\r\n\r\nb"_s},
                          {"a\r\r\nb", u"a\r\n\r\nb"_s},
                          {"\n", u"\r\n"_s},
                          {"\r", u"\r\n"_s},
                          {"a\r\nb\r\n\r\n", u"a\r\nb\r\n\r\n"_s},
                          {"\xC3\xA9\n", u"\u00E9\r\n"_s},
                          {"\xE9\r", u"\u00E9\r\n"_s}};
    for (const Case& c : cases)
        EXPECT_EQ(decodeTabFile(c.bytes).text, c.text) << c.bytes.toHex().constData();
}

TEST(DecodeTabFile, EveryByteBecomesACharacter) {
    // Lone CR and LF aside, which become CR LF, each of the 256 bytes is one character.
    const DecodedTab tab = decodeTabFile(allBytes());
    EXPECT_EQ(tab.encoding, TextEncoding::Windows1252);
    EXPECT_EQ(tab.text.size(), 256 + 2);
    EXPECT_EQ(tab.text.mid(0x0A, 2), u"\r\n"_s);
    EXPECT_EQ(tab.text.mid(0x0D + 1, 2), u"\r\n"_s);
    EXPECT_EQ(tab.text.at(0), QChar(0));
    EXPECT_EQ(tab.text.back(), QChar(0xFF));
}

TEST(EncodeTabFile, AddsOneCrLfAndWritesWindows1252WhenEveryCharacterFits) {
    EXPECT_EQ(encodeTabFile(u"").bytes, QByteArray("\r\n"));
    EXPECT_EQ(encodeTabFile(u"e  |-0-|\r\n\r\n").bytes, QByteArray("e  |-0-|\r\n\r\n\r\n"));
    const EncodedTab latin = encodeTabFile(u"caf\u00E9\u00A0\u20AC\u0081");
    EXPECT_EQ(latin.encoding, TextEncoding::Windows1252);
    EXPECT_EQ(latin.bytes, QByteArray("caf\xE9\xA0\x80\x81\r\n"));
}

TEST(EncodeTabFile, WritesUtf8WhenACharacterDoesNotFit) {
    const EncodedTab arrow = encodeTabFile(u"caf\u00E9 \u2192 \U0001F3B8");
    EXPECT_EQ(arrow.encoding, TextEncoding::Utf8);
    EXPECT_EQ(arrow.bytes, QByteArray("caf\xC3\xA9 \xE2\x86\x92 \xF0\x9F\x8E\xB8\r\n"));
    // C1 controls other than the five have no byte of their own either.
    EXPECT_EQ(encodeTabFile(u"\u0085").encoding, TextEncoding::Utf8);
}

TEST(EncodeTabFile, WritesUtf8WhereWindows1252BytesWouldReadBackAsOtherCharacters) {
    // "Ã©" is C3 A9 in Windows-1252, which reads as "é" in UTF-8.
    // "ÿþ" and "þÿ" begin as FF FE and FE FF, the byte-order marks of UTF-16.
    for (const QString& text : {u"\u00C3\u00A9"_s, u"\u00FF\u00FEa"_s, u"\u00FE\u00FF\u00E9"_s}) {
        const EncodedTab tab = encodeTabFile(text);
        EXPECT_EQ(tab.encoding, TextEncoding::Utf8);
        EXPECT_EQ(decodeTabFile(tab.bytes).text, text + u"\r\n"_s);
    }
}

TEST(EncodeTabFile, ADocumentFromAUtf8FileStaysUtf8) {
    const EncodedTab tab = encodeTabFile(u"caf\u00E9", TextEncoding::Utf8);
    EXPECT_EQ(tab.encoding, TextEncoding::Utf8);
    EXPECT_EQ(tab.bytes, QByteArray("caf\xC3\xA9\r\n"));
}

// Characters from every corner: ASCII, line ends, Latin-1, the code page's own, the five
// undefined bytes, C1 controls it lacks, other scripts and a character outside the BMP.
QString randomText(QRandomGenerator& random, int length) {
    static const QString pool =
        u"ab |-09\t\r\n\u0000\u007F\u00A0\u00C3\u00A9\u00FE\u00FF\u20AC\u0081"
        u"\u008D\u201A\u0178\u0085\u0100\u2192\u4E2D\uFEFF"_s +
        QString::fromUtf16(u"\U0001F3B8");
    QString text;
    while (text.size() < length) {
        const int i = random.bounded(int(pool.size()));
        if (pool[i].isHighSurrogate() || pool[i].isLowSurrogate())
            text += QString::fromUtf16(u"\U0001F3B8");
        else
            text += pool[i];
    }
    return text;
}

TEST(TabFileFormat, TextsComeBackWithOneMoreCrLf) {
    QRandomGenerator random(1252);
    for (int round = 0; round < 2000; ++round) {
        const QString text = decodeTabFile(randomText(random, random.bounded(12)).toUtf8())
                                 .text;  // CR LF line ends only
        for (TextEncoding current :
             {TextEncoding::Windows1252, TextEncoding::Utf8, TextEncoding::Utf8WithBom,
              TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
            const EncodedTab encoded = encodeTabFile(text, current);
            ASSERT_EQ(decodeTabFile(encoded.bytes).text, text + u"\r\n"_s)
                << encoded.bytes.toHex().constData();
        }
    }
}

TEST(TabFileFormat, FilesWithCrLfLineEndsComeBackByteForByte) {
    QRandomGenerator random(65001);
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes;
        const bool utf8 = round % 2 == 1;
        if (utf8) {
            bytes = encodeTabFile(decodeTabFile(randomText(random, 10).toUtf8()).text,
                                  TextEncoding::Utf8)
                        .bytes;
        } else {
            for (int i = 0; i < 10; ++i) {
                const char byte = static_cast<char>(random.bounded(256));
                if (byte == '\r' || byte == '\n')
                    bytes += "\r\n";
                else
                    bytes += byte;
            }
        }
        const DecodedTab opened = decodeTabFile(bytes);
        ASSERT_EQ(encodeTabFile(opened.text, opened.encoding).bytes, bytes + "\r\n")
            << bytes.toHex().constData();
    }
}

}  // namespace
}  // namespace fretloom
