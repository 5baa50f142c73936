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
    // Files that begin with a byte-order mark are read by it and written back behind the same
    // mark, which is not part of the text.
    Utf8WithBom,
    Utf16Le,
    Utf16Be,
};

struct DecodedTab {
    QString text;
    TextEncoding encoding = TextEncoding::Windows1252;
    // Why the bytes cannot be opened as a tab, as a sentence for the user; empty when they can.
    QString problem;
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

// A file's bytes as tab text. A UTF-16 byte-order mark makes it UTF-16 of that byte order, every
// code unit kept as it is, lone halves of a surrogate pair included; an odd number of bytes
// after it is refused, as no byte may be lost. Otherwise UTF-8 when the bytes are valid UTF-8
// and not plain ASCII (with or without its byte-order mark), and Windows-1252 when not. Line
// ends come out as CR LF.
DecodedTab decodeTabFile(QByteArrayView bytes);

// The file for a tab: its text and one CR LF. Windows-1252 when every character fits and the
// bytes cannot be mistaken for UTF-8 or UTF-16 when read back; otherwise UTF-8. A document whose
// current encoding is UTF-8 or one with a byte-order mark stays so, so an opened file keeps its
// encoding. Text that begins with U+FEFF gets a byte-order mark in front in UTF-8, or the
// character would be read back as the mark.
EncodedTab encodeTabFile(QStringView tabText, TextEncoding current = TextEncoding::Windows1252);

}  // namespace fretloom
