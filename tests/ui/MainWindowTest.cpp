#include "ui/MainWindow.h"

#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"
#include "support/WorkedExample.h"
#include "ui/TabBox.h"
#include "widgets/StraightLine.h"
#include "widgets/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTextDocument>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { showAndActivate(window); }

    QLineEdit* cell(const QString& name) {
        auto* found = window.findChild<QLineEdit*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QPushButton* button(const QString& name) { return window.findChild<QPushButton*>(name); }
    QString tab() const { return window.tabBox()->exactText(); }
    void click(const QString& buttonName) { QTest::mouseClick(button(buttonName), Qt::LeftButton); }

    ScriptedDialogs dialogs;
    MainWindow window{&dialogs};
};

QString dashes(int count) {
    return QString(count, u'-');
}

TEST_F(MainWindowTest, StartsEmptyInGuitarMode) {
    EXPECT_EQ(window.windowTitle(), u"Fretloom - (Untitled)"_s);
    EXPECT_EQ(focusedName(), u"e1"_s);
    EXPECT_TRUE(tab().isEmpty());
    const QStringList captions = {u"e"_s, u"B"_s, u"G"_s, u"D"_s, u"A"_s, u"E"_s};
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(window.rowLabel(kAllRows[r])->text(), captions[r]);
        EXPECT_TRUE(window.stringLine(kAllRows[r])->isVisible());
    }
    for (Row row : kAllRows)
        for (int column = 1; column <= kColumnCount; ++column) {
            QLineEdit* box = window.cell(row, column);
            EXPECT_EQ(box->objectName(), cellName(row, column));
            EXPECT_TRUE(box->text().isEmpty());
            EXPECT_TRUE(box->isVisible());
        }
    for (int column = 1; column <= 16; ++column)
        EXPECT_EQ(window.findChild<QLabel*>(u"Label%1"_s.arg(column + 8))->text(),
                  QString::number(column));
    EXPECT_EQ(window.findChild<QLabel*>(u"Label8"_s)->text(), u"Number:"_s);
    EXPECT_EQ(window.findChild<QAction*>(u"con"_s)->text(), u"Convert to bass"_s);
}

