#include "chords/ChordPickerWindow.h"

#include "chords/PrintQString.h"
#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"
#include "ui/MainWindow.h"
#include "ui/TabBox.h"
#include "widgets/Twips.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

QList<ChordPickerWindow*> pickers() {
    QList<ChordPickerWindow*> found;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* picker = qobject_cast<ChordPickerWindow*>(window))
            found << picker;
    return found;
}

// Windows closed with the close box are deleted once control is back in the event loop.
void finishClosing() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList itemsOf(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

class ChordPickerWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.move(0, 0);
        showAndActivate(window);
    }
    void TearDown() override {
        dialogs.answerNoIfAskedToSave(!window.tabBox()->isEmptyText());
        window.close();
        finishClosing();
        EXPECT_TRUE(pickers().isEmpty()) << "a picker outlived the main window";
    }

    // Chords/Bar lines from the menu bar, as a user opens the picker.
    ChordPickerWindow* openPicker() {
        clickMenu(window, u"Chords/Bar lines"_s);
        const QList<ChordPickerWindow*> open = pickers();
        EXPECT_EQ(open.size(), 1);
        if (open.isEmpty())
            return nullptr;
        EXPECT_TRUE(waitUntilTakingKeys(open.front()));
        return open.front();
    }

    // Clicks into a box, selects what it holds and types over it.
    void typeInto(QComboBox* box, const QString& text) {
        QTest::mouseClick(box->lineEdit(), Qt::LeftButton);
        press(Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            press(Qt::Key_Backspace);
        else
            type(text);
    }

    // Opens the drop-down list with the mouse and clicks an entry.
    void chooseFromList(QComboBox* box, const QString& entry) {
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier,
                          QPoint(box->width() - 6, box->height() / 2));
        QAbstractItemView* list = box->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
        // A click that lands on the list within a double-click time of opening it is taken as
        // part of the opening click; a person's hand is never that fast.
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        const int row = box->findText(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_GE(row, 0) << "no entry " << entry.toStdString();
        const QModelIndex item = list->model()->index(row, 0);
        list->scrollTo(item);
        const QPoint at = list->visualRect(item).center();
        QTest::mouseMove(list->viewport(), at);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        ASSERT_FALSE(list->window()->isVisible()) << "the list stayed open";
        ASSERT_EQ(box->currentText(), entry);
    }

    // What the window manager does when the user clicks into the main window.
    void activateMain() {
        window.activateWindow();
        ASSERT_TRUE(waitUntilTakingKeys(&window));
    }

    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    QStringList column(int k) const {
        QStringList texts;
        for (Row row : kAllRows)
            texts << window.cell(row, k)->text();
        return texts;
    }
    void fillGrid(const QString& text) {
        for (Row row : kAllRows)
            for (int k = 1; k <= kColumnCount; ++k)
                window.cell(row, k)->setText(text);
    }

    ScriptedDialogs dialogs;
    MainWindow window{&dialogs};
};

// One committed row: name, two spaces, "|-", the cells joined by "-", "-|".
QString committedLine(const QString& name, const QStringList& cells) {
    return name + u"  |-"_s + cells.join(u'-') + u"-|\r\n"_s;
}
QStringList fillerRowWith(int k, const QString& text) {
    QStringList cells(kColumnCount, u"--"_s);
    cells[k - 1] = text;
    return cells;
}

