// What a screen reader learns of the windows, asked the way one asks: through the accessible
// interfaces Qt hands out for each control.

#include "chords/ChordPickerWindow.h"
#include "chords/PrintQString.h"
#include "support/ScriptedDialogs.h"
#include "support/ShownMainWindow.h"
#include "support/UserInput.h"
#include "tuning/StringNotesWindow.h"
#include "ui/Announcement.h"
#include "ui/MainWindow.h"
#include "ui/TabBox.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QWindow>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

// The interfaces are made on request; on the offscreen platform no assistive technology is
// listening, so nothing else has to be switched on for them to answer.
QAccessibleInterface* accessible(QObject* object) {
    QAccessibleInterface* found = QAccessible::queryAccessibleInterface(object);
    EXPECT_NE(found, nullptr) << object->objectName().toStdString();
    return found;
}
QString nameOf(QObject* object) {
    QAccessibleInterface* found = accessible(object);
    return found ? found->text(QAccessible::Name) : QString();
}
QString descriptionOf(QObject* object) {
    QAccessibleInterface* found = accessible(object);
    return found ? found->text(QAccessible::Description) : QString();
}
QAccessible::Role roleOf(QObject* object) {
    QAccessibleInterface* found = accessible(object);
    return found ? found->role() : QAccessible::NoRole;
}
// What the control holds, as a screen reader reads it besides the name.
QString valueOf(QObject* object) {
    QAccessibleInterface* found = accessible(object);
    return found ? found->text(QAccessible::Value) : QString();
}
// The text of an edit field, read through the text interface.
QString textOf(QObject* object) {
    QAccessibleInterface* found = accessible(object);
    QAccessibleTextInterface* text = found ? found->textInterface() : nullptr;
    return text ? text->text(0, text->characterCount()) : u"<no text interface>"_s;
}
// The names of the labels a screen reader announces with the control.
QStringList labelsOf(QObject* object) {
    QStringList names;
    if (QAccessibleInterface* found = accessible(object))
        for (const auto& [label, relation] : found->relations(QAccessible::Label))
            names << label->text(QAccessible::Name);
    return names;
}

class AccessibilityTest : public ShownMainWindow {
protected:
    QStringList cellNames(Row row) const {
        QStringList names;
        for (int column = 1; column <= kColumnCount; ++column)
            names << nameOf(window.cell(row, column));
        return names;
    }
    static QStringList expectedNames(const QString& string) {
        QStringList names;
        for (int column = 1; column <= kColumnCount; ++column)
            names << u"%1, column %2"_s.arg(string).arg(column);
        return names;
    }

    StringNotesWindow* openStringNotes() {
        press(Qt::Key_N, Qt::ControlModifier);
        auto* notes = window.findChild<StringNotesWindow*>();
        EXPECT_NE(notes, nullptr);
        if (notes) {
            EXPECT_TRUE(QTest::qWaitFor([notes] { return QApplication::activeWindow() == notes; }));
        }
        return notes;
    }
    ChordPickerWindow* openPicker() {
        clickMenu(window, u"Chords/Bar lines"_s);
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* picker = qobject_cast<ChordPickerWindow*>(top);
                picker && picker->isVisible()) {
                EXPECT_TRUE(waitUntilTakingKeys(picker));
                return picker;
            }
        ADD_FAILURE() << "no chord picker opened";
        return nullptr;
    }

    const QStringList standard = {u"e"_s, u"B"_s, u"G"_s, u"D"_s, u"A"_s, u"E"_s};
};

