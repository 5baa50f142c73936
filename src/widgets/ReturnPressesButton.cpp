#include "widgets/ReturnPressesButton.h"

#include <QKeyEvent>
#include <QPushButton>

namespace fretloom {

namespace {

class ReturnPresser : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool isReturn = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!isReturn || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return QObject::eventFilter(watched, event);
        // Held down, it presses once, as Space does.
        if (!key->isAutoRepeat())
            static_cast<QPushButton*>(watched)->click();
        return true;
    }
};

}  // namespace

void pressFocusedButtonOnReturn(QWidget* window) {
    auto* presser = new ReturnPresser(window);
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (button->window() != window)
            continue;
        button->setAutoDefault(false);
        button->setDefault(false);
        button->installEventFilter(presser);
    }
}

}  // namespace fretloom
