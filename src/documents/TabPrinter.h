#pragma once

#include "appearance/TabLook.h"

#include <QString>

class QPrinter;

namespace fretloom {

class DialogService;

struct PrintOutcome {
    bool printed = false;
    int pages = 0;
    QString problem;  // why nothing was printed, for the user
};

// Prints the tab text onto the printer as one document: the printer font takes the face and size
// only (normal weight, upright), the first line starts at the top-left corner of the printable
// area, lines are not wrapped, and a bar block that fits on one page is not cut by a page break.
// The printer's own settings (paper, margins, copies) stay as they are.
PrintOutcome printTabText(QPrinter& printer, const QString& text, const PrinterFont& font);

// The Print command: asks first, then prints the tab text to the system's default printer as one
// job named `jobName`. When there is no default printer or printing fails, the user is told.
void printToDefaultPrinter(DialogService& dialogs, const QString& text, const PrinterFont& font,
                           const QString& jobName);

}  // namespace fretloom
