#include "widgets/SingleLineBox.h"

#include "support/ProgramWindows.h"
#include "support/ScriptedDialogs.h"
#include "support/ShownMainWindow.h"
#include "ui/TabBox.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QStringList>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

class SingleLineBoxTest : public ShownMainWindow {
protected:
    // Ctrl+V into the box, over whatever it holds.
    static void pasteOver(QLineEdit* box, const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    }
    // A text dragged in from another program and let go over the box.
    static void drop(QLineEdit* box, const QString& text) {
        QMimeData data;
        data.setText(text);
        const QPointF at = box->rect().center();
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &dropped);
    }
};

TEST_F(SingleLineBoxTest, EveryBoxOfEveryWindowTakesOnlyTheFirstLineOfAPasteOrADrop) {
    const SecondaryWindows open = openSecondaryWindows(window);
    ASSERT_TRUE(open.picker && open.notes);
    const QStringList breaks = {u"\n"_s, u"\r"_s, u"\r\n"_s, u"\u2028"_s, u"\u2029"_s};
    int seen = 0;
    for (QWidget* owner : {static_cast<QWidget*>(&window), static_cast<QWidget*>(open.picker),
                           static_cast<QWidget*>(open.notes)}) {
        for (QLineEdit* box : owner->findChildren<QLineEdit*>()) {
            if (box->window() != owner)
                continue;
            const QString name =
                box->objectName().isEmpty() ? box->parent()->objectName() : box->objectName();
            const QString lineBreak = breaks[seen++ % breaks.size()];
            pasteOver(box, u"1"_s + lineBreak + u"2"_s);
            EXPECT_EQ(box->text(), u"1"_s) << "paste into " << name.toStdString();
            box->clear();
            drop(box, u"3"_s + lineBreak + u"4"_s);
            EXPECT_EQ(box->text(), u"3"_s) << "drop onto " << name.toStdString();
        }
    }
    EXPECT_EQ(seen, 96 + 4 + 6) << "the cells, the picker's four boxes, the six string boxes";
}

TEST_F(SingleLineBoxTest, TheTwoCharacterLimitKeepsWholeCharacters) {
    QLineEdit* cell = window.cell(Row::e, 1);
    const QString emoji = u"\U0001F3B8"_s;
    pasteOver(cell, u"a"_s + emoji);
    EXPECT_EQ(cell->text(), u"a"_s + emoji) << "two characters fit";
    pasteOver(cell, u"b"_s + emoji + u"c"_s);
    EXPECT_EQ(cell->text(), u"b"_s + emoji);
    pasteOver(cell, u"de"_s + emoji);
    EXPECT_EQ(cell->text(), u"de"_s) << "no half of a pair";
    cell->setFocus();
    pasteOver(cell, emoji);
    press(Qt::Key_Home);
    type(u"1"_s);
    EXPECT_EQ(cell->text(), u"1"_s + emoji) << "the pair counts as one before the caret too";

    // A full box refuses a third key and keeps what can be undone.
    cell = window.cell(Row::b, 1);
    cell->setFocus();
    type(u"12"_s);
    type(u"3"_s);
    EXPECT_EQ(cell->text(), u"12"_s);
    press(Qt::Key_Home);
    type(u"0"_s);
    EXPECT_EQ(cell->text(), u"12"_s);
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(cell->text(), QString()) << "the typing is taken back";

    // What the program writes lands unchanged, a filler and a chord fret alike.
    window.writeColumn(2, {u"10"_s, u"--"_s, u"|"_s, u""_s, u"7"_s, u"12"_s});
    EXPECT_EQ(window.cell(Row::e, 2)->text(), u"10"_s);
    EXPECT_EQ(window.cell(Row::b, 2)->text(), u"--"_s);
    EXPECT_EQ(window.cell(Row::f, 2)->text(), u"12"_s);
}

}  // namespace
}  // namespace fretloom
