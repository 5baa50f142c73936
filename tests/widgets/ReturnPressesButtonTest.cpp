#include "widgets/ReturnPressesButton.h"

#include "support/ProgramWindows.h"
#include "support/ScriptedDialogs.h"
#include "support/ShownMainWindow.h"
#include "ui/TabBox.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

// Puts the keyboard focus on the button of `owner` of this name or caption; `owner` becomes the
// active window.
void focusButton(QWidget* owner, const QString& name) {
    owner->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([owner] { return QApplication::activeWindow() == owner; }));
    QPushButton* button = nullptr;
    for (QPushButton* candidate : owner->findChildren<QPushButton*>())
        if (candidate->window() == owner &&
            (candidate->objectName() == name || candidate->text() == name))
            button = candidate;
    ASSERT_NE(button, nullptr);
    button->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(focused(), button);
}

using ReturnPressesButtonTest = ShownMainWindow;

TEST_F(ReturnPressesButtonTest, ReturnPressesTheFocusedButtonOfEveryWindow) {
    const SecondaryWindows open = openSecondaryWindows(window);
    ASSERT_TRUE(open.picker && open.notes);
    for (QWidget* owner : {static_cast<QWidget*>(&window), static_cast<QWidget*>(open.picker),
                           static_cast<QWidget*>(open.notes)})
        for (const QPushButton* button : owner->findChildren<QPushButton*>()) {
            EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
            EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
        }

    // The picker: Return on the style button switches the style, the keypad's Enter on Enter
    // writes the chord.
    focusButton(open.picker, u"Command2"_s);
    press(Qt::Key_Return);
    EXPECT_EQ(open.picker->chordStyle(), ChordStyle::Power);
    open.picker->chordBox(ChordStyle::Power)->setEditText(u"A"_s);
    focusButton(open.picker, u"Command1"_s);
    press(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(window.cell(Row::f, 1)->text(), u"5"_s);

    // The string notes window: Change, then Default.
    open.notes->box(Row::e)->setText(u"D"_s);
    focusButton(open.notes, u"Command1"_s);
    press(Qt::Key_Return);
    EXPECT_EQ(window.rowLabel(Row::e)->text(), u"D"_s);
    focusButton(open.notes, u"Command2"_s);
    press(Qt::Key_Return);
    EXPECT_EQ(open.notes->box(Row::e)->text(), u"e"_s);

    // The main window: Enter commits the bar, Clear empties the grid; Return in a cell does
    // neither.
    focusButton(&window, u"Command1"_s);
    press(Qt::Key_Return);
    EXPECT_TRUE(window.tabBox()->exactText().startsWith(u"D  |-"_s));
    const QString tab = window.tabBox()->exactText();
    focusButton(&window, u"Command2"_s);
    press(Qt::Key_Return);
    EXPECT_EQ(window.readGrid(), Grid{});
    window.cell(Row::g, 4)->setFocus();
    type(u"3"_s);
    press(Qt::Key_Return);
    EXPECT_EQ(window.tabBox()->exactText(), tab);
    EXPECT_EQ(window.cell(Row::g, 4)->text(), u"3"_s);
}

TEST_F(ReturnPressesButtonTest, InADialogReturnPressesOnlyTheFocusedButton) {
    // The secondary windows may be dialogs, which press their default button on Return.
    QDialog dialog(&window);
    auto* box = new QLineEdit(&dialog);
    auto* first = new QPushButton(u"First"_s, &dialog);
    auto* second = new QPushButton(u"Second"_s, &dialog);
    first->move(0, 40);
    second->move(100, 40);
    int firstClicks = 0;
    int secondClicks = 0;
    QObject::connect(first, &QPushButton::clicked, [&] { ++firstClicks; });
    QObject::connect(second, &QPushButton::clicked, [&] { ++secondClicks; });
    pressFocusedButtonOnReturn(&dialog);
    dialog.show();
    focusButton(&dialog, u"Second"_s);
    press(Qt::Key_Return);
    EXPECT_EQ(secondClicks, 1);
    box->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Return);
    press(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(firstClicks, 0);
    EXPECT_EQ(secondClicks, 1);
    EXPECT_TRUE(dialog.isVisible());
}

}  // namespace
}  // namespace fretloom
