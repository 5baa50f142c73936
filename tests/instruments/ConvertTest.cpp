#include "instruments/InstrumentMode.h"
#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"
#include "ui/MainWindow.h"
#include "ui/TabBox.h"
#include "widgets/StraightLine.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <algorithm>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

class ConvertTest : public ::testing::Test {
protected:
    void SetUp() override {
        showAndActivate(window);
        con = window.findChild<QAction*>(u"con"_s);
        ASSERT_NE(con, nullptr);
    }

    QLineEdit* cell(const QString& name) {
        auto* found = window.findChild<QLineEdit*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    void clickInto(const QString& name) {
        QTest::mouseClick(cell(name), Qt::LeftButton);
        ASSERT_EQ(focusedName(), name);
    }
    void click(const QString& buttonName) {
        QTest::mouseClick(window.findChild<QPushButton*>(buttonName), Qt::LeftButton);
    }
    void convert() { press(Qt::Key_B, Qt::ControlModifier); }
    QString tab() const { return window.tabBox()->exactText(); }

    // Every label, line and cell of a row is on screen exactly when the mode uses the row.
    void expectScreenOf(InstrumentMode mode) {
        const std::vector<Row> rows = shownRows(mode);
        for (Row row : kAllRows) {
            const bool inUse = std::find(rows.begin(), rows.end(), row) != rows.end();
            const std::string name = rowPrefix(row).toStdString();
            EXPECT_EQ(window.rowLabel(row)->isVisible(), inUse) << name;
            EXPECT_EQ(window.stringLine(row)->isVisible(), inUse) << name;
            for (int column = 1; column <= kColumnCount; ++column)
                EXPECT_EQ(window.cell(row, column)->isVisible(), inUse) << name << column;
        }
    }

    // Focus is on a widget the user can see, in the main window.
    void expectFocusOnScreen() {
        QWidget* widget = focused();
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(widget->isVisible()) << focusedName().toStdString();
        EXPECT_EQ(widget->window(), &window);
    }

    ScriptedDialogs dialogs;
    MainWindow window{&dialogs};
    QAction* con = nullptr;
};

// One row line of a bar whose first cell holds `first` and whose other cells got the filler.
QString line(const QString& caption, const QString& first) {
    return caption + u"  |-"_s + first + u"-"_s + u"---"_s.repeated(15) + u"|\r\n"_s;
}

QStringList blocksOf(const QString& tab) {
    QStringList blocks = tab.split(u"\r\n\r\n"_s);
    EXPECT_TRUE(blocks.last().isEmpty()) << "the tab ends with an empty line";
    blocks.removeLast();
    return blocks;
}

// Every Hide and Show event of the widgets it watches, in order, each with the caption the
// convert item had at that moment.
class VisibilityLog : public QObject {
public:
    explicit VisibilityLog(const QAction* con) : con_(con) {}

    void watch(QWidget* widget) { widget->installEventFilter(this); }

    // "-Label1" for a hide, "+e1" for a show.
    QStringList changes;
    QStringList captions;

    void clear() {
        changes.clear();
        captions.clear();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide || event->type() == QEvent::Show) {
            changes << (event->type() == QEvent::Show ? u"+"_s : u"-"_s) + watched->objectName();
            captions << con_->text();
        }
        return false;
    }

private:
    const QAction* con_;
};

QStringList cellsOf(Row row, const QString& sign) {
    QStringList names;
    for (int column = 1; column <= kColumnCount; ++column)
        names << sign + cellName(row, column);
    return names;
}

