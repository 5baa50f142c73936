#pragma once

// The program's three windows at once: the main window with the chord picker and the string
// notes window opened from its menus, as a user opens them.

#include "chords/ChordPickerWindow.h"
#include "support/UserInput.h"
#include "tuning/StringNotesWindow.h"
#include "ui/MainWindow.h"

namespace fretloom::testing {

struct SecondaryWindows {
    ChordPickerWindow* picker = nullptr;
    StringNotesWindow* notes = nullptr;
};

inline SecondaryWindows openSecondaryWindows(MainWindow& window) {
    SecondaryWindows opened;
    clickMenu(window, QStringLiteral("Chords/Bar lines"));
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* picker = qobject_cast<ChordPickerWindow*>(top); picker && picker->isVisible())
            opened.picker = picker;
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    clickMenu(window, QStringLiteral("Format"), QStringLiteral("Change String Notes "));
    opened.notes = window.findChild<StringNotesWindow*>();
    EXPECT_NE(opened.picker, nullptr);
    EXPECT_NE(opened.notes, nullptr);
    return opened;
}

}  // namespace fretloom::testing
