#include "sheet/Bar.h"
#include "support/PdfTools.h"
#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"
#include "ui/MainWindow.h"
#include "ui/TabBox.h"
#include "widgets/Twips.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

// The real main window printing to the private scheduler that cups_print_test.sh starts. Its
// spool folder, named in FRETLOOM_TEST_SPOOL, keeps every job's data file, d<job>-001.
class PrivateScheduler : public ::testing::Test {
protected:
    void SetUp() override {
        spool = qEnvironmentVariable("FRETLOOM_TEST_SPOOL");
        ASSERT_FALSE(spool.isEmpty()) << "run through cups_print_test.sh";
        ASSERT_TRUE(QDir(spool).exists()) << spool.toStdString();
        showAndActivate(window);
    }

    QStringList jobFiles() const {
        return QDir(spool).entryList({u"d*-001"_s}, QDir::Files, QDir::Name);
    }
    void enterBarWithFret(const QString& fret) {
        window.cell(Row::g, 3)->setFocus();
        type(fret);
        QTest::mouseClick(window.findChild<QPushButton*>(u"Command1"_s), Qt::LeftButton);
        QTest::mouseClick(window.findChild<QPushButton*>(u"Command2"_s), Qt::LeftButton);
    }

    QString spool;
    ScriptedDialogs dialogs;
    MainWindow window{&dialogs};
};

TEST_F(PrivateScheduler, CtrlPPrintsTheBarsEnteredWhileTheTabBoxIsHidden) {
    QAction* hider = window.findChild<QAction*>(u"hider"_s);
    press(Qt::Key_H, Qt::ControlModifier);
    ASSERT_TRUE(hider->isChecked());
    enterBarWithFret(u"5"_s);
    enterBarWithFret(u"7"_s);

    // The two bars as Enter writes them; on paper, their lines with text.
    QString bars;
    for (const QString& fret : {u"5"_s, u"7"_s}) {
        Grid grid;
        grid.cell(Row::g, 3) = fret;
        bars += commitBar(grid, standardCaptions(), u"Convert to bass"_s);
    }
    QStringList printed;
    for (const QString& line : bars.split(u"\r\n"_s))
        if (!line.isEmpty())
            printed << line.simplified();
    ASSERT_EQ(printed.size(), 12);

    const QStringList before = jobFiles();
    dialogs.questionAnswers = {Answer::Yes};
    window.cell(Row::e, 1)->setFocus();
    press(Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text, u"Are you sure you want to print?"_s);
    EXPECT_TRUE(dialogs.warnings.empty());

    const QStringList after = jobFiles();
    ASSERT_EQ(after.size(), before.size() + 1) << "expected exactly one new job";
    QString job;
    for (const QString& file : after)
        if (!before.contains(file))
            job = QDir(spool).filePath(file);
    EXPECT_EQ(pdfPageCount(job), 1);
    EXPECT_EQ(textLines(pdfPageTexts(job).value(0)).join(u'\n').toStdString(),
              printed.join(u'\n').toStdString());

    // Printing left the box where it was, out of view, and its text as it was.
    EXPECT_TRUE(hider->isChecked());
    EXPECT_EQ(window.centralWidget()->height(), twipsToPixels(3300));
    EXPECT_EQ(window.tabBox()->exactText(), bars);
}

}  // namespace
}  // namespace fretloom