TEST_F(MainWindowTest, ControlsSitAtTheirLayoutPositions) {
    QWidget* sheet = window.centralWidget();
    EXPECT_EQ(sheet->size(), QSize(777, 461));
    EXPECT_EQ(cell(u"e1"_s)->geometry(), QRect(48, 32, 25, 19));
    EXPECT_EQ(cell(u"f16"_s)->geometry(), QRect(48 + 15 * 40, 192, 25, 19));
    EXPECT_EQ(cell(u"d7"_s)->geometry(), twipsRect(720 + 600 * 6, 1920, 375, 285));
    EXPECT_EQ(window.findChild<QLabel*>(u"Label9"_s)->geometry(), twipsRect(840, 120, 135, 255));
    EXPECT_EQ(window.findChild<QLabel*>(u"Label18"_s)->geometry(), twipsRect(6120, 120, 255, 255));
    EXPECT_EQ(window.findChild<QLabel*>(u"Label24"_s)->geometry(), twipsRect(9720, 120, 255, 255));
    EXPECT_EQ(window.findChild<QLabel*>(u"Label6"_s)->geometry(), twipsRect(240, 2880, 255, 255));
    EXPECT_EQ(button(u"Command1"_s)->geometry(), twipsRect(10560, 600, 615, 375));
    EXPECT_EQ(button(u"Command2"_s)->geometry(), twipsRect(10560, 1800, 615, 375));
    EXPECT_EQ(window.tabBox()->geometry(), twipsRect(120, 3360, 11415, 3495));
    EXPECT_EQ(window.stringLine(Row::e)->geometry().top(), 40);
    EXPECT_EQ(window.stringLine(Row::f)->geometry().top(), 200);
    EXPECT_EQ(window.stringLine(Row::f)->geometry().left(), 48);
    EXPECT_EQ(window.stringLine(Row::f)->geometry().right(), 672);
    EXPECT_EQ(button(u"Command1"_s)->toolTip(), u"This will enter the current information"_s);

    // Fixed size: the user cannot resize the window.
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(MainWindowTest, StringLinesShowBetweenTheCellsOnTheFormColour) {
    const QImage image = window.centralWidget()->grab().toImage();
    EXPECT_EQ(image.pixelColor(5, 300), QColor(212, 208, 200));
    const QColor lineColour = window.palette().color(QPalette::WindowText);
    // In the gap between e1 (x 48..72) and e2 (x 88..112) the string shows ...
    EXPECT_EQ(image.pixelColor(80, 40), lineColour);
    // ... and a cell covers it.
    EXPECT_NE(image.pixelColor(60, 40), lineColour);
    // Past column 16 the string has ended.
    EXPECT_EQ(image.pixelColor(680, 40), QColor(212, 208, 200));
}

TEST_F(MainWindowTest, WorkedExampleTypedByKeyboardAlone) {
    typeWorkedExample();

    const QString expected = u"e  |-0-|-12"_s + dashes(40) + u"|\r\n"_s +  //
                             u"B  |-1-|"_s + dashes(43) + u"|\r\n"_s +     //
                             u"G  |-0-|"_s + dashes(4) + u"5"_s + dashes(37) + u"|\r\n"_s +
                             u"D  |-2-|"_s + dashes(43) + u"|\r\n"_s +  //
                             u"A  |-3-|"_s + dashes(43) + u"|\r\n"_s +  //
                             u"E  |-3-|"_s + dashes(43) + u"|\r\n"_s + u"\r\n"_s;
    EXPECT_EQ(tab(), expected);
    EXPECT_EQ(tab().size(), 325);
    // The grid keeps the bar and now shows the fillers.
    EXPECT_EQ(cell(u"e3"_s)->text(), u"12"_s);
    EXPECT_EQ(cell(u"b16"_s)->text(), u"--"_s);
    EXPECT_EQ(focusedName(), u"Command1"_s);
}

TEST_F(MainWindowTest, TabAndShiftTabWalkTheKeyboardOrder) {
    QStringList expected;
    for (Row row : kAllRows)
        for (int column = 1; column <= kColumnCount; ++column)
            expected << cellName(row, column);
    expected << u"Command1"_s << u"wow"_s << u"Command2"_s << u"e1"_s;

    expectTabOrder(expected);
    // Tab in the tab box moved on rather than typing a tab character.
    EXPECT_TRUE(tab().isEmpty());
}

TEST_F(MainWindowTest, ACellRefusesAThirdCharacterAndReturnCommitsNothing) {
    type(u"123"_s);
    EXPECT_EQ(cell(u"e1"_s)->text(), u"12"_s);
    press(Qt::Key_Return);
    press(Qt::Key_Enter);
    EXPECT_TRUE(tab().isEmpty());
    EXPECT_EQ(cell(u"e2"_s)->text(), QString());
}

TEST_F(MainWindowTest, CtrlKFromACellOrTheTabBoxClearsTheGridOnly) {
    type(u"7"_s);
    press(Qt::Key_Tab);
    type(u"9"_s);
    click(u"Command1"_s);
    const QString committed = tab();
    ASSERT_FALSE(committed.isEmpty());

    cell(u"e2"_s)->setFocus();
    press(Qt::Key_End);
    press(Qt::Key_K, Qt::ControlModifier);
    for (Row row : kAllRows)
        for (int column = 1; column <= kColumnCount; ++column)
            ASSERT_TRUE(window.cell(row, column)->text().isEmpty())
                << cellName(row, column).toStdString();
    EXPECT_EQ(tab(), committed);

    cell(u"a5"_s)->setText(u"3"_s);
    window.tabBox()->setFocus();
    QTextCursor cursor = window.tabBox()->textCursor();
    cursor.setPosition(3);
    window.tabBox()->setTextCursor(cursor);
    press(Qt::Key_K, Qt::ControlModifier);
    EXPECT_TRUE(cell(u"a5"_s)->text().isEmpty());
    EXPECT_EQ(tab(), committed);
}

TEST_F(MainWindowTest, EveryMenuShortcutReachesItsMenuFromACellAndTheTabBox) {
    const QStringList names = {u"pen1"_s, u"ave1"_s,   u"saveAs"_s,  u"xport1"_s,   u"rint1"_s,
                               u"fnt"_s,  u"chg"_s,    u"bg"_s,      u"tc"_s,       u"hider"_s,
                               u"con"_s,  u"deldel"_s, u"playTab"_s, u"playGrid"_s, u"stop"_s};
    for (const QString& name : names) {
        QAction* action = window.findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name.toStdString();
        // Stand in for the command so only the routing of the key is tested here.
        action->disconnect(SIGNAL(triggered(bool)));
        int triggered = 0;
        QObject::connect(action, &QAction::triggered, [&] { ++triggered; });
        const QKeyCombination key = action->shortcut()[0];
        for (QWidget* target :
             {static_cast<QWidget*>(cell(u"d9"_s)), static_cast<QWidget*>(window.tabBox())}) {
            target->setFocus();
            press(key.key(), key.keyboardModifiers());
        }
        EXPECT_EQ(triggered, 2) << name.toStdString();
    }
}

TEST_F(MainWindowTest, MenusCarryTheirCaptionsAndShortcuts) {
    struct Item {
        const char16_t* name;
        const char16_t* caption;
        const char* shortcut;
    };
    const Item items[] = {{u"pen1", u"Open", "Ctrl+O"},
                          {u"ave1", u"Save", "Ctrl+S"},
                          {u"saveAs", u"Save As\u2026", "Ctrl+Shift+S"},
                          {u"xport1", u"Export MIDI\u2026", "Ctrl+E"},
                          {u"rint1", u"Print", "Ctrl+P"},
                          {u"fnt", u"Change Font", "Ctrl+F"},
                          {u"chg", u"Change String Notes ", "Ctrl+N"},
                          {u"bg", u"Back Ground", "Ctrl+G"},
                          {u"tc", u"Text Color", "Ctrl+T"},
                          {u"hider", u"Hide Tab Box", "Ctrl+H"},
                          {u"con", u"Convert to bass", "Ctrl+B"},
                          {u"deldel", u"Clear All", "Ctrl+K"},
                          {u"chr", u"Chords/Bar lines", ""},
                          {u"playTab", u"Play Tab", "F5"},
                          {u"playGrid", u"Play Grid", "Shift+F5"},
                          {u"stop", u"Stop", "Esc"},
                          {u"tempo", u"Tempo\u2026", ""},
                          {u"About", u"About", ""}};
    for (const Item& item : items) {
        QAction* action = window.findChild<QAction*>(QString::fromUtf16(item.name));
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), QString::fromUtf16(item.caption));
        EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(item.shortcut)));
    }
    QStringList bar;
    for (QAction* entry : window.menuBar()->actions())
        bar << entry->text();
    EXPECT_EQ(bar,
              (QStringList{u"File"_s, u"Format"_s, u"Chords/Bar lines"_s, u"Play"_s, u"About"_s}));
    QStringList file;
    for (QAction* entry : menuBarEntry(window, u"File"_s)->menu()->actions())
        file << entry->text();
    EXPECT_EQ(file, (QStringList{u"Open"_s, u"Save"_s, u"Save As\u2026"_s, u"Export MIDI\u2026"_s,
                                 u"Print"_s}));
    QStringList play;
    for (QAction* entry : menuBarEntry(window, u"Play"_s)->menu()->actions())
        play << entry->text();
    EXPECT_EQ(play, (QStringList{u"Play Tab"_s, u"Play Grid"_s, u"Stop"_s, u"Tempo\u2026"_s}));
    QStringList format;
    for (QAction* entry : menuBarEntry(window, u"Format"_s)->menu()->actions())
        format << entry->text();
    EXPECT_EQ(format, (QStringList{u"Change Font"_s, u"Change String Notes "_s, u"Back Ground"_s,
                                   u"Text Color"_s, u"Hide Tab Box"_s, u"Convert to bass"_s,
                                   u"Clear All"_s}));
}