TEST_F(ChordPickerWindowTest, OpensFromTheMenuBarInItsInitialState) {
    ChordPickerWindow* picker = openPicker();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->objectName(), u"Form4"_s);
    EXPECT_EQ(picker->windowTitle(), u"Fretloom"_s);
    EXPECT_EQ(picker->parentWidget(), &window);
    EXPECT_EQ(picker->windowType(), Qt::Dialog);
    EXPECT_EQ(picker->windowModality(), Qt::NonModal);
    EXPECT_FALSE(picker->windowIcon().isNull());
    EXPECT_EQ(picker->chordStyle(), ChordStyle::Open);

    auto* norm = picker->findChild<QComboBox*>(u"norm"_s);
    auto* power = picker->findChild<QComboBox*>(u"Power"_s);
    auto* bar = picker->findChild<QComboBox*>(u"Bar"_s);
    auto* where = picker->findChild<QComboBox*>(u"where"_s);
    ASSERT_TRUE(norm && power && bar && where);
    EXPECT_TRUE(norm->isVisible());
    EXPECT_FALSE(power->isVisible());
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(norm->currentText(), u"Open Chords"_s);
    EXPECT_EQ(power->currentText(), u"Power Chords"_s);
    EXPECT_EQ(bar->currentText(), u"Barre Chord"_s);
    EXPECT_EQ(where->currentText(), u"1"_s);
    for (QComboBox* box : {norm, power, bar, where})
        EXPECT_TRUE(box->isEditable());

    EXPECT_EQ(itemsOf(norm), (QStringList{u"Bar line"_s, u"A"_s, u"Am"_s, u"A7"_s, u"A Major 7"_s,
                                          u"B7"_s, u"C"_s, u"C Major 7"_s, u"D"_s, u"Dm"_s, u"D7"_s,
                                          u"D Major 7"_s, u"E"_s, u"Em"_s, u"E7"_s, u"G"_s}));
    EXPECT_EQ(itemsOf(bar), (QStringList{u"A"_s,   u"Bb"_s,  u"B"_s,  u"C"_s,   u"C#"_s, u"D"_s,
                                         u"Eb"_s,  u"F"_s,   u"F#"_s, u"G"_s,   u"Ab"_s, u"Am"_s,
                                         u"Bbm"_s, u"Bm"_s,  u"Cm"_s, u"C#m"_s, u"Dm"_s, u"Ebm"_s,
                                         u"Fm"_s,  u"F#m"_s, u"Gm"_s, u"Abm"_s}));
    EXPECT_EQ(itemsOf(power), (QStringList{u"A"_s, u"Bb"_s, u"B"_s, u"C"_s, u"C#"_s, u"D"_s,
                                           u"Eb"_s, u"F"_s, u"F#"_s, u"G"_s, u"Ab"_s}));
    EXPECT_EQ(itemsOf(where).size(), 16);
    EXPECT_EQ(itemsOf(where).front(), u"1"_s);
    EXPECT_EQ(itemsOf(where).back(), u"16"_s);

    EXPECT_EQ(picker->findChild<QLabel*>(u"Label1"_s)->text(), u"Pick A Chord:"_s);
    EXPECT_EQ(picker->findChild<QLabel*>(u"Label2"_s)->text(), u"Choose a column:"_s);
    EXPECT_EQ(picker->enterButton()->objectName(), u"Command1"_s);
    EXPECT_EQ(picker->enterButton()->text(), u"Enter"_s);
    EXPECT_EQ(picker->enterButton()->toolTip(), u"This enters the chord"_s);
    EXPECT_EQ(picker->styleButton()->objectName(), u"Command2"_s);
    EXPECT_EQ(picker->styleButton()->text(), u"Change to: Power chords"_s);
    EXPECT_EQ(focusedName(), u"norm"_s);

    // Modeless: the main window takes typing while the picker is open.
    activateMain();
    QTest::mouseClick(window.cell(Row::a, 2), Qt::LeftButton);
    type(u"7"_s);
    EXPECT_EQ(window.cell(Row::a, 2)->text(), u"7"_s);
    EXPECT_TRUE(picker->isVisible());
}