TEST_F(ConvertTest, ByKeyboardAloneEachModeCommitsItsOwnNumberOfLines) {
    // Bass: the top two rows go and the focus moves down with them.
    ASSERT_EQ(focusedName(), u"e1"_s);
    convert();
    EXPECT_EQ(con->text(), u"Convert to 5 string"_s);
    expectScreenOf(InstrumentMode::Bass);
    ASSERT_EQ(focusedName(), u"g1"_s);

    // One bar of frets in column 1, walking down the visible rows.
    const QStringList frets = {u"7"_s, u"5"_s, u"7"_s, u"5"_s};
    for (const QString& fret : frets) {
        type(fret);
        pressTimes(Qt::Key_Tab, kColumnCount);
    }
    ASSERT_EQ(focusedName(), u"Command1"_s);
    press(Qt::Key_Space);
    const QString bass = line(u"G"_s, u"7"_s) + line(u"D"_s, u"5"_s) + line(u"A"_s, u"7"_s) +
                         line(u"E"_s, u"5"_s) + u"\r\n"_s;
    EXPECT_EQ(tab(), bass);

    convert();
    EXPECT_EQ(con->text(), u"Normal tab"_s);
    expectScreenOf(InstrumentMode::FiveString);
    ASSERT_EQ(focusedName(), u"Command1"_s);
    press(Qt::Key_Space);
    // The B row took the filler while it was hidden.
    const QString five = line(u"B"_s, u"--"_s) + line(u"G"_s, u"7"_s) + line(u"D"_s, u"5"_s) +
                         line(u"A"_s, u"7"_s) + line(u"E"_s, u"5"_s) + u"\r\n"_s;
    EXPECT_EQ(tab(), bass + five);
    EXPECT_TRUE(five.startsWith(u"B  |"_s));

    convert();
    EXPECT_EQ(con->text(), u"Convert to bass"_s);
    expectScreenOf(InstrumentMode::Guitar);
    press(Qt::Key_Space);
    const QString guitar = line(u"e"_s, u"--"_s) + five;
    EXPECT_EQ(tab(), bass + five + guitar);

    const QStringList blocks = blocksOf(tab());
    ASSERT_EQ(blocks.size(), 3);
    EXPECT_EQ(blocks[0].split(u"\r\n"_s).size(), 4);
    EXPECT_EQ(blocks[1].split(u"\r\n"_s).size(), 5);
    EXPECT_EQ(blocks[2].split(u"\r\n"_s).size(), 6);
    EXPECT_TRUE(blocks[1].startsWith(u"B  |"_s));
}

TEST_F(ConvertTest, HiddenCellsKeepTheirTextThroughAFullCycle) {
    type(u"12"_s);
    press(Qt::Key_Tab);
    type(u"3"_s);
    clickInto(u"b16"_s);
    type(u"|"_s);
    clickInto(u"d4"_s);
    type(u"0"_s);
    window.rowLabel(Row::e)->setText(u"C#"_s);
    window.tabBox()->setExactText(u"Intro\r\n"_s);
    const Grid before = window.readGrid();
    const QSize size = window.size();

    const InstrumentMode modes[] = {InstrumentMode::Bass, InstrumentMode::FiveString,
                                    InstrumentMode::Guitar};
    for (InstrumentMode mode : modes) {
        convert();
        EXPECT_EQ(con->text(), captionOf(mode));
        expectScreenOf(mode);
        // Converting changes what is on screen, never a text.
        EXPECT_EQ(window.readGrid(), before);
        EXPECT_EQ(window.rowLabel(Row::e)->text(), u"C#"_s);
        EXPECT_EQ(tab(), u"Intro\r\n"_s);
        EXPECT_EQ(window.windowTitle(), u"Fretloom - (Untitled)"_s);
        EXPECT_EQ(window.size(), size);
        // The focus was in d4, which every mode shows: it stays there.
        EXPECT_EQ(focusedName(), u"d4"_s);
    }
    EXPECT_EQ(cell(u"e1"_s)->text(), u"12"_s);
    EXPECT_EQ(cell(u"e2"_s)->text(), u"3"_s);
    EXPECT_EQ(cell(u"b16"_s)->text(), u"|"_s);
}

TEST_F(ConvertTest, HiddenRowsTakeTheFillerAndAreClearedToo) {
    clickInto(u"b3"_s);
    type(u"9"_s);
    convert();
    ASSERT_EQ(con->text(), u"Convert to 5 string"_s);
    click(u"Command1"_s);
    EXPECT_EQ(blocksOf(tab()).size(), 1);
    EXPECT_TRUE(tab().startsWith(u"G  |"_s));
    EXPECT_EQ(cell(u"e1"_s)->text(), u"--"_s);
    EXPECT_EQ(cell(u"b3"_s)->text(), u"9"_s);
    EXPECT_EQ(cell(u"b4"_s)->text(), u"--"_s);

    click(u"Command2"_s);
    EXPECT_EQ(window.readGrid(), Grid{});
    convert();
    convert();
    expectScreenOf(InstrumentMode::Guitar);
    EXPECT_EQ(window.readGrid(), Grid{});
}

TEST_F(ConvertTest, TabbingInBassModeVisitsOnlyTheVisibleRows) {
    convert();
    QStringList expected;
    for (Row row : {Row::g, Row::d, Row::a, Row::f})
        for (int column = 1; column <= kColumnCount; ++column)
            expected << cellName(row, column);
    expected << u"Command1"_s << u"wow"_s << u"Command2"_s << u"g1"_s;

    expectTabOrder(expected);

    // Five-string mode lets the B row back into the order, before the G row.
    convert();
    cell(u"g1"_s)->setFocus();
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focusedName(), u"b16"_s);
}

