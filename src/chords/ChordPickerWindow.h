#pragma once

#include "chords/ChordPicker.h"
#include "widgets/ToolWindow.h"

#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

namespace fretloom {

class GridColumnCells;

// The chord picker `Form4`: writes a chord shape into one column of the grid it is given.
// A tool window of the window it opens beside; it is deleted when closed, so every opening
// after a close starts from the initial state. The controls carry their design names ("norm",
// "Power", "Bar", "where", "Command1", "Command2", "Label1", "Label2").
class ChordPickerWindow : public ToolWindow {
    Q_OBJECT

public:
    // Writes into `grid`, which outlives the picker; a window of `beside`'s, opened beside it.
    ChordPickerWindow(GridColumnCells& grid, QWidget* beside);

    QComboBox* chordBox(ChordStyle style) const;
    QComboBox* columnBox() const { return where_; }
    QPushButton* enterButton() const { return command1_; }
    QPushButton* styleButton() const { return command2_; }

    // The style is whichever chord box is shown; nothing else records it.
    std::optional<ChordStyle> chordStyle() const;

public slots:
    // Command2: hides the shown chord box, resetting its text, and shows the next one.
    void changeStyle();
    // Command1: writes the chosen chord into the chosen column of the grid.
    void enterChord();

private:
    void describeForScreenReaders();

    GridColumnCells& grid_;

    QLabel* label1_ = nullptr;
    QComboBox* power_ = nullptr;
    QComboBox* norm_ = nullptr;
    QComboBox* bar_ = nullptr;
    QLabel* label2_ = nullptr;
    QComboBox* where_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
};

}  // namespace fretloom
