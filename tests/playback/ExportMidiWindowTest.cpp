#include "support/Files.h"
#include "support/IndependentMidiReader.h"
#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"
#include "ui/MainWindow.h"
#include "ui/TabBox.h"

#include <QLineEdit>
#include <QTemporaryDir>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

TEST(ExportMidiWindow, CtrlEFromACellExportsTheTabBoxAtTheDefaultTempo) {
    ScriptedDialogs dialogs;
    MainWindow window(&dialogs);
    showAndActivate(window);

    QMenu* file = menuBarEntry(window, u"File"_s)->menu();
    const QList<QAction*> items = file->actions();
    const auto print = std::find_if(items.begin(), items.end(),
                                    [](QAction* item) { return item->text() == u"Print"_s; });
    ASSERT_NE(print, items.begin());
    QAction* exportItem = *(print - 1);
    EXPECT_EQ(exportItem->text(), u"Export MIDI\u2026"_s);
    EXPECT_EQ(exportItem->shortcut(), QKeySequence(u"Ctrl+E"_s));

    const QString tab = u"e|0-\r\nB|1-\r\nG|0-\r\nD|2-\r\nA|3-\r\nE|--\r\n"_s;
    window.tabBox()->setExactText(tab);
    window.cell(Row::d, 9)->setFocus();
    QTemporaryDir folder;
    const QString path = folder.filePath(u"c.mid"_s);
    dialogs.saveAnswers.push_back(path);
    press(Qt::Key_E, Qt::ControlModifier);
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].filter, u"MIDI Files (*.mid)"_s);
    // The open C chord for two characters, 80 ticks, at 100 beats per minute.
    EXPECT_EQ(
        readIndependently(readBytes(path)),
        (QStringList{u"format 0 division 480 tracks 1"_s, u"seconds 0.1"_s, u"tempo 600000"_s,
                     u"program 0 25"_s, u"end 80"_s, u"note 0 48 96 0 80"_s, u"note 0 52 96 0 80"_s,
                     u"note 0 55 96 0 80"_s, u"note 0 60 96 0 80"_s, u"note 0 64 96 0 80"_s}));
    EXPECT_EQ(window.tabBox()->exactText(), tab);
    EXPECT_TRUE(window.cell(Row::d, 9)->text().isEmpty());
    dialogs.answerNoIfAskedToSave(true);
    window.close();
    EXPECT_TRUE(dialogs.allAnswersUsed());
}

}  // namespace
}  // namespace fretloom