TEST_F(ConvertTest, AFocusedCellThatIsHiddenHandsTheFocusToTheTopVisibleRow) {
    // Every cell of the two top rows, in guitar mode: bass mode hides it.
    for (Row row : {Row::e, Row::b}) {
        for (int column = 1; column <= kColumnCount; ++column) {
            ASSERT_EQ(con->text(), u"Convert to bass"_s);
            clickInto(cellName(row, column));
            convert();
            expectFocusOnScreen();
            EXPECT_EQ(focusedName(), cellName(Row::g, column));
            convert();
            convert();
        }
    }

    // Showing rows never moves the focus.
    convert();
    clickInto(u"f7"_s);
    convert();
    EXPECT_EQ(focusedName(), u"f7"_s);
    clickInto(u"b5"_s);
    convert();
    EXPECT_EQ(con->text(), u"Convert to bass"_s);
    EXPECT_EQ(focusedName(), u"b5"_s);

    // The focus on a button or in the tab box stays where it is.
    window.tabBox()->setFocus();
    convert();
    EXPECT_EQ(focusedName(), u"wow"_s);
}

TEST_F(ConvertTest, CtrlBWorksFromACellAndFromTheTabBox) {
    clickInto(u"d2"_s);
    type(u"4"_s);
    convert();
    EXPECT_EQ(con->text(), u"Convert to 5 string"_s);
    EXPECT_EQ(cell(u"d2"_s)->text(), u"4"_s);

    window.tabBox()->setFocus();
    type(u"riff"_s);
    convert();
    EXPECT_EQ(con->text(), u"Normal tab"_s);
    convert();
    EXPECT_EQ(con->text(), u"Convert to bass"_s);
    expectScreenOf(InstrumentMode::Guitar);
    // The key went to the menu, not into the text.
    EXPECT_EQ(tab(), u"riff"_s);
}

TEST_F(ConvertTest, EachStepHidesOrShowsInOrderAndRenamesTheItemLast) {
    // Every label, line and cell is watched, so a change to a lower string shows up too.
    VisibilityLog log(con);
    for (Row row : kAllRows) {
        log.watch(window.rowLabel(row));
        log.watch(window.stringLine(row));
        for (int column = 1; column <= kColumnCount; ++column)
            log.watch(window.cell(row, column));
    }

    struct Step {
        QString before;
        QString after;
        QStringList changes;
    };
    const Step steps[] = {
        {u"Convert to bass"_s, u"Convert to 5 string"_s,
         QStringList{u"-Label1"_s, u"-Label2"_s, u"-Line1"_s, u"-Line2"_s} +
             cellsOf(Row::e, u"-"_s) + cellsOf(Row::b, u"-"_s)},
        {u"Convert to 5 string"_s, u"Normal tab"_s,
         QStringList{u"+Label2"_s, u"+Line2"_s} + cellsOf(Row::b, u"+"_s)},
        // Line2 is shown already, so showing it again makes no event.
        {u"Normal tab"_s, u"Convert to bass"_s,
         QStringList{u"+Label1"_s, u"+Line1"_s} + cellsOf(Row::e, u"+"_s)},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.before.toStdString());
        ASSERT_EQ(con->text(), step.before);
        log.clear();
        convert();
        EXPECT_EQ(log.changes, step.changes);
        // The caption still names the old mode while the rows change.
        EXPECT_EQ(log.captions, QStringList(step.changes.size(), step.before));
        EXPECT_EQ(con->text(), step.after);
    }
}

TEST_F(ConvertTest, TheMenuItemNamesTheNextConversion) {
    clickMenu(window, u"Format"_s, u"Convert to bass"_s);
    expectScreenOf(InstrumentMode::Bass);
    clickMenu(window, u"Format"_s, u"Convert to 5 string"_s);
    expectScreenOf(InstrumentMode::FiveString);
    clickMenu(window, u"Format"_s, u"Normal tab"_s);
    expectScreenOf(InstrumentMode::Guitar);
    EXPECT_EQ(con->text(), u"Convert to bass"_s);
}

TEST_F(ConvertTest, ACaptionOutsideTheCycleConvertsNothing) {
    con->setText(u"Convert to Bass"_s);
    convert();
    EXPECT_EQ(con->text(), u"Convert to Bass"_s);
    expectScreenOf(InstrumentMode::Guitar);
    EXPECT_EQ(focusedName(), u"e1"_s);
}

}  // namespace
}  // namespace fretloom
