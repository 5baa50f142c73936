#pragma once

#include "chords/ChordLibrary.h"
#include "sheet/Grid.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace fretloom {

// The picker's chord style. It has no variable in the window: it is whichever of the three
// chord boxes is shown (`norm` open, `Power` power, `Bar` barre).
enum class ChordStyle { Open, Power, Barre };

inline constexpr std::array<ChordStyle, 3> kAllChordStyles = {ChordStyle::Open, ChordStyle::Power,
                                                              ChordStyle::Barre};

// The entries of a style's chord box, in the order the list shows them (not sorted). They
// leave out a few names the tables hold ("E", "Em", power "E"); typing those still works.
QStringList chordBoxEntries(ChordStyle style);
// "1" .. "16".
QStringList columnBoxEntries();

// The texts a chord box starts with and the texts it gets when the style button hides it.
// Neither names a chord, so a hidden box never adds a chord to Enter.
QString initialChordBoxText(ChordStyle style);
QString resetChordBoxText(ChordStyle style);
inline constexpr char16_t kInitialColumnText[] = u"1";

// The style button's caption while `shown` is the style: it names the next style.
QString styleButtonCaption(ChordStyle shown);

// One click on the style button: the styles cycle open, power, barre, open.
struct StyleSwitch {
    ChordStyle hide;     // the box that goes out of sight ...
    QString hiddenText;  // ... and the text it is reset to
    ChordStyle show;
    QString caption;  // the style button's new caption
};
StyleSwitch switchStyle(ChordStyle shown);

// Enter: the shape the three chord boxes name. The tables are asked power, open, barre major,
// barre minor, and a later find replaces an earlier one. Power chords set the four lower
// strings only. A name no table holds leaves all six texts empty.
ChordShape resolveChord(const QString& powerText, const QString& openText,
                        const QString& barreText);

// The column that the column box names, 1 .. 16, or nothing. The text is read as a number
// and compared with the column numbers, so "03" and "3.0" are column 3 while "0", "17" and
// "2.5" are none. Blanks around the number and a leading sign are allowed (" 3 ", "+3");
// only plain decimal digits count: "1e1", "0x3", "3,0", letters and an empty text read as
// no number at all and so name no column.
std::optional<int> columnFromText(const QString& text);

// Writes the shape down one column, top e string first; every row, shown or not.
void placeChord(Grid& grid, int column, const ChordShape& shape);

}  // namespace fretloom
