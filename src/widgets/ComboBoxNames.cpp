#include "widgets/ComboBoxNames.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

namespace fretloom {

using namespace Qt::StringLiterals;

namespace {

// Does what Qt's own drop-down interface does, except that the name is the box's accessible
// name rather than its text.
class NamedComboBox : public QAccessibleWidget {
public:
    explicit NamedComboBox(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text which) const override {
        if (which == QAccessible::Value)
            return box()->currentText();
        return QAccessibleWidget::text(which);
    }

    int childCount() const override { return static_cast<int>(parts().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> all = parts();
        if (index < 0 || index >= all.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(all[index]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child)
            return -1;
        return static_cast<int>(parts().indexOf(qobject_cast<QWidget*>(child->object())));
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = box()->view()->isVisible();
        state.editable = box()->isEditable();
        return state;
    }

    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << showMenuAction() << pressAction();
    }
    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (box()->view()->isVisible())
            box()->hidePopup();
        else
            box()->showPopup();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
    // The list first, then the edit field, in the order Qt's own interface gives them.
    QList<QWidget*> parts() const {
        QList<QWidget*> all{box()->view()};
        if (QLineEdit* edit = box()->lineEdit())
            all << edit;
        return all;
    }
};

QAccessibleInterface* namedComboBoxes(const QString& className, QObject* object) {
    if (className != u"QComboBox"_s)
        return nullptr;
    auto* box = qobject_cast<QComboBox*>(object);
    if (!box || box->accessibleName().isEmpty())
        return nullptr;
    return new NamedComboBox(box);
}

}  // namespace

void keepComboBoxNamesFixed() {
    static const bool installed = [] {
        QAccessible::installFactory(namedComboBoxes);
        return true;
    }();
    Q_UNUSED(installed);
}

}  // namespace fretloom
