#include "tuning/StringNotesWindow.h"

#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"
#include "ui/MainWindow.h"
#include "ui/TabBox.h"
#include "widgets/DialogFont.h"
#include "widgets/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

class StringNotesWindowTest : public ::testing::Test {
protected:
    void SetUp() override { showAndActivate(window); }

    // The open string notes window; deleted ones that are waiting for the event loop don't
    // count.
    StringNotesWindow* form5() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const auto all = window.findChildren<StringNotesWindow*>();
        EXPECT_LE(all.size(), 1);
        return all.isEmpty() ? nullptr : all.front();
    }

    // Ctrl+N, pressed wherever the focus is in the main window.
    StringNotesWindow* openByKeyboard() {
        press(Qt::Key_N, Qt::ControlModifier);
        StringNotesWindow* notes = form5();
        EXPECT_NE(notes, nullptr);
        if (notes) {
            EXPECT_TRUE(waitUntilActive(notes));
        }
        return notes;
    }

    void backToMainWindow() {
        window.activateWindow();
        ASSERT_TRUE(waitUntilActive(&window));
    }

    // A window and its transient parent count as active together; this waits for the one that
    // takes the keys.
    static bool waitUntilActive(QWidget* which) {
        return QTest::qWaitFor([which] { return QApplication::activeWindow() == which; });
    }

    QStringList labels() const {
        QStringList captions;
        for (Row row : kAllRows)
            captions << window.rowLabel(row)->text();
        return captions;
    }
    static QStringList boxes(const StringNotesWindow& notes) {
        QStringList texts;
        for (Row row : kAllRows)
            texts << notes.box(row)->text();
        return texts;
    }
    QString tab() const { return window.tabBox()->exactText(); }
    void enter() {
        QTest::mouseClick(window.findChild<QPushButton*>(u"Command1"_s), Qt::LeftButton);
    }
    static void click(StringNotesWindow& notes, const QString& name) {
        QTest::mouseClick(notes.findChild<QPushButton*>(name), Qt::LeftButton);
    }

    const QStringList standard = {u"e"_s, u"B"_s, u"G"_s, u"D"_s, u"A"_s, u"E"_s};
    ScriptedDialogs dialogs;
    MainWindow window{&dialogs};
};

TEST_F(StringNotesWindowTest, OpensFromCtrlNWithItsLayout) {
    StringNotesWindow* notes = openByKeyboard();
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notes->objectName(), u"Form5"_s);
    EXPECT_EQ(notes->windowTitle(), u"Fretloom"_s);
    EXPECT_TRUE(notes->isWindow());
    EXPECT_EQ(notes->size(), QSize(259, 155));
    EXPECT_EQ(notes->minimumSize(), notes->maximumSize());
    EXPECT_FALSE(notes->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(notes->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(notes->windowIcon().actualSize(QSize(32, 32)), QSize(32, 32));
    EXPECT_EQ(notes->font().family(), dialogFont().family());
    EXPECT_EQ(focusedName(), u"f"_s);
    EXPECT_EQ(boxes(*notes), standard);

    struct Control {
        const char16_t* name;
        const char16_t* text;
        QRect twips;
    };
    const Control labelsAndBoxes[] = {
        {u"Label3", u"Top e", twipsRect(120, 120, 495, 255)},
        {u"Label6", u"B", twipsRect(480, 480, 135, 255)},
        {u"Label4", u"G", twipsRect(480, 840, 135, 255)},
        {u"Label7", u"D", twipsRect(480, 1200, 135, 255)},
        {u"Label2", u"A", twipsRect(480, 1560, 135, 255)},
        {u"Label5", u"Bottom E", twipsRect(0, 1920, 735, 375)},
        {u"Label1", u"Please note that changing string notes can make chords sound incorrect",
         twipsRect(1560, 120, 2295, 735)},
    };
    for (const Control& control : labelsAndBoxes) {
        auto* label = notes->findChild<QLabel*>(QString::fromUtf16(control.name));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QString::fromUtf16(control.text));
        EXPECT_EQ(label->geometry(), control.twips);
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    }
    for (Row row : kAllRows) {
        QLineEdit* box = notes->box(row);
        EXPECT_EQ(box->objectName(), rowPrefix(row));
        EXPECT_EQ(box->geometry(), twipsRect(720, 120 + 360 * index(row), 735, 285));
    }

    // The warning wraps over several lines, all inside its box.
    auto* warning = notes->findChild<QLabel*>(u"Label1"_s);
    EXPECT_TRUE(warning->wordWrap());
    const int lineHeight = warning->fontMetrics().lineSpacing();
    EXPECT_GT(warning->heightForWidth(warning->width()), lineHeight);
    EXPECT_LE(warning->heightForWidth(warning->width()), warning->height());

    auto* change = notes->findChild<QPushButton*>(u"Command1"_s);
    auto* restore = notes->findChild<QPushButton*>(u"Command2"_s);
    ASSERT_NE(change, nullptr);
    ASSERT_NE(restore, nullptr);
    EXPECT_EQ(change->text(), u"Change"_s);
    EXPECT_EQ(change->geometry(), twipsRect(2760, 960, 855, 375));
    EXPECT_EQ(change->toolTip(), u"This will apply string changes"_s);
    EXPECT_EQ(restore->text(), u"Default"_s);
    EXPECT_EQ(restore->geometry(), twipsRect(1680, 960, 855, 375));
    EXPECT_EQ(restore->toolTip(), u"This changes strings back to standard tuning"_s);

    // Modeless: the main window still takes keys while it is open.
    backToMainWindow();
    type(u"5"_s);
    EXPECT_EQ(window.cell(Row::e, 1)->text(), u"5"_s);
    EXPECT_TRUE(notes->isVisible());
}