TEST_F(ChordPickerWindowTest, ControlsSitAtTheirLayoutPositions) {
    ChordPickerWindow* picker = openPicker();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->size(), twipsSize(5595, 1410));
    EXPECT_EQ(picker->size(), QSize(373, 94));
    EXPECT_EQ(picker->minimumSize(), picker->maximumSize());
    const auto at = [&](const QString& name) {
        QWidget* control = picker->findChild<QWidget*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control ? control->geometry() : QRect();
    };
    EXPECT_EQ(at(u"Label1"_s), twipsRect(0, 240, 1095, 255));
    EXPECT_EQ(at(u"Power"_s), twipsRect(1200, 240, 1455, 315));
    EXPECT_EQ(at(u"norm"_s), twipsRect(1200, 240, 1455, 315));
    EXPECT_EQ(at(u"Bar"_s), twipsRect(1200, 240, 1455, 315));
    EXPECT_EQ(at(u"Label2"_s), twipsRect(2760, 240, 1335, 255));
    EXPECT_EQ(at(u"where"_s), twipsRect(4200, 240, 1095, 315));
    EXPECT_EQ(at(u"Command1"_s), twipsRect(3120, 720, 1335, 495));
    EXPECT_EQ(at(u"Command2"_s), twipsRect(1440, 720, 1215, 495));

    // The style button's caption is wider than the button: it wraps rather than being cut.
    // Counted in dark pixel rows inside the frame.
    const QImage image = picker->styleButton()->grab().toImage();
    const auto rowHasInk = [&](int y) {
        for (int x = 3; x < image.width() - 3; ++x)
            if (image.pixelColor(x, y).lightness() < 100)
                return true;
        return false;
    };
    int inkRuns = 0;
    bool inRun = false;
    for (int y = 3; y < image.height() - 3; ++y) {
        const bool inked = rowHasInk(y);
        if (inked && !inRun)
            ++inkRuns;
        inRun = inked;
    }
    EXPECT_EQ(inkRuns, 2) << "two lines of caption";
}

TEST_F(ChordPickerWindowTest, OpenCInColumnFiveReachesTheTabThroughTheMainEnter) {
    ChordPickerWindow* picker = openPicker();
    ASSERT_NE(picker, nullptr);
    chooseFromList(picker->chordBox(ChordStyle::Open), u"C"_s);
    chooseFromList(picker->columnBox(), u"5"_s);
    click(picker->enterButton());
    EXPECT_EQ(column(5), (QStringList{u"0"_s, u"1"_s, u"0"_s, u"2"_s, u"3"_s, u"3"_s}));
    EXPECT_TRUE(window.tabBox()->isEmptyText()) << "the picker leaves the tab alone";
    EXPECT_TRUE(picker->isVisible()) << "the picker stays open";

    click(window.findChild<QPushButton*>(u"Command1"_s));
    const QStringList names = {u"e"_s, u"B"_s, u"G"_s, u"D"_s, u"A"_s, u"E"_s};
    const QStringList frets = {u"0"_s, u"1"_s, u"0"_s, u"2"_s, u"3"_s, u"3"_s};
    QString block;
    for (int r = 0; r < 6; ++r)
        block += committedLine(names[r], fillerRowWith(5, frets[r]));
    EXPECT_EQ(window.tabBox()->exactText(), block + u"\r\n"_s);
}

TEST_F(ChordPickerWindowTest, PowerAEmptiesTheTopStringsWhichCommitAsFiller) {
    ChordPickerWindow* picker = openPicker();
    ASSERT_NE(picker, nullptr);
    activateMain();
    for (Row row : {Row::e, Row::b, Row::g}) {
        QTest::mouseClick(window.cell(row, 3), Qt::LeftButton);
        type(u"12"_s);
    }
    ASSERT_EQ(column(3), (QStringList{u"12"_s, u"12"_s, u"12"_s, u""_s, u""_s, u""_s}));
    picker->activateWindow();
    ASSERT_TRUE(waitUntilTakingKeys(picker));
    click(picker->styleButton());
    chooseFromList(picker->chordBox(ChordStyle::Power), u"A"_s);
    typeInto(picker->columnBox(), u"3"_s);
    click(picker->enterButton());
    EXPECT_EQ(column(3), (QStringList{u""_s, u""_s, u"--"_s, u"7"_s, u"7"_s, u"5"_s}));

    click(window.findChild<QPushButton*>(u"Command1"_s));
    EXPECT_EQ(column(3), (QStringList{u"--"_s, u"--"_s, u"--"_s, u"7"_s, u"7"_s, u"5"_s}));
    EXPECT_TRUE(
        window.tabBox()->exactText().startsWith(committedLine(u"e"_s, fillerRowWith(3, u"--"_s)) +
                                                committedLine(u"B"_s, fillerRowWith(3, u"--"_s)) +
                                                committedLine(u"G"_s, fillerRowWith(3, u"--"_s)) +
                                                committedLine(u"D"_s, fillerRowWith(3, u"7"_s))));
}