TEST_F(AccessibilityTest, EveryCellIsNamedByItsStringAndColumn) {
    for (Row row : kAllRows) {
        EXPECT_EQ(cellNames(row), expectedNames(u"string "_s + standard[index(row)]))
            << rowPrefix(row).toStdString();
        for (int column = 1; column <= kColumnCount; ++column)
            EXPECT_EQ(roleOf(window.cell(row, column)), QAccessible::EditableText);
    }
    EXPECT_EQ(nameOf(window.cell(Row::e, 1)), u"string e, column 1"_s);
    EXPECT_EQ(nameOf(window.cell(Row::b, 3)), u"string B, column 3"_s);
    EXPECT_EQ(nameOf(window.cell(Row::f, 16)), u"string E, column 16"_s);
    // "e" and "E" sound alike; the descriptions tell the strings apart.
    const auto describe = [](QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Description);
    };
    EXPECT_EQ(describe(window.cell(Row::e, 1)), u"string 1 of 6, the highest"_s);
    EXPECT_EQ(describe(window.cell(Row::f, 1)), u"string 6 of 6, the lowest"_s);

    // Rows hidden by the instrument keep their names for when they come back.
    press(Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(cellNames(Row::e), expectedNames(u"string e"_s));
}

TEST_F(AccessibilityTest, RenamingAStringInTheStringNotesWindowRenamesItsCells) {
    window.cell(Row::g, 5)->setFocus();
    StringNotesWindow* notes = openStringNotes();
    ASSERT_NE(notes, nullptr);
    ASSERT_EQ(focusedName(), u"f"_s);
    pressTimes(Qt::Key_Tab, 5);
    ASSERT_EQ(focusedName(), u"e"_s);
    type(u"C#"_s);  // tabbing in selected the old name
    // Typing alone renames nothing: only Change does.
    EXPECT_EQ(cellNames(Row::e), expectedNames(u"string e"_s));

    QTest::mouseClick(notes->findChild<QPushButton*>(u"Command1"_s), Qt::LeftButton);
    EXPECT_EQ(window.rowLabel(Row::e)->text(), u"C#"_s);
    EXPECT_EQ(cellNames(Row::e), expectedNames(u"string C#"_s));
    EXPECT_EQ(nameOf(window.cell(Row::e, 1)), u"string C#, column 1"_s);
    for (Row row : {Row::b, Row::g, Row::d, Row::a, Row::f})
        EXPECT_EQ(cellNames(row), expectedNames(u"string "_s + standard[index(row)]));

    // An emptied box leaves the string to be named by its number.
    notes->box(Row::b)->setFocus();
    press(Qt::Key_A, Qt::ControlModifier);
    press(Qt::Key_Backspace);
    QTest::mouseClick(notes->findChild<QPushButton*>(u"Command1"_s), Qt::LeftButton);
    EXPECT_EQ(cellNames(Row::b), expectedNames(u"unnamed string 2"_s));
    EXPECT_EQ(cellNames(Row::e), expectedNames(u"string C#"_s));

    // Default, then Change: the standard names come back.
    QTest::mouseClick(notes->findChild<QPushButton*>(u"Command2"_s), Qt::LeftButton);
    QTest::mouseClick(notes->findChild<QPushButton*>(u"Command1"_s), Qt::LeftButton);
    for (Row row : kAllRows)
        EXPECT_EQ(cellNames(row), expectedNames(u"string "_s + standard[index(row)]));
}

TEST_F(AccessibilityTest, ButtonsAndTheTabBoxSayWhatTheyDo) {
    auto* enter = window.findChild<QPushButton*>(u"Command1"_s);
    auto* clear = window.findChild<QPushButton*>(u"Command2"_s);
    EXPECT_EQ(roleOf(enter), QAccessible::Button);
    EXPECT_EQ(nameOf(enter), u"Enter"_s);
    EXPECT_EQ(descriptionOf(enter), u"This will enter the current information"_s);
    EXPECT_EQ(roleOf(clear), QAccessible::Button);
    EXPECT_EQ(nameOf(clear), u"Clear"_s);
    EXPECT_TRUE(descriptionOf(clear).contains(u"grid"_s)) << descriptionOf(clear).toStdString();

    // Named, not read out: the tab box's name stays "Tab" whatever it holds.
    window.tabBox()->setExactText(u"e  |-3-|\r\n"_s);
    EXPECT_EQ(roleOf(window.tabBox()), QAccessible::EditableText);
    EXPECT_EQ(nameOf(window.tabBox()), u"Tab"_s);
    EXPECT_FALSE(descriptionOf(window.tabBox()).isEmpty());
}

