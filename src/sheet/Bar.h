#pragma once

#include "sheet/Grid.h"

#include <QString>

namespace fretloom {

inline constexpr char16_t kFiller[] = u"--";
inline constexpr char16_t kLineEnd[] = u"\r\n";

// Fills every empty cell with the filler, hidden rows included. A cell holding a space is
// not empty and stays as it is.
void tabs(Grid& grid);

// Caption, two spaces, "|-", the sixteen cells each followed by "-", "|", CR LF.
QString rowLine(const QString& caption, const RowCells& cells);

// The lines of the four rows every mode uses (g, d, a, f) and the empty line closing the block.
QString um(const Grid& grid, const RowCaptions& captions);

// Enter: fills the grid, then returns the bar block that goes onto the end of the tab, in the
// instrument mode that the convert item's caption names.
QString commitBar(Grid& grid, const RowCaptions& captions, const QString& modeCaption);

// Clear and Clear All: empties all 96 cells.
void deldeldel(Grid& grid);

// The bars in a tab: runs of lines with no empty line between them, among them a string line,
// which ends in "|". Enter closes each bar it writes with an empty line; a title or words
// between the bars are no bar. Lines end in CR LF, or in any break that stands alone.
int countBars(QStringView tab);

}  // namespace fretloom
