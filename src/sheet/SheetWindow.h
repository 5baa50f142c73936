#pragma once

#include "sheet/Grid.h"
#include "sheet/SheetAccess.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace fretloom {

class DialogService;

// The main window as the commands of its menus see it, whichever folder they live in. Its
// controls are the tab sheet, read and written at the moment a command runs. The tab box's text
// goes in and out exactly through tabText() and setTabText().
class SheetWindow : public GridColumnCells, public StringCaptions, public DocumentView {
public:
    // The window itself: the owner of the windows that open beside it.
    virtual QWidget& mainWindow() = 0;
    virtual DialogService& dialogs() const = 0;

    virtual QLineEdit* cell(Row row, int column) const = 0;
    virtual QLabel* rowLabel(Row row) const = 0;
    virtual QWidget* stringLine(Row row) const = 0;
    virtual QPlainTextEdit* tabBox() const = 0;

    virtual Grid readGrid() const = 0;
    // Writes the cells whose text differs from the grid's.
    virtual void writeGrid(const Grid& grid) = 0;
    virtual RowCaptions readCaptions() const = 0;
    // The convert item's caption, which is the instrument mode.
    virtual QString modeCaption() const = 0;

    // The height of the client area, in twips; the window, which the user cannot resize,
    // follows it.
    virtual void setClientHeight(int twips) = 0;
    // Registers one of the program's modeless windows: it closes when this window closes.
    virtual void keepBeside(QWidget* window) = 0;
};

}  // namespace fretloom