TEST_F(MainWindowTest, ClearAllFromTheMenuAndClearButtonEmptyEveryCell) {
    for (Row row : kAllRows)
        window.cell(row, 4)->setText(u"|"_s);
    window.tabBox()->setExactText(u"Intro"_s);
    clickMenu(window, u"Format"_s, u"Clear All"_s);
    EXPECT_EQ(window.readGrid(), Grid{});
    EXPECT_EQ(tab(), u"Intro"_s);

    click(u"Command1"_s);
    ASSERT_EQ(cell(u"e1"_s)->text(), u"--"_s);
    click(u"Command2"_s);
    EXPECT_EQ(window.readGrid(), Grid{});
}

TEST_F(MainWindowTest, EnterAppendsToTheEndAndKeepsTheUsersUndoHistory) {
    window.tabBox()->setFocus();
    type(u"Intro"_s);
    click(u"Command1"_s);
    EXPECT_TRUE(tab().startsWith(u"Introe  |-"_s));
    click(u"Command1"_s);
    const QString block = tab().mid(5).left(338);
    EXPECT_EQ(tab(), u"Intro"_s + block + block);
    EXPECT_TRUE(tab().endsWith(u"\r\n\r\n"_s));

    // Undo takes back both Enters and then the typing: nothing was reset.
    window.tabBox()->setFocus();
    press(Qt::Key_Z, Qt::ControlModifier);
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(tab(), u"Intro"_s);
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(tab(), QString());
}

