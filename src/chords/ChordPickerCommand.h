#pragma once

#include <QAction>
#include <QPointer>

namespace fretloom {

class ChordPickerWindow;
class SheetWindow;

// chr, the menu bar's "Chords/Bar lines": opens the chord picker, or brings the open one to the
// front as it is.
class ChordPickerCommand : public QAction {
    Q_OBJECT

public:
    ChordPickerCommand(SheetWindow& sheet, QObject* parent);

private:
    void showPicker();

    SheetWindow& sheet_;
    QPointer<ChordPickerWindow> picker_;
};

}  // namespace fretloom
