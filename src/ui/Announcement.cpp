#include "ui/Announcement.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace fretloom {

namespace {

QAccessibleInterface* notifications(const QString& className, QObject* object) {
    if (className != QLatin1StringView(Announcement::staticMetaObject.className()))
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
}

}  // namespace

Announcement::Announcement(QWidget* parent) : QWidget(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(notifications);
        return true;
    }();
    Q_UNUSED(installed);

    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 0, 0);
    // Some screen readers speak a notification's name, others the labels inside it.
    words_ = new QLabel(this);
    words_->setGeometry(0, 0, 0, 0);
    hide();
}

void Announcement::announce(const QString& words) {
    hide();
    setAccessibleName(words);
    words_->setText(words);
    show();
}

}  // namespace fretloom
