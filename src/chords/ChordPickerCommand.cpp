#include "chords/ChordPickerCommand.h"

#include "chords/ChordPickerWindow.h"
#include "sheet/SheetWindow.h"
#include "widgets/MenuCommand.h"
#include "widgets/ToolWindow.h"

namespace fretloom {

using namespace Qt::StringLiterals;

ChordPickerCommand::ChordPickerCommand(SheetWindow& sheet, QObject* parent)
    : QAction(parent), sheet_(sheet) {
    setUpCommand(*this, "chr", u"Chords/Bar lines"_s);
    connect(this, &QAction::triggered, this, &ChordPickerCommand::showPicker);
}

void ChordPickerCommand::showPicker() {
    // A picker that has been closed is only waiting to be deleted; the next one starts afresh.
    if (!picker_ || picker_->isHidden()) {
        picker_ = new ChordPickerWindow(sheet_, &sheet_.mainWindow());
        sheet_.keepBeside(picker_);
    }
    bringForward(picker_);
}

}  // namespace fretloom
