#include "documents/TabFileFormat.h"

namespace fretloom {

using namespace Qt::StringLiterals;

namespace {

// Bytes 0x80 to 0x9F; the rest of the code page is Latin-1. The five undefined bytes keep the
// C1 control of the same number.
constexpr char16_t kWindows1252From0x80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr char16_t kByteOrderMark = 0xFEFF;

bool startsWithUtf16Bom(QByteArrayView bytes) {
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

bool isAscii(QByteArrayView bytes) {
    for (char byte : bytes)
        if (static_cast<unsigned char>(byte) >= 0x80)
            return false;
    return true;
}

// Walks strict UTF-8, handing each code point to `take`; false at the first fault.
template <typename Take> bool walkUtf8(QByteArrayView bytes, Take take) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            take(lead);
            ++p;
            continue;
        }
        int length = 0;
        char32_t code = 0;
        char32_t least = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
            least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
            least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
            least = 0x10000;
        } else {
            return false;
        }
        if (end - p < length)
            return false;
        for (int i = 1; i < length; ++i) {
            const unsigned char next = p[i];
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        take(code);
        p += length;
    }
    return true;
}

}  // namespace

char16_t windows1252ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0)
        return kWindows1252From0x80[byte - 0x80];
    return byte;
}

std::optional<unsigned char> unicodeToWindows1252(char16_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<unsigned char>(character);
    for (int i = 0; i < 32; ++i)
        if (kWindows1252From0x80[i] == character)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

bool isValidUtf8(QByteArrayView bytes) {
    return walkUtf8(bytes, [](char32_t) {});
}

std::optional<QString> decodeUtf8(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    const bool valid = walkUtf8(bytes, [&text](char32_t code) {
        if (code < 0x10000) {
            text += QChar(static_cast<char16_t>(code));
        } else {
            text += QChar(QChar::highSurrogate(code));
            text += QChar(QChar::lowSurrogate(code));
        }
    });
    if (!valid)
        return std::nullopt;
    return text;
}

QString withCrLfLineEnds(QString text) {
    const qsizetype size = text.size();
    qsizetype lone = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n')
            ++i;
        else if (c == u'\r' || c == u'\n')
            ++lone;
    }
    if (lone == 0)
        return text;

    QString fixed;
    fixed.reserve(size + lone);
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\r' || c == u'\n') {
            fixed += u"\r\n";
            if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n')
                ++i;
        } else {
            fixed += QChar(c);
        }
    }
    return fixed;
}

namespace {

// Every code unit after the byte-order mark as it stands, lone surrogate halves included.
DecodedTab decodeUtf16(QByteArrayView bytes) {
    DecodedTab decoded;
    const bool little = bytes.startsWith("\xFF\xFE");
    decoded.encoding = little ? TextEncoding::Utf16Le : TextEncoding::Utf16Be;
    if (bytes.size() % 2 != 0) {
        decoded.problem = u"It starts with the byte-order mark of UTF-16 but has an odd number "
                          u"of bytes, so its last character is cut off; it was not opened, so "
                          u"that no byte of it is lost."_s;
        return decoded;
    }
    QString text(bytes.size() / 2 - 1, Qt::Uninitialized);
    QChar* out = text.data();
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data()) + 2;
    for (qsizetype i = 0; i < text.size(); ++i, in += 2)
        *out++ = QChar(little ? char16_t(in[0] | in[1] << 8) : char16_t(in[0] << 8 | in[1]));
    decoded.text = withCrLfLineEnds(std::move(text));
    return decoded;
}

}  // namespace

DecodedTab decodeTabFile(QByteArrayView bytes) {
    if (startsWithUtf16Bom(bytes))
        return decodeUtf16(bytes);
    DecodedTab decoded;
    if (!isAscii(bytes)) {
        if (std::optional<QString> text = decodeUtf8(bytes)) {
            decoded.encoding = TextEncoding::Utf8;
            if (bytes.startsWith(kUtf8Bom)) {
                text->remove(0, 1);
                decoded.encoding = TextEncoding::Utf8WithBom;
            }
            decoded.text = withCrLfLineEnds(std::move(*text));
            return decoded;
        }
    }
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (char byte : bytes)
        *out++ = QChar(windows1252ToUnicode(static_cast<unsigned char>(byte)));
    decoded.text = withCrLfLineEnds(std::move(text));
    decoded.encoding = TextEncoding::Windows1252;
    return decoded;
}

namespace {

// UTF-8 has no form for a lone half of a surrogate pair; the replacement character takes its
// place. Returns how many were replaced.
qsizetype replaceLoneSurrogates(QString& text) {
    qsizetype replaced = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (text[i].isSurrogate()) {
            text[i] = QChar::ReplacementCharacter;
            ++replaced;
        }
    }
    return replaced;
}

}  // namespace

namespace {

// The text and one CR LF as UTF-16 behind its byte-order mark, every code unit as it is.
EncodedTab encodeUtf16(QStringView tabText, TextEncoding encoding) {
    const bool little = encoding == TextEncoding::Utf16Le;
    QByteArray bytes((tabText.size() + 3) * 2, Qt::Uninitialized);
    char* out = bytes.data();
    const auto put = [&out, little](char16_t unit) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        *out++ = little ? low : high;
        *out++ = little ? high : low;
    };
    put(kByteOrderMark);
    for (QChar c : tabText)
        put(c.unicode());
    put(u'\r');
    put(u'\n');
    return {bytes, encoding};
}

}  // namespace

EncodedTab encodeTabFile(QStringView tabText, TextEncoding current) {
    if (current == TextEncoding::Utf16Le || current == TextEncoding::Utf16Be)
        return encodeUtf16(tabText, current);
    if (current == TextEncoding::Windows1252) {
        const qsizetype size = tabText.size();
        QByteArray bytes(size + 2, Qt::Uninitialized);
        char* out = bytes.data();
        bool fits = true;
        bool ascii = true;
        for (QChar qc : tabText) {
            const char16_t c = qc.unicode();
            if (c < 0x80) {
                *out++ = static_cast<char>(c);
                continue;
            }
            ascii = false;
            const std::optional<unsigned char> byte = unicodeToWindows1252(c);
            if (!byte) {
                fits = false;
                break;
            }
            *out++ = static_cast<char>(*byte);
        }
        if (fits) {
            bytes[size] = '\r';
            bytes[size + 1] = '\n';
            // Bytes that happen to be valid UTF-8, or begin as a UTF-16 byte-order mark, would
            // come back as other characters.
            if (ascii || (!isValidUtf8(bytes) && !startsWithUtf16Bom(bytes)))
                return {bytes, TextEncoding::Windows1252};
        }
    }
    QString text = tabText.toString();
    const qsizetype unstorable = replaceLoneSurrogates(text);
    const bool marked =
        current == TextEncoding::Utf8WithBom || text.startsWith(QChar(kByteOrderMark));
    QByteArray bytes = marked ? QByteArray(kUtf8Bom) : QByteArray();
    bytes += text.toUtf8();
    bytes += "\r\n";
    return {bytes, marked ? TextEncoding::Utf8WithBom : TextEncoding::Utf8, unstorable};
}

}  // namespace fretloom