TEST_F(ChordPickerWindowTest, BarreFmInColumnSixteenAndTheSameEnterTwice) {
    ChordPickerWindow* picker = openPicker();
    ASSERT_NE(picker, nullptr);
    click(picker->styleButton());
    click(picker->styleButton());
    ASSERT_EQ(picker->chordStyle(), ChordStyle::Barre);
    chooseFromList(picker->chordBox(ChordStyle::Barre), u"Fm"_s);
    chooseFromList(picker->columnBox(), u"16"_s);
    click(picker->enterButton());
    const QStringList fm = {u"8"_s, u"9"_s, u"10"_s, u"10"_s, u"8"_s, u"--"_s};
    EXPECT_EQ(column(16), fm);
    const Grid once = window.readGrid();
    click(picker->enterButton());
    EXPECT_EQ(window.readGrid(), once);
    // The boxes keep their choices between Enters.
    EXPECT_EQ(picker->chordBox(ChordStyle::Barre)->currentText(), u"Fm"_s);
    EXPECT_EQ(picker->columnBox()->currentText(), u"16"_s);
}

TEST_F(ChordPickerWindowTest, ThreeStyleClicksComeBackToOpenChords) {
    ChordPickerWindow* picker = openPicker();
    ASSERT_NE(picker, nullptr);
    QComboBox* norm = picker->chordBox(ChordStyle::Open);
    QComboBox* power = picker->chordBox(ChordStyle::Power);
    QComboBox* bar = picker->chordBox(ChordStyle::Barre);
    QPushButton* button = picker->styleButton();
    chooseFromList(norm, u"G"_s);

    click(button);
    EXPECT_TRUE(power->isVisible());
    EXPECT_FALSE(norm->isVisible());
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(power->currentText(), u"Power Chords"_s);
    EXPECT_EQ(norm->currentText(), u"Open chords"_s);
    EXPECT_EQ(button->text(), u"Change to: Barre chords"_s);
    typeInto(power, u"D"_s);

    click(button);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(power->isVisible());
    EXPECT_FALSE(norm->isVisible());
    EXPECT_EQ(bar->currentText(), u"Barre Chord"_s);
    EXPECT_EQ(power->currentText(), u"Power chords"_s);
    EXPECT_EQ(button->text(), u"Change to: Open chords"_s);
    typeInto(bar, u"Am"_s);

    click(button);
    EXPECT_TRUE(norm->isVisible());
    EXPECT_FALSE(power->isVisible());
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(norm->currentText(), u"Open chords"_s);
    EXPECT_EQ(bar->currentText(), u"Barre chords"_s);
    EXPECT_EQ(button->text(), u"Change to: Power chords"_s);

    // Shown again, a box holds its reset text, never the choice it was left with.
    click(button);
    EXPECT_EQ(power->currentText(), u"Power chords"_s);
}

TEST_F(ChordPickerWindowTest, SwitchingStyleLeavesNoChordBehind) {
    // Open G, then power without a choice: Enter empties the column.
    fillGrid(u"9"_s);
    ChordPickerWindow* picker = openPicker();
    ASSERT_NE(picker, nullptr);
    chooseFromList(picker->chordBox(ChordStyle::Open), u"G"_s);
    click(picker->styleButton());
    click(picker->enterButton());
    EXPECT_EQ(column(1), QStringList(6, QString()));
    EXPECT_EQ(column(2), QStringList(6, u"9"_s));
}

