#pragma once

#include "playback/TabLines.h"
#include "playback/TabReading.h"
#include "sheet/Grid.h"

#include <QStringView>
#include <array>
#include <optional>
#include <span>
#include <vector>

namespace fretloom {

// A repeat sign across a staff at `tick`: ":|" closes a repeat, "|:" opens one, ":|:" both.
struct RepeatSign {
    qint64 tick = 0;
    bool closes = false;
    bool opens = false;
};

// Reads the staves of one text one after another; its scratch space serves them all.
class StaffReader {
public:
    StaffReader(QStringView text, TabReading& reading) : text_(text), reading_(reading) {}

    // Adds the staff of `lines`, which starts at `start`, and its notes to the reading.
    // `pitchClasses` holds the pitch class of each line's string, where it is known.
    void read(std::span<const StaffLineParts> lines, qint64 start,
              const std::vector<std::optional<int>>& pitchClasses, int capo);

    // The repeat signs of the staff read last, in order.
    const std::vector<RepeatSign>& signs() const { return signs_; }
    // Its last sign closes a repeat at the end of every line, so a count beside it is that
    // repeat's.
    bool closesAtEnd() const { return closesAtEnd_; }

private:
    // A note found on a line: where it sounds (a cell or character column), where it is written,
    // what it is.
    struct Found {
        qsizetype column;
        TextSpan source;
        bool muted;
        int fret;
    };

    void readCells();
    void readCharacters();
    void findRepeatSigns(qsizetype width, const std::vector<qint64>& ticks);
    void findPairs(qsizetype width);
    void findNotes(std::size_t line, const std::vector<qint64>& ticks);
    const std::vector<qint64>& columnTicks(const std::vector<bool>& noTime, qint64 width);
    std::optional<Found> noteIn(qsizetype from, qsizetype to) const;
    void addNotes(int string, const std::vector<Found>& found, const std::vector<qint64>& ticks);
    template <typename ColumnEnd>
    void makeBars(const std::vector<qsizetype>& boundaries, const std::vector<qint64>& ticks,
                  ColumnEnd columnEnd);

    QStringView text_;
    TabReading& reading_;
    std::span<const StaffLineParts> lines_;
    int staffIndex_ = 0;
    Staff staff_;
    std::vector<RepeatSign> signs_;
    bool closesAtEnd_ = false;
    // Scratch, one entry per line or column of the staff read now.
    std::vector<std::array<TextSpan, kColumnCount>> cellSpans_;
    std::vector<QStringView> bodies_;
    std::vector<bool> noTime_;
    std::vector<bool> colon_;
    std::vector<bool> squeezed_;
    std::vector<bool> pairStart_;
    std::vector<qsizetype> chord_;
    std::vector<qsizetype> boundaries_;
    std::vector<qint64> ticks_;
    std::vector<Found> found_;
};

}  // namespace fretloom
