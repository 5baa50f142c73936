#include "tuning/StringNotesCommand.h"

#include "sheet/SheetWindow.h"
#include "tuning/StringNotesWindow.h"
#include "widgets/MenuCommand.h"
#include "widgets/ToolWindow.h"

namespace fretloom {

using namespace Qt::StringLiterals;

StringNotesCommand::StringNotesCommand(SheetWindow& sheet, QObject* parent)
    : QAction(parent), sheet_(sheet) {
    setUpCommand(*this, "chg", u"Change String Notes "_s, QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(this, &QAction::triggered, this, &StringNotesCommand::showWindow);
}

void StringNotesCommand::showWindow() {
    // A window that has been closed is only waiting to be deleted; the next one starts afresh.
    if (!form5_ || form5_->isHidden()) {
        form5_ = new StringNotesWindow(sheet_, &sheet_.mainWindow());
        sheet_.keepBeside(form5_);
    }
    bringForward(form5_);
}

}  // namespace fretloom