TEST_F(ChordPickerWindowTest, EnterAtOnceEmptiesColumnOne) {
    for (Row row : kAllRows) {
        QTest::mouseClick(window.cell(row, 1), Qt::LeftButton);
        type(u"4"_s);
    }
    ASSERT_EQ(column(1), QStringList(6, u"4"_s));
    ChordPickerWindow* picker = openPicker();
    ASSERT_NE(picker, nullptr);
    click(picker->enterButton());
    EXPECT_EQ(column(1), QStringList(6, QString()));
}

TEST_F(ChordPickerWindowTest, TypedTextIsKeptAsTyped) {
    ChordPickerWindow* picker = openPicker();
    ASSERT_NE(picker, nullptr);
    QComboBox* norm = picker->chordBox(ChordStyle::Open);
    fillGrid(u"9"_s);
    const Grid before = window.readGrid();

    // No completion from the list, no new entries, and Return presses nothing.
    typeInto(norm, u"am"_s);
    press(Qt::Key_Return);
    EXPECT_EQ(norm->currentText(), u"am"_s);
    EXPECT_EQ(norm->count(), 16);
    EXPECT_EQ(window.readGrid(), before);
    typeInto(norm, u"A"_s);
    press(Qt::Key_Return);
    EXPECT_EQ(norm->currentText(), u"A"_s);
    EXPECT_EQ(norm->count(), 16);
    EXPECT_EQ(window.readGrid(), before);
    click(picker->enterButton());
    EXPECT_EQ(column(1), (QStringList{u"0"_s, u"2"_s, u"2"_s, u"2"_s, u"0"_s, u"--"_s}));

    typeInto(norm, u"A "_s);
    click(picker->enterButton());
    EXPECT_EQ(column(1), QStringList(6, QString())) << "no trimming";

    // Shapes the lists leave out are reached by typing their names.
    click(picker->styleButton());
    QComboBox* power = picker->chordBox(ChordStyle::Power);
    typeInto(power, u"E"_s);
    EXPECT_EQ(power->currentText(), u"E"_s) << "not completed to Eb";
    click(picker->enterButton());
    EXPECT_EQ(column(1), (QStringList{u""_s, u""_s, u"9"_s, u"9"_s, u"7"_s, u"--"_s}));

    click(picker->styleButton());
    QComboBox* bar = picker->chordBox(ChordStyle::Barre);
    typeInto(bar, u"E"_s);
    EXPECT_EQ(bar->currentText(), u"E"_s);
    click(picker->enterButton());
    EXPECT_EQ(column(1), (QStringList{u"7"_s, u"9"_s, u"9"_s, u"9"_s, u"7"_s, u"--"_s}));
    typeInto(bar, u"Em"_s);
    click(picker->enterButton());
    EXPECT_EQ(column(1), (QStringList{u"7"_s, u"8"_s, u"9"_s, u"9"_s, u"7"_s, u"--"_s}));
    EXPECT_EQ(bar->count(), 22);
}

TEST_F(ChordPickerWindowTest, ABoxTakingTheFocusHasItsTextSelectedSoTypingReplacesIt) {
    ChordPickerWindow* picker = openPicker();
    ASSERT_NE(picker, nullptr);
    type(u"C"_s);
    EXPECT_EQ(picker->chordBox(ChordStyle::Open)->currentText(), u"C"_s) << "on opening";

    click(picker->styleButton());
    QComboBox* power = picker->chordBox(ChordStyle::Power);
    QTest::mouseClick(power->lineEdit(), Qt::LeftButton);
    type(u"A"_s);
    EXPECT_EQ(power->currentText(), u"A"_s) << "clicked into after a style switch";

    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    ASSERT_EQ(focusedName(), u"where"_s);
    type(u"5"_s);
    EXPECT_EQ(picker->columnBox()->currentText(), u"5"_s) << "tabbed into";

    // A click into the box that has the focus places the caret; so does coming back to the
    // window.
    QTest::mouseClick(picker->columnBox()->lineEdit(), Qt::LeftButton);
    type(u"1"_s);
    activateMain();
    picker->activateWindow();
    ASSERT_TRUE(waitUntilTakingKeys(picker));
    type(u"2"_s);
    EXPECT_EQ(picker->columnBox()->currentText(), u"512"_s);
}

