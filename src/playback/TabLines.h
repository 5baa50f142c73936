#pragma once

#include "playback/TabReading.h"

#include <QStringView>
#include <optional>

namespace fretloom {

// A line of a tab text, without its line end.
struct TextLine {
    qsizetype start = 0;
    qsizetype length = 0;
};

// The lines of a text one after another; a line ends at CR, LF or CR LF.
class LineWalk {
public:
    explicit LineWalk(QStringView text) : text_(text) {}
    std::optional<TextLine> next();

private:
    QStringView text_;
    qsizetype at_ = 0;
    bool done_ = false;
};

// What a staff line is made of, in offsets into the text.
struct StaffLineParts {
    TextSpan line;                  // the whole line
    TextSpan name;                  // empty, at the line's start, when the line has none
    TextSpan body;                  // the music, where its columns count from
    TextSpan remark;                // what follows the music, without spaces around it
    bool bare = false;              // the body starts the line: no name, no '|' or ':' before it
    bool barInFront = false;        // a '|' stands right before the body
    std::optional<CellLine> cells;  // the cells of a line as Enter writes it
};

// The parts of `line` when it is a staff line; nothing when it is not.
std::optional<StaffLineParts> staffLineParts(QStringView text, TextLine line);

// The count of a repeat written as "x2", "X4", "(x3)" or "3x", from 1 to kMaxRepeatCount, with
// spaces around it; nothing for any other text.
inline constexpr int kMaxRepeatCount = 99;
std::optional<int> repeatCount(QStringView written);

// The highest fret a guitar has.
inline constexpr int kHighestFret = 24;

// The fret of a capo line such as "Capo 3", "Capo: 2nd fret" or "capo on 5", up to kHighestFret.
std::optional<int> capoFret(QStringView line);

inline bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

inline bool isMute(QChar c) {
    return c == u'x' || c == u'X';
}

}  // namespace fretloom