TEST_F(AccessibilityTest, MenuBarEntriesMenusAndItemsAreNamed) {
    QAccessibleInterface* bar = accessible(window.menuBar());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->role(), QAccessible::MenuBar);
    QStringList entries;
    for (int i = 0; i < bar->childCount(); ++i) {
        EXPECT_EQ(bar->child(i)->role(), QAccessible::MenuItem);
        entries << bar->child(i)->text(QAccessible::Name);
    }
    EXPECT_EQ(entries,
              (QStringList{u"File"_s, u"Format"_s, u"Chords/Bar lines"_s, u"Play"_s, u"About"_s}));

    struct Menu {
        const char16_t* name;
        QStringList items;
        QStringList shortcuts;
    };
    const Menu menus[] = {
        {u"File",
         {u"Open"_s, u"Save"_s, u"Save As\u2026"_s, u"Export MIDI\u2026"_s, u"Print"_s},
         {u"Ctrl+O"_s, u"Ctrl+S"_s, u"Ctrl+Shift+S"_s, u"Ctrl+E"_s, u"Ctrl+P"_s}},
        {u"Format",
         {u"Change Font"_s, u"Change String Notes "_s, u"Back Ground"_s, u"Text Color"_s,
          u"Hide Tab Box"_s, u"Convert to bass"_s, u"Clear All"_s},
         {u"Ctrl+F"_s, u"Ctrl+N"_s, u"Ctrl+G"_s, u"Ctrl+T"_s, u"Ctrl+H"_s, u"Ctrl+B"_s,
          u"Ctrl+K"_s}},
        {u"Play",
         {u"Play Tab"_s, u"Play Grid"_s, u"Stop"_s, u"Tempo\u2026"_s},
         {u"F5"_s, u"Shift+F5"_s, u"Esc"_s, u""_s}},
    };
    for (const Menu& expected : menus) {
        const QString name = QString::fromUtf16(expected.name);
        QMenu* menu = menuBarEntry(window, name)->menu();
        ASSERT_NE(menu, nullptr);
        QAccessibleInterface* drop = accessible(menu);
        ASSERT_NE(drop, nullptr);
        EXPECT_EQ(drop->role(), QAccessible::PopupMenu);
        EXPECT_EQ(drop->text(QAccessible::Name), name);
        EXPECT_FALSE(drop->text(QAccessible::Description).isEmpty()) << name.toStdString();
        QStringList items;
        QStringList shortcuts;
        for (int i = 0; i < drop->childCount(); ++i) {
            items << drop->child(i)->text(QAccessible::Name);
            shortcuts << drop->child(i)->text(QAccessible::Accelerator);
        }
        EXPECT_EQ(items, expected.items);
        EXPECT_EQ(shortcuts, expected.shortcuts);
    }
}