TEST_F(ChordPickerWindowTest, TheColumnBoxIsReadAsANumberFromOneToSixteen) {
    ChordPickerWindow* picker = openPicker();
    ASSERT_NE(picker, nullptr);
    chooseFromList(picker->chordBox(ChordStyle::Open), u"Bar line"_s);
    fillGrid(u"9"_s);
    const Grid before = window.readGrid();

    for (const QString& text : {u"0"_s, u"17"_s, u"2.5"_s, u"x"_s, u""_s, u"-1"_s, u"1e1"_s}) {
        typeInto(picker->columnBox(), text);
        ASSERT_EQ(picker->columnBox()->currentText(), text);
        click(picker->enterButton());
        EXPECT_EQ(window.readGrid(), before) << "column text \"" << text.toStdString() << '"';
        EXPECT_TRUE(picker->isVisible());
    }

    typeInto(picker->columnBox(), u"03"_s);
    click(picker->enterButton());
    EXPECT_EQ(column(3), QStringList(6, u"|"_s));
    Grid expected = before;
    for (Row row : kAllRows)
        expected.cell(row, 3) = u"|"_s;
    EXPECT_EQ(window.readGrid(), expected) << "only column 3 changed";
}

TEST_F(ChordPickerWindowTest, OpeningAgainRaisesTheSameWindowAndClosingDiscardsIt) {
    ChordPickerWindow* picker = openPicker();
    ASSERT_NE(picker, nullptr);
    click(picker->styleButton());
    typeInto(picker->chordBox(ChordStyle::Power), u"C#"_s);
    typeInto(picker->columnBox(), u"9"_s);

    // Back to the main window, then Chords/Bar lines again.
    activateMain();
    QTest::mouseClick(window.cell(Row::e, 1), Qt::LeftButton);
    EXPECT_EQ(openPicker(), picker);
    EXPECT_EQ(picker->chordStyle(), ChordStyle::Power);
    EXPECT_EQ(picker->chordBox(ChordStyle::Power)->currentText(), u"C#"_s);
    EXPECT_EQ(picker->columnBox()->currentText(), u"9"_s);
    EXPECT_EQ(picker->styleButton()->text(), u"Change to: Barre chords"_s);

    // The close box discards it; the next opening starts afresh.
    picker->close();
    finishClosing();
    EXPECT_TRUE(pickers().isEmpty());
    ChordPickerWindow* fresh = openPicker();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->chordStyle(), ChordStyle::Open);
    EXPECT_EQ(fresh->chordBox(ChordStyle::Open)->currentText(), u"Open Chords"_s);
    EXPECT_EQ(fresh->chordBox(ChordStyle::Power)->currentText(), u"Power Chords"_s);
    EXPECT_EQ(fresh->columnBox()->currentText(), u"1"_s);
    EXPECT_EQ(fresh->styleButton()->text(), u"Change to: Power chords"_s);
    EXPECT_EQ(focusedName(), u"norm"_s);

    // Reopened before the closed one is gone: still a fresh window, and only one shown.
    click(fresh->styleButton());
    fresh->close();
    clickMenu(window, u"Chords/Bar lines"_s);
    finishClosing();
    const QList<ChordPickerWindow*> open = pickers();
    ASSERT_EQ(open.size(), 1);
    EXPECT_EQ(open.front()->chordStyle(), ChordStyle::Open);
    EXPECT_TRUE(open.front()->isVisible());
}

