#pragma once

#include <QObject>

class QAction;

namespace fretloom {

class SheetWindow;

// The Format menu's commands on the tab box: Change Font, Back Ground, Text Color and Hide Tab
// Box, each changing the box as the user sees it and nothing of its text.
class AppearanceCommands : public QObject {
    Q_OBJECT

public:
    AppearanceCommands(SheetWindow& sheet, QObject* parent);

    QAction* changeFontCommand() const { return fnt_; }
    QAction* backgroundCommand() const { return bg_; }
    QAction* textColourCommand() const { return tc_; }
    QAction* hideTabBoxCommand() const { return hider_; }

private:
    void toggleTabBox();

    SheetWindow& sheet_;
    QAction* fnt_;
    QAction* bg_;
    QAction* tc_;
    QAction* hider_;
};

}  // namespace fretloom
