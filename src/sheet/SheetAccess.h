#pragma once

#include "sheet/Grid.h"

#include <QString>

namespace fretloom {

// What the chord picker writes to: the six cells of one grid column.
class GridColumnCells {
public:
    virtual ~GridColumnCells() = default;

    // Writes `texts` down column `column` (1 .. 16), top string first, every row shown or not.
    virtual void writeColumn(int column, const std::array<QString, kStringCount>& texts) = 0;
};

// What the string notes window writes to: the captions of the six row labels.
class StringCaptions {
public:
    virtual ~StringCaptions() = default;

    virtual void setRowCaption(Row row, const QString& caption) = 0;
};

// What the tab file flows see of the main window: the tab box text and the window title.
class DocumentView {
public:
    virtual ~DocumentView() = default;

    virtual QString tabText() const = 0;
    virtual void setTabText(const QString& text) = 0;
    virtual bool tabIsEmpty() const { return tabText().isEmpty(); }
    // The title as the user reads it.
    virtual QString title() const = 0;
    virtual void setTitle(const QString& title) = 0;
};

}  // namespace fretloom
