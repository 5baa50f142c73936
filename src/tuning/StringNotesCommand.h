#pragma once

#include <QAction>
#include <QPointer>

namespace fretloom {

class SheetWindow;
class StringNotesWindow;

// chg, in the Format menu: shows the string notes window, or brings the open one forward as the
// user left it.
class StringNotesCommand : public QAction {
    Q_OBJECT

public:
    StringNotesCommand(SheetWindow& sheet, QObject* parent);

private:
    void showWindow();

    SheetWindow& sheet_;
    QPointer<StringNotesWindow> form5_;
};

}  // namespace fretloom
