#include "appearance/AppearanceCommands.h"

#include "appearance/TabBoxLook.h"
#include "sheet/SheetWindow.h"
#include "widgets/MenuCommand.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace fretloom {

using namespace Qt::StringLiterals;

AppearanceCommands::AppearanceCommands(SheetWindow& sheet, QObject* parent)
    : QObject(parent), sheet_(sheet),
      fnt_(makeCommand(this, "fnt", u"Change Font"_s, QKeySequence(Qt::CTRL | Qt::Key_F))),
      bg_(makeCommand(this, "bg", u"Back Ground"_s, QKeySequence(Qt::CTRL | Qt::Key_G))),
      tc_(makeCommand(this, "tc", u"Text Color"_s, QKeySequence(Qt::CTRL | Qt::Key_T))),
      hider_(makeCommand(this, "hider", u"Hide Tab Box"_s, QKeySequence(Qt::CTRL | Qt::Key_H))) {
    hider_->setCheckable(true);
    connect(fnt_, &QAction::triggered, this,
            [this] { changeTabBoxFont(*sheet_.tabBox(), sheet_.dialogs()); });
    connect(bg_, &QAction::triggered, this,
            [this] { changeTabBoxColour(*sheet_.tabBox(), QPalette::Base, sheet_.dialogs()); });
    connect(tc_, &QAction::triggered, this,
            [this] { changeTabBoxColour(*sheet_.tabBox(), QPalette::Text, sheet_.dialogs()); });
    connect(hider_, &QAction::triggered, this, &AppearanceCommands::toggleTabBox);
}

void AppearanceCommands::toggleTabBox() {
    const bool hidden = hider_->isChecked();
    sheet_.setClientHeight(clientHeight(hidden));
    // Out of view, the box keeps its text and still takes Enter, but no keystrokes: typing into
    // it unseen would change the tab behind the user's back.
    QPlainTextEdit* box = sheet_.tabBox();
    if (hidden) {
        if (box->hasFocus())
            sheet_.cell(Row::e, 1)->setFocus();
        box->setFocusPolicy(Qt::NoFocus);
    } else {
        box->setFocusPolicy(Qt::StrongFocus);
    }
}

}  // namespace fretloom
