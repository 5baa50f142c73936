#pragma once

#include "sheet/Grid.h"
#include "widgets/ToolWindow.h"

#include <array>

class QLineEdit;
class QPushButton;

namespace fretloom {

class StringCaptions;

// Form5, the string notes window: six boxes that rename the strings of the grid for other
// tunings. A tool window of the main window's, beside it; closing it discards whatever was
// typed.
class StringNotesWindow : public ToolWindow {
    Q_OBJECT

public:
    // Renames the strings through `captions`; a window of `owner`'s, opened beside it.
    StringNotesWindow(StringCaptions& captions, QWidget* owner);

    QLineEdit* box(Row row) const { return boxes_[index(row)]; }
    RowCaptions readBoxes() const;

public slots:
    // Command1: copies every box, unchanged, to the main window's row labels.
    void change();
    // Command2: puts standard tuning back into the boxes only.
    void restoreDefaults();

private:
    StringCaptions& captions_;
    std::array<QLineEdit*, kStringCount> boxes_{};
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
};

}  // namespace fretloom
