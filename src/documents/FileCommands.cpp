#include "documents/FileCommands.h"

#include "appearance/TabBoxLook.h"
#include "documents/TabPrinter.h"
#include "sheet/SheetWindow.h"
#include "widgets/MenuCommand.h"

#include <QAction>
#include <QPlainTextEdit>

namespace fretloom {

using namespace Qt::StringLiterals;

FileCommands::FileCommands(SheetWindow& sheet, QObject* parent)
    : QObject(parent), sheet_(sheet), tabFiles_(sheet, sheet.dialogs(), files_),
      pen1_(makeCommand(this, "pen1", u"Open"_s, QKeySequence(Qt::CTRL | Qt::Key_O))),
      ave1_(makeCommand(this, "ave1", u"Save"_s, QKeySequence(Qt::CTRL | Qt::Key_S))),
      saveAs_(makeCommand(this, "saveAs", u"Save As\u2026"_s,
                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S))),
      rint1_(makeCommand(this, "rint1", u"Print"_s, QKeySequence(Qt::CTRL | Qt::Key_P))) {
    connect(pen1_, &QAction::triggered, this, [this] { tabFiles_.open(); });
    connect(ave1_, &QAction::triggered, this, [this] { tabFiles_.save(); });
    connect(saveAs_, &QAction::triggered, this, [this] { tabFiles_.saveAs(); });
    connect(rint1_, &QAction::triggered, this, &FileCommands::print);
}

void FileCommands::print() {
    printToDefaultPrinter(sheet_.dialogs(), sheet_.tabText(),
                          printerFont(tabFontOf(sheet_.tabBox()->font())), sheet_.title());
}

}  // namespace fretloom