TEST_F(MainWindowTest, EnterBringsTheNewBarIntoViewAndLeavesTheCaretAlone) {
    TabBox* box = window.tabBox();
    box->setExactText(u"Intro\r\n"_s.repeated(50));
    QTextCursor selection = box->textCursor();
    selection.setPosition(4);
    selection.setPosition(2, QTextCursor::KeepAnchor);
    box->setTextCursor(selection);
    const auto shows = [box](int position) {
        QTextCursor place(box->document());
        place.setPosition(position);
        return box->viewport()->rect().contains(box->cursorRect(place));
    };
    const auto enter = [&] {
        const int barStart = box->document()->characterCount() - 1;
        click(u"Command1"_s);
        QApplication::processEvents();
        return barStart;
    };
    ASSERT_FALSE(shows(box->document()->characterCount() - 1));

    // The whole bar shows, down to its empty line; the caret and the selection stay put.
    const int firstBar = enter();
    EXPECT_TRUE(shows(firstBar));
    EXPECT_TRUE(shows(box->document()->characterCount() - 1));
    EXPECT_EQ(box->textCursor().anchor(), 4);
    EXPECT_EQ(box->textCursor().position(), 2);
    box->setFocus();
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(tab(), u"Intro\r\n"_s.repeated(50));

    // A bar taller than the box shows from its first line.
    QFont huge = box->font();
    huge.setPointSize(60);
    box->setFont(huge);
    const int tallBar = enter();
    EXPECT_TRUE(shows(tallBar));
    EXPECT_FALSE(shows(box->document()->characterCount() - 1));
}

TEST_F(MainWindowTest, AboutShowsTwoLinesFromTheMenuBarAndChangesNothing) {
    cell(u"e1"_s)->setText(u"3"_s);
    window.tabBox()->setExactText(u"kept"_s);
    clickMenu(window, u"About"_s);
    ASSERT_EQ(dialogs.abouts.size(), 1u);
    EXPECT_EQ(dialogs.abouts[0].first, u"About"_s);
    const QStringList lines = dialogs.abouts[0].second.split(u"\r\n"_s);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(u':'));
    EXPECT_FALSE(lines[1].isEmpty());
    EXPECT_EQ(tab(), u"kept"_s);
    EXPECT_EQ(cell(u"e1"_s)->text(), u"3"_s);
    EXPECT_EQ(window.windowTitle(), u"Fretloom - (Untitled)"_s);
}

TEST_F(MainWindowTest, ReopeningAMinimizedWindowRestoresIt) {
    const std::pair<QString, QString> commands[] = {{u"chg"_s, u"Form5"_s}, {u"chr"_s, u"Form4"_s}};
    for (const auto& [command, form] : commands) {
        QAction* action = window.findChild<QAction*>(command);
        action->trigger();
        QWidget* opened = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == form && top->isVisible())
                opened = top;
        ASSERT_NE(opened, nullptr) << command.toStdString();
        opened->showMinimized();
        ASSERT_TRUE(opened->isMinimized());
        action->trigger();
        EXPECT_FALSE(opened->isMinimized()) << command.toStdString();
        EXPECT_TRUE(opened->isVisible());
        opened->close();
    }
}

TEST_F(MainWindowTest, CarriesTheProgramIcon) {
    const QIcon icon = window.windowIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.actualSize(QSize(32, 32)), QSize(32, 32));
}

}  // namespace
}  // namespace fretloom