TEST_F(AccessibilityTest, ThePickersBoxesAreLabelledAndItsButtonsDescribed) {
    ChordPickerWindow* picker = openPicker();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(nameOf(picker), u"Chord picker"_s);
    EXPECT_FALSE(descriptionOf(picker).isEmpty());

    QComboBox* open = picker->chordBox(ChordStyle::Open);
    QComboBox* power = picker->chordBox(ChordStyle::Power);
    QComboBox* barre = picker->chordBox(ChordStyle::Barre);
    EXPECT_EQ(roleOf(open), QAccessible::ComboBox);
    EXPECT_EQ(labelsOf(open), QStringList{u"Pick A Chord:"_s});
    EXPECT_EQ(roleOf(picker->columnBox()), QAccessible::ComboBox);
    EXPECT_EQ(labelsOf(picker->columnBox()), QStringList{u"Choose a column:"_s});
    EXPECT_TRUE(descriptionOf(picker->columnBox()).contains(u"column"_s));
    for (auto [box, style] :
         {std::pair{open, u"open"_s}, std::pair{power, u"power"_s}, std::pair{barre, u"barre"_s}})
        EXPECT_TRUE(descriptionOf(box).contains(style)) << descriptionOf(box).toStdString();

    // Named by what they are for, whatever they hold; what they hold is their value and the
    // text of their edit field, which is one of their parts.
    for (QComboBox* box : {open, power, barre})
        EXPECT_EQ(nameOf(box), u"Chord"_s);
    EXPECT_EQ(nameOf(picker->columnBox()), u"Column"_s);
    EXPECT_EQ(valueOf(open), u"Open Chords"_s);
    EXPECT_EQ(valueOf(picker->columnBox()), u"1"_s);
    ASSERT_EQ(focusedName(), u"norm"_s);
    press(Qt::Key_A, Qt::ControlModifier);
    type(u"Am"_s);
    EXPECT_EQ(nameOf(open), u"Chord"_s);
    EXPECT_EQ(valueOf(open), u"Am"_s);
    EXPECT_EQ(textOf(open->lineEdit()), u"Am"_s);
    QAccessibleInterface* field = accessible(open->lineEdit());
    EXPECT_GE(accessible(open)->indexOfChild(field), 0);
    EXPECT_EQ(field->parent()->object(), open);

    EXPECT_EQ(nameOf(picker->enterButton()), u"Enter"_s);
    EXPECT_EQ(descriptionOf(picker->enterButton()), u"This enters the chord"_s);
    EXPECT_FALSE(descriptionOf(picker->styleButton()).isEmpty());

    // The style button is named by its caption as it changes, and "Pick A Chord:" moves to the
    // chord box that is shown.
    EXPECT_EQ(nameOf(picker->styleButton()), u"Change to: Power chords"_s);
    picker->styleButton()->setFocus();
    press(Qt::Key_Space);
    EXPECT_EQ(nameOf(picker->styleButton()), u"Change to: Barre chords"_s);
    EXPECT_EQ(labelsOf(power), QStringList{u"Pick A Chord:"_s});
    EXPECT_TRUE(labelsOf(open).isEmpty());
    press(Qt::Key_Space);
    EXPECT_EQ(nameOf(picker->styleButton()), u"Change to: Open chords"_s);
    EXPECT_EQ(labelsOf(barre), QStringList{u"Pick A Chord:"_s});
    EXPECT_TRUE(labelsOf(power).isEmpty());
    press(Qt::Key_Space);
    EXPECT_EQ(labelsOf(open), QStringList{u"Pick A Chord:"_s});
    EXPECT_TRUE(labelsOf(barre).isEmpty());
}

TEST_F(AccessibilityTest, TheStringNotesBoxesAndButtonsAreNamedAndDescribed) {
    StringNotesWindow* notes = openStringNotes();
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(nameOf(notes), u"String notes"_s);
    EXPECT_FALSE(descriptionOf(notes).isEmpty());

    const QStringList labels = {u"Top e"_s, u"B"_s, u"G"_s, u"D"_s, u"A"_s, u"Bottom E"_s};
    for (Row row : kAllRows) {
        QLineEdit* box = notes->box(row);
        const QString label = labels[index(row)];
        EXPECT_EQ(roleOf(box), QAccessible::EditableText);
        EXPECT_EQ(nameOf(box), label + u" string"_s);
        EXPECT_EQ(labelsOf(box), QStringList{label});
        EXPECT_FALSE(descriptionOf(box).isEmpty());
    }

    auto* change = notes->findChild<QPushButton*>(u"Command1"_s);
    auto* restore = notes->findChild<QPushButton*>(u"Command2"_s);
    EXPECT_EQ(nameOf(change), u"Change"_s);
    EXPECT_EQ(descriptionOf(change), u"This will apply string changes"_s);
    EXPECT_EQ(nameOf(restore), u"Default"_s);
    EXPECT_EQ(descriptionOf(restore), u"This changes strings back to standard tuning"_s);
}

