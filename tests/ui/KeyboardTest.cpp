// The program without a mouse: the menu bar, the commands without a shortcut and the keyboard
// order while the tab box is hidden.

#include "chords/ChordPickerWindow.h"
#include "chords/PrintQString.h"
#include "support/ScriptedDialogs.h"
#include "support/ShownMainWindow.h"
#include "support/UserInput.h"
#include "ui/MainWindow.h"
#include "ui/TabBox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <algorithm>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

// An open drop-down takes the keys while it is shown, whatever widget keeps the focus.
void pressInMenus(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::activePopupWidget();
    if (!target)
        target = focused();
    ASSERT_NE(target, nullptr) << "no widget takes the keys";
    QTest::keyClick(target, key, modifiers);
}

// Alt pressed and let go alone: the menu bar takes the keyboard.
void pressAlt() {
    press(Qt::Key_Alt, Qt::AltModifier);
}

class KeyboardTest : public ShownMainWindow {
protected:
    QString highlightedEntry() const {
        QAction* active = window.menuBar()->activeAction();
        return active ? active->text() : QString();
    }
    static QString highlightedItem() {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        return menu && menu->activeAction() ? menu->activeAction()->text() : QString();
    }
    // Moves down an open drop-down to an item; gives up after going once round.
    static void downTo(const QString& item) {
        for (int i = 0; i < 12 && highlightedItem() != item; ++i)
            pressInMenus(Qt::Key_Down);
        ASSERT_EQ(highlightedItem(), item);
    }

    ChordPickerWindow* openPicker() const {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* picker = qobject_cast<ChordPickerWindow*>(top); picker && picker->isVisible())
                return picker;
        return nullptr;
    }

    QStringList column(int k) const {
        QStringList texts;
        for (Row row : kAllRows)
            texts << window.cell(row, k)->text();
        return texts;
    }
};

TEST_F(KeyboardTest, AltTakesTheKeyboardToTheMenuBarAndEscapeBringsItBack) {
    window.cell(Row::d, 9)->setFocus();
    pressAlt();
    EXPECT_EQ(focused(), window.menuBar());
    EXPECT_EQ(highlightedEntry(), u"File"_s);
    pressInMenus(Qt::Key_Right);
    EXPECT_EQ(highlightedEntry(), u"Format"_s);
    pressInMenus(Qt::Key_Escape);
    EXPECT_EQ(focusedName(), u"d9"_s);
    EXPECT_EQ(highlightedEntry(), QString());
    type(u"7"_s);
    EXPECT_EQ(window.cell(Row::d, 9)->text(), u"7"_s);
}

TEST_F(KeyboardTest, AChordReachesTheGridByKeyboardAlone) {
    // Chords/Bar lines has no shortcut: the menu bar reaches it.
    pressAlt();
    pressInMenus(Qt::Key_Right);
    pressInMenus(Qt::Key_Right);
    ASSERT_EQ(highlightedEntry(), u"Chords/Bar lines"_s);
    pressInMenus(Qt::Key_Return);
    ChordPickerWindow* picker = openPicker();
    ASSERT_NE(picker, nullptr);
    ASSERT_TRUE(waitUntilTakingKeys(picker));
    ASSERT_EQ(focusedName(), u"norm"_s);

    press(Qt::Key_A, Qt::ControlModifier);
    type(u"C"_s);
    press(Qt::Key_Tab);  // Enter
    press(Qt::Key_Tab);  // the column box
    press(Qt::Key_A, Qt::ControlModifier);
    type(u"4"_s);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(focusedName(), u"Command1"_s);
    press(Qt::Key_Space);
    EXPECT_EQ(column(4), (QStringList{u"0"_s, u"1"_s, u"0"_s, u"2"_s, u"3"_s, u"3"_s}));
    EXPECT_TRUE(window.tabBox()->isEmptyText());
}

TEST_F(KeyboardTest, AboutIsTheLastEntryOfTheMenuBar) {
    window.cell(Row::a, 2)->setFocus();
    pressAlt();
    pressInMenus(Qt::Key_Left);  // round from the first entry to the last
    ASSERT_EQ(highlightedEntry(), u"About"_s);
    pressInMenus(Qt::Key_Return);
    ASSERT_EQ(dialogs.abouts.size(), 1u);
    EXPECT_EQ(dialogs.abouts[0].first, u"About"_s);
    EXPECT_EQ(focusedName(), u"a2"_s);
}

// With Qt's own About box, which takes the keyboard away from the main window: once it is
// closed, the focus is back in the cell it came from, not left on the menu bar.
TEST(KeyboardAboutBoxTest, TheFocusComesBackWhereItWas) {
    MainWindow window;
    showAndActivate(window);
    window.cell(Row::a, 2)->setFocus();
    pressAlt();
    pressInMenus(Qt::Key_Left);
    ASSERT_EQ(window.menuBar()->activeAction()->text(), u"About"_s);

    bool closed = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            poll.stop();
            QTest::keyClick(box, Qt::Key_Return);
            closed = true;
        }
    });
    poll.start(10);
    pressInMenus(Qt::Key_Return);
    ASSERT_TRUE(closed);
    window.activateWindow();  // as the window manager does once the box is gone
    EXPECT_TRUE(waitUntilTakingKeys(&window));
    EXPECT_EQ(focusedName(), u"a2"_s);
    type(u"7"_s);
    EXPECT_EQ(window.cell(Row::a, 2)->text(), u"7"_s);
}

TEST_F(KeyboardTest, DropDownItemsAreChosenWithArrowsAndReturn) {
    for (Row row : kAllRows)
        window.cell(row, 6)->setText(u"|"_s);
    window.tabBox()->setExactText(u"Intro"_s);
    window.cell(Row::g, 3)->setFocus();

    pressAlt();
    pressInMenus(Qt::Key_Right);
    pressInMenus(Qt::Key_Down);  // opens Format
    auto* format = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(format->objectName(), u"Format"_s);
    downTo(u"Clear All"_s);
    pressInMenus(Qt::Key_Return);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(window.readGrid(), Grid{});
    EXPECT_EQ(window.tabBox()->exactText(), u"Intro"_s);
    EXPECT_EQ(focusedName(), u"g3"_s);

    // Escape in an open drop-down closes it and chooses nothing.
    pressAlt();
    pressInMenus(Qt::Key_Right);
    pressInMenus(Qt::Key_Down);
    downTo(u"Convert to bass"_s);
    pressInMenus(Qt::Key_Escape);
    pressInMenus(Qt::Key_Escape);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(window.findChild<QAction*>(u"con"_s)->text(), u"Convert to bass"_s);
    EXPECT_TRUE(window.cell(Row::e, 1)->isVisible());
    EXPECT_EQ(focusedName(), u"g3"_s);
}

TEST_F(KeyboardTest, WithTheTabBoxHiddenTabAndShiftTabSkipIt) {
    press(Qt::Key_H, Qt::ControlModifier);
    ASSERT_TRUE(window.findChild<QAction*>(u"hider"_s)->isChecked());
    QStringList expected;
    for (Row row : kAllRows)
        for (int column = 1; column <= kColumnCount; ++column)
            expected << cellName(row, column);
    expected << u"Command1"_s << u"Command2"_s << u"e1"_s;

    expectTabOrder(expected);
}

}  // namespace
}  // namespace fretloom
