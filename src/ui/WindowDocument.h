#pragma once

#include "documents/TabFiles.h"

class QWidget;

namespace fretloom {

class TabBox;

// Qt drops "[*]" from a window title (it marks where the modified star goes) and shows "[*][*]"
// as "[*]". Doubling every "[*]" makes the window show a title exactly as given.
QString escapeTitlePlaceholders(const QString& title);
QString unescapeTitlePlaceholders(const QString& title);

// The main window as the tab file flows see it: the tab box's exact text and the window title.
class WindowDocument : public DocumentView {
public:
    WindowDocument(QWidget* window, TabBox* tabBox) : window_(window), tabBox_(tabBox) {}

    QString tabText() const override;
    void setTabText(const QString& text) override;
    bool tabIsEmpty() const override;
    QString title() const override;
    void setTitle(const QString& title) override;

private:
    QWidget* window_;
    TabBox* tabBox_;
};

}  // namespace fretloom
