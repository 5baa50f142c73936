#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

namespace fretloom {

// How a tab file's bytes stand for its characters.
enum class TextEncoding {
    // One byte, one character. Tab files from older Windows editors use it; the five bytes the
    // code page leaves undefined (0x81 0x8D 0x8F 0x90 0x9D) stand for U+0081 etc., so any file
    // reads and writes back byte for byte.
    Windows1252,
    Utf8,
};

struct DecodedTab {
    QString text;
    TextEncoding encoding = TextEncoding::Windows1252;
};

struct EncodedTab {
    QByteArray bytes;
    TextEncoding encoding = TextEncoding::Windows1252;
    // Halves of a surrogate pair standing alone: no text file can hold them, so they are written
    // as U+FFFD and the user is told.
    qsizetype unstorableCharacters = 0;
};

// The character a Windows-1252 byte stands for.
char16_t windows1252ToUnicode(unsigned char byte);
// The Windows-1252 byte of a character, or nothing when the code page lacks it.
std::optional<unsigned char> unicodeToWindows1252(char16_t character);

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool isValidUtf8(QByteArrayView bytes);
// The text of strict UTF-8 bytes, a byte-order mark included as U+FEFF; nothing when invalid.
std::optional<QString> decodeUtf8(QByteArrayView bytes);

// Every lone CR and lone LF becomes CR LF; CR LF pairs stay as they are.
QString withCrLfLineEnds(QString text);

// A file's bytes as tab text: UTF-8 when the bytes are valid UTF-8 and not plain ASCII,
// otherwise Windows-1252. Line ends come out as CR LF.
DecodedTab decodeTabFile(QByteArrayView bytes);

// The file for a tab: its text and one CR LF. Windows-1252 when every character fits and the
// bytes cannot be mistaken for UTF-8 when read back; otherwise UTF-8. A document whose current
// encoding is UTF-8 stays UTF-8, so an opened file keeps its encoding.
EncodedTab encodeTabFile(QStringView tabText, TextEncoding current = TextEncoding::Windows1252);

}  // namespace fretloom