TEST_F(ChordPickerWindowTest, TabWalksTheKeyboardOrderOfTheShownControls) {
    ChordPickerWindow* picker = openPicker();
    ASSERT_NE(picker, nullptr);
    const auto walk = [](Qt::KeyboardModifiers modifiers) {
        QStringList names{focusedName()};
        for (int i = 0; i < 4; ++i) {
            press(Qt::Key_Tab, modifiers);
            names << focusedName();
        }
        return names;
    };
    EXPECT_EQ(walk(Qt::NoModifier),
              (QStringList{u"norm"_s, u"Command1"_s, u"where"_s, u"Command2"_s, u"norm"_s}));
    EXPECT_EQ(walk(Qt::ShiftModifier),
              (QStringList{u"norm"_s, u"Command2"_s, u"where"_s, u"Command1"_s, u"norm"_s}));

    // Space on the focused style button switches the style; the power box comes first.
    pressTimes(Qt::Key_Tab, 3);
    ASSERT_EQ(focusedName(), u"Command2"_s);
    press(Qt::Key_Space);
    EXPECT_EQ(walk(Qt::NoModifier),
              (QStringList{u"Command2"_s, u"Power"_s, u"Command1"_s, u"where"_s, u"Command2"_s}));
    EXPECT_EQ(walk(Qt::ShiftModifier),
              (QStringList{u"Command2"_s, u"where"_s, u"Command1"_s, u"Power"_s, u"Command2"_s}));
    press(Qt::Key_Space);
    // The barre box sits between the column box and the style button.
    EXPECT_EQ(walk(Qt::NoModifier),
              (QStringList{u"Command2"_s, u"Command1"_s, u"where"_s, u"Bar"_s, u"Command2"_s}));
    EXPECT_EQ(walk(Qt::ShiftModifier),
              (QStringList{u"Command2"_s, u"Bar"_s, u"where"_s, u"Command1"_s, u"Command2"_s}));
}

TEST_F(ChordPickerWindowTest, WritesTheRowsBassModeHidesAndTheyShowOnceBack) {
    // Bass mode hides the top two strings.
    QAction* con = window.findChild<QAction*>(u"con"_s);
    ASSERT_NE(con, nullptr);
    press(Qt::Key_B, Qt::ControlModifier);
    ASSERT_EQ(con->text(), u"Convert to 5 string"_s);
    ASSERT_FALSE(window.cell(Row::e, 2)->isVisible());
    ASSERT_FALSE(window.cell(Row::b, 2)->isVisible());

    ChordPickerWindow* picker = openPicker();
    ASSERT_NE(picker, nullptr);
    typeInto(picker->chordBox(ChordStyle::Open), u"Bar line"_s);
    typeInto(picker->columnBox(), u"2"_s);
    click(picker->enterButton());
    EXPECT_EQ(column(2), QStringList(6, u"|"_s));
    EXPECT_FALSE(window.cell(Row::e, 2)->isVisible());
    EXPECT_FALSE(window.cell(Row::b, 2)->isVisible());

    // Five-string, then guitar mode: the top rows come back holding what the picker wrote.
    activateMain();
    press(Qt::Key_B, Qt::ControlModifier);
    press(Qt::Key_B, Qt::ControlModifier);
    ASSERT_EQ(con->text(), u"Convert to bass"_s);
    for (Row row : {Row::e, Row::b}) {
        EXPECT_TRUE(window.cell(row, 2)->isVisible());
        EXPECT_EQ(window.cell(row, 2)->text(), u"|"_s);
    }

    click(window.findChild<QPushButton*>(u"Command1"_s));
    QString block;
    for (const QString& name : {u"e"_s, u"B"_s, u"G"_s, u"D"_s, u"A"_s, u"E"_s})
        block += committedLine(name, fillerRowWith(2, u"|"_s));
    EXPECT_EQ(window.tabBox()->exactText(), block + u"\r\n"_s);
}

TEST_F(ChordPickerWindowTest, ClosesWithTheMainWindow) {
    ChordPickerWindow* picker = openPicker();
    ASSERT_NE(picker, nullptr);
    const QPointer<ChordPickerWindow> watch(picker);
    dialogs.answerNoIfAskedToSave(!window.tabBox()->isEmptyText());
    window.close();
    EXPECT_FALSE(picker->isVisible());
    finishClosing();
    EXPECT_TRUE(watch.isNull());
}

}  // namespace
}  // namespace fretloom