TEST_F(StringNotesWindowTest, FocusRunsFromTheBottomStringToTheButtons) {
    ASSERT_NE(openByKeyboard(), nullptr);
    QStringList expected = {u"f"_s, u"a"_s,        u"d"_s,        u"g"_s, u"b"_s,
                            u"e"_s, u"Command1"_s, u"Command2"_s, u"f"_s};
    expectTabOrder(expected);
}

TEST_F(StringNotesWindowTest, RenamingByKeyboardChangesOnlyTheBarsAfterIt) {
    enter();
    const QString firstBlock = tab();
    ASSERT_TRUE(firstBlock.startsWith(u"e  |-"_s));

    window.cell(Row::d, 3)->setFocus();
    StringNotesWindow* notes = openByKeyboard();
    ASSERT_NE(notes, nullptr);
    ASSERT_EQ(focusedName(), u"f"_s);
    press(Qt::Key_A, Qt::ControlModifier);
    type(u"DXY"_s);
    EXPECT_EQ(notes->box(Row::f)->text(), u"DX"_s);  // the third character is refused
    pressTimes(Qt::Key_Tab, 5);
    ASSERT_EQ(focusedName(), u"e"_s);
    type(u"C#"_s);  // tabbing in selected the old text
    press(Qt::Key_Tab);
    ASSERT_EQ(focusedName(), u"Command1"_s);
    press(Qt::Key_Space);

    EXPECT_EQ(labels(), (QStringList{u"C#"_s, u"B"_s, u"G"_s, u"D"_s, u"A"_s, u"DX"_s}));
    EXPECT_TRUE(notes->isVisible());  // Change leaves the window open
    EXPECT_EQ(tab(), firstBlock);

    backToMainWindow();
    EXPECT_EQ(focusedName(), u"d3"_s);
    pressTimes(Qt::Key_Tab, 16 * 2 + 14);
    ASSERT_EQ(focusedName(), u"Command1"_s);
    press(Qt::Key_Space);

    ASSERT_TRUE(tab().startsWith(firstBlock));
    const QString secondBlock = tab().mid(firstBlock.size());
    EXPECT_TRUE(secondBlock.startsWith(u"C#  |-"_s));
    const QStringList lines = secondBlock.split(u"\r\n"_s);
    ASSERT_EQ(lines.size(), 8);  // six rows, the empty line, and the text after the last end
    EXPECT_EQ(lines[0], u"C#  |-"_s + u"---"_s.repeated(16) + u"|"_s);
    EXPECT_EQ(lines[5], u"DX  |-"_s + u"---"_s.repeated(16) + u"|"_s);
    EXPECT_EQ(lines[6], QString());
    EXPECT_EQ(lines[1], u"B  |-"_s + u"---"_s.repeated(16) + u"|"_s);
}

