#pragma once

#include <QStringList>
#include <QStringView>
#include <vector>

namespace fretloom {

// The lines a printout of the tab holds. Every break the tab box shows starts a new line (CR LF
// as a rule, a lone CR, LF or paragraph separator too), and the printout ends the text with one
// more break, so the text after the last break is a line of its own; an empty tab is one empty
// line.
QStringList printedLines(QStringView text);

// Lays the lines out on pages of `linesPerPage` lines (at least one). A bar block, the lines up
// to the empty line that closes it, goes whole onto the next page when it does not fit on the
// rest of this one but fits on a page of its own; a longer block runs on across the break. The
// closing empty line follows its block, onto the next page if need be; a block moving on drops
// such empty lines rather than leave a page with nothing else on it. Pages at the end that hold
// nothing but empty lines are left out, yet there is always at least one page.
std::vector<QStringList> layoutPages(const QStringList& lines, int linesPerPage);

}  // namespace fretloom