TEST_F(AccessibilityTest, DescriptionsFollowTheInstrumentAndTellAlikeNamesApart) {
    const auto description = [this](Row row) {
        QStringList said;
        for (int column = 1; column <= kColumnCount; ++column)
            said << descriptionOf(window.cell(row, column));
        said.removeDuplicates();
        return said.join(u" | "_s);
    };
    // The bottom string renamed "D": two strings are called D.
    StringNotesWindow* notes = openStringNotes();
    ASSERT_NE(notes, nullptr);
    press(Qt::Key_A, Qt::ControlModifier);
    type(u"D"_s);
    QTest::mouseClick(notes->findChild<QPushButton*>(u"Command1"_s), Qt::LeftButton);
    EXPECT_EQ(description(Row::d), u"string 4 of 6, the higher of two strings named D"_s);
    EXPECT_EQ(description(Row::f), u"string 6 of 6, the lowest"_s);
    notes->close();

    window.activateWindow();
    ASSERT_TRUE(waitUntilTakingKeys(&window));
    press(Qt::Key_B, Qt::ControlModifier);  // bass
    EXPECT_EQ(description(Row::g), u"string 1 of 4, the highest"_s);
    EXPECT_EQ(description(Row::d), u"string 2 of 4, the higher of two strings named D"_s);
    EXPECT_EQ(description(Row::f), u"string 4 of 4, the lowest"_s);
    EXPECT_EQ(description(Row::e), u"not in use on this instrument"_s);
    press(Qt::Key_B, Qt::ControlModifier);  // five strings
    EXPECT_EQ(description(Row::b), u"string 1 of 5, the highest"_s);
    EXPECT_EQ(description(Row::g), u"string 2 of 5"_s);
    press(Qt::Key_B, Qt::ControlModifier);  // guitar again
    EXPECT_EQ(description(Row::e), u"string 1 of 6, the highest"_s);
    EXPECT_EQ(description(Row::g), u"string 3 of 6"_s);
}

TEST_F(AccessibilityTest, TheOtherWindowsAreDialogsOfTheMainWindowThatEscapeCloses) {
    const auto check = [this](QWidget* opened, const QString& name) {
        ASSERT_NE(opened, nullptr);
        const QPointer<QWidget> watch(opened);
        EXPECT_EQ(roleOf(opened), QAccessible::Dialog);
        EXPECT_EQ(nameOf(opened), name);
        EXPECT_EQ(opened->windowTitle(), u"Fretloom"_s);
        ASSERT_NE(opened->windowHandle(), nullptr);
        EXPECT_EQ(opened->windowHandle()->transientParent(), window.windowHandle());

        // Escape in the main window closes nothing; in the other window, it closes that one.
        window.activateWindow();
        ASSERT_TRUE(waitUntilTakingKeys(&window));
        press(Qt::Key_Escape);
        EXPECT_TRUE(opened->isVisible());
        opened->activateWindow();
        ASSERT_TRUE(waitUntilTakingKeys(opened));
        press(Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(watch.isNull()) << name.toStdString() << " was not discarded";
        EXPECT_TRUE(window.isVisible());
    };
    check(openStringNotes(), u"String notes"_s);
    check(openPicker(), u"Chord picker"_s);
}

// Qt 6.4 has no announcement event; screen readers speak a notification that shows, wherever
// the focus is. (No screen reader listens on the offscreen platform, so the program announces
// nothing here; the run through AT-SPI hears the bars announced.)
TEST(AnnouncementTest, ShowsAsANotificationThatTakesNoRoomAndNoFocus) {
    QWidget owner;
    owner.resize(200, 100);
    showAndActivate(owner);
    Announcement announcement(&owner);
    EXPECT_FALSE(announcement.isVisible()) << "nothing to say yet";
    for (const QString& words : {u"Bar 1 added"_s, u"Bar 2 added"_s}) {
        announcement.announce(words);
        EXPECT_TRUE(announcement.isVisible());
        EXPECT_EQ(roleOf(&announcement), QAccessible::Notification);
        EXPECT_EQ(nameOf(&announcement), words);
        QAccessibleInterface* said = accessible(&announcement);
        ASSERT_EQ(said->childCount(), 1);
        EXPECT_EQ(said->child(0)->role(), QAccessible::StaticText);
        EXPECT_EQ(said->child(0)->text(QAccessible::Name), words);
    }
    EXPECT_TRUE(announcement.frameGeometry().isEmpty());
    EXPECT_EQ(announcement.focusPolicy(), Qt::NoFocus);
}

}  // namespace
}  // namespace fretloom