TEST_F(StringNotesWindowTest, ChangeRenamesHiddenRowsAndTakesEmptyBoxes) {
    press(Qt::Key_B, Qt::ControlModifier);  // bass mode: rows e and b hidden
    StringNotesWindow* notes = openByKeyboard();
    ASSERT_NE(notes, nullptr);
    notes->box(Row::e)->setFocus();
    press(Qt::Key_A, Qt::ControlModifier);
    type(u"x"_s);
    notes->box(Row::b)->setFocus();
    press(Qt::Key_End);
    press(Qt::Key_Backspace);
    click(*notes, u"Command1"_s);
    EXPECT_EQ(labels(), (QStringList{u"x"_s, u""_s, u"G"_s, u"D"_s, u"A"_s, u"E"_s}));
    EXPECT_FALSE(window.rowLabel(Row::e)->isVisible());

    backToMainWindow();
    press(Qt::Key_B, Qt::ControlModifier);  // five-string: row b is back, with no name
    enter();
    EXPECT_TRUE(tab().startsWith(u"  |-"_s));
    press(Qt::Key_B, Qt::ControlModifier);  // guitar
    EXPECT_TRUE(window.rowLabel(Row::e)->isVisible());
    EXPECT_EQ(window.rowLabel(Row::e)->text(), u"x"_s);
}

TEST_F(StringNotesWindowTest, DefaultResetsOnlyTheBoxesAndCloseAppliesNothing) {
    StringNotesWindow* notes = openByKeyboard();
    ASSERT_NE(notes, nullptr);
    type(u"F"_s);  // focus in f, caret after "E"
    click(*notes, u"Command1"_s);
    const QStringList renamed = {u"e"_s, u"B"_s, u"G"_s, u"D"_s, u"A"_s, u"EF"_s};
    ASSERT_EQ(labels(), renamed);

    notes->box(Row::g)->setFocus();
    press(Qt::Key_A, Qt::ControlModifier);
    type(u"Ab"_s);
    click(*notes, u"Command2"_s);
    EXPECT_EQ(boxes(*notes), standard);
    EXPECT_EQ(labels(), renamed);
    EXPECT_TRUE(notes->isVisible());  // Default leaves the window open

    notes->box(Row::a)->setFocus();
    type(u"#"_s);
    EXPECT_TRUE(notes->close());
    EXPECT_EQ(form5(), nullptr);
    EXPECT_EQ(labels(), renamed);
}

TEST_F(StringNotesWindowTest, ASecondCtrlNBringsTheSameWindowBackAsTyped) {
    StringNotesWindow* notes = openByKeyboard();
    ASSERT_NE(notes, nullptr);
    type(u"b"_s);
    backToMainWindow();
    window.tabBox()->setFocus();
    EXPECT_EQ(openByKeyboard(), notes);
    EXPECT_EQ(notes->box(Row::f)->text(), u"Eb"_s);
    EXPECT_EQ(window.findChildren<StringNotesWindow*>().size(), 1);
    EXPECT_EQ(QApplication::activeWindow(), notes);
    EXPECT_TRUE(tab().isEmpty());
}

TEST_F(StringNotesWindowTest, AfterACloseItOpensFreshWhateverTheLabelsSay) {
    StringNotesWindow* notes = openByKeyboard();
    ASSERT_NE(notes, nullptr);
    press(Qt::Key_A, Qt::ControlModifier);
    type(u"D"_s);
    click(*notes, u"Command1"_s);
    notes->box(Row::e)->setFocus();
    type(u"7"_s);
    notes->close();
    ASSERT_EQ(form5(), nullptr);
    ASSERT_EQ(window.rowLabel(Row::f)->text(), u"D"_s);

    backToMainWindow();
    notes = openByKeyboard();
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(boxes(*notes), standard);
    EXPECT_EQ(focusedName(), u"f"_s);
    EXPECT_EQ(window.rowLabel(Row::f)->text(), u"D"_s);
}

TEST_F(StringNotesWindowTest, ClosesWithTheMainWindow) {
    ASSERT_NE(openByKeyboard(), nullptr);
    EXPECT_TRUE(window.close());
    EXPECT_EQ(form5(), nullptr);
}

TEST_F(StringNotesWindowTest, OpensFromTheFormatMenu) {
    clickMenu(window, u"Format"_s, u"Change String Notes "_s);
    StringNotesWindow* notes = form5();
    ASSERT_NE(notes, nullptr);
    EXPECT_TRUE(notes->isVisible());
}

}  // namespace
}  // namespace fretloom
