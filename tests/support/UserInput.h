#pragma once

// Input as a user gives it: keys go to whatever widget has the keyboard focus, menus are opened
// and their items clicked with the mouse.

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <gtest/gtest.h>

namespace fretloom::testing {

inline QWidget* focused() {
    return QApplication::focusWidget();
}

inline QString focusedName() {
    QWidget* widget = focused();
    return widget ? widget->objectName() : QStringLiteral("<none>");
}

inline void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = focused();
    ASSERT_NE(target, nullptr) << "no widget has the keyboard focus";
    QTest::keyClick(target, key, modifiers);
}

inline void type(const QString& text) {
    QWidget* target = focused();
    ASSERT_NE(target, nullptr) << "no widget has the keyboard focus";
    QTest::keyClicks(target, text);
}

inline void pressTimes(Qt::Key key, int times, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    for (int i = 0; i < times; ++i)
        press(key, modifiers);
}

// Walks the focus with Tab from where it is through `expected` (which starts with the focused
// widget's name), then back with Shift+Tab, checking both orders.
inline void expectTabOrder(QStringList expected) {
    QStringList forward{focusedName()};
    for (qsizetype i = 1; i < expected.size(); ++i) {
        press(Qt::Key_Tab);
        forward << focusedName();
    }
    EXPECT_EQ(forward, expected);
    QStringList backward{focusedName()};
    for (qsizetype i = 1; i < expected.size(); ++i) {
        press(Qt::Key_Backtab, Qt::ShiftModifier);
        backward << focusedName();
    }
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(backward, expected);
}

// Shows the window and waits until it is active with its first focus in place.
inline void showAndActivate(QWidget& window) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

// Waits until `window` is the one that takes the keys. A window and its transient parent count
// as active together, so waiting for either to be active is not enough.
inline bool waitUntilTakingKeys(QWidget* window) {
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

inline QAction* menuBarEntry(QMainWindow& window, const QString& caption) {
    for (QAction* action : window.menuBar()->actions())
        if (action->text() == caption)
            return action;
    ADD_FAILURE() << "no menu bar entry " << caption.toStdString();
    return nullptr;
}

// Clicks a menu bar entry with the mouse; for a drop-down, then clicks the item in it.
inline void clickMenu(QMainWindow& window, const QString& entry, const QString& item = {}) {
    QMenuBar* bar = window.menuBar();
    QAction* top = menuBarEntry(window, entry);
    ASSERT_NE(top, nullptr);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(top).center());
    if (item.isEmpty())
        return;
    QMenu* menu = top->menu();
    ASSERT_NE(menu, nullptr) << entry.toStdString() << " has no drop-down";
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    for (QAction* action : menu->actions()) {
        if (action->text() == item) {
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                              menu->actionGeometry(action).center());
            return;
        }
    }
    ADD_FAILURE() << "no item " << item.toStdString() << " in " << entry.toStdString();
}

}  // namespace fretloom::testing
