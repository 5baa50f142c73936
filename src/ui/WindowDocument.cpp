#include "ui/WindowDocument.h"

#include "ui/TabBox.h"

#include <QWidget>

namespace fretloom {

using namespace Qt::StringLiterals;

QString escapeTitlePlaceholders(const QString& title) {
    QString escaped = title;
    return escaped.replace(u"[*]"_s, u"[*][*]"_s);
}

QString unescapeTitlePlaceholders(const QString& title) {
    QString plain = title;
    return plain.replace(u"[*][*]"_s, u"[*]"_s);
}

QString WindowDocument::tabText() const {
    return tabBox_->exactText();
}

void WindowDocument::setTabText(const QString& text) {
    tabBox_->setExactText(text);
}

bool WindowDocument::tabIsEmpty() const {
    return tabBox_->isEmptyText();
}

QString WindowDocument::title() const {
    return unescapeTitlePlaceholders(window_->windowTitle());
}

void WindowDocument::setTitle(const QString& title) {
    window_->setWindowTitle(escapeTitlePlaceholders(title));
}

}  // namespace fretloom
