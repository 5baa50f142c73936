#include "support/PdfTools.h"
#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"
#include "ui/MainWindow.h"
#include "ui/TabBox.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <cups/cups.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

QString dashes(int count) {
    return QString(count, u'-');
}

// The Print command of the real main window, pressed as Ctrl+P with the keyboard in the grid.
class PrintCommand : public ::testing::Test {
protected:
    void SetUp() override { showAndActivate(window); }

    void pressCtrlP() {
        window.cell(Row::e, 1)->setFocus();
        press(Qt::Key_P, Qt::ControlModifier);
    }
    // Types a bar into the grid and presses Enter, then Clear.
    void enterBar(const QString& lowStringFret) {
        window.cell(Row::f, 1)->setFocus();
        type(lowStringFret);
        QTest::mouseClick(window.findChild<QPushButton*>(u"Command1"_s), Qt::LeftButton);
        QTest::mouseClick(window.findChild<QPushButton*>(u"Command2"_s), Qt::LeftButton);
    }
    void expectThePrintQuestion() {
        ASSERT_EQ(dialogs.questions.size(), 1u);
        EXPECT_EQ(dialogs.questions[0].title, u"Print"_s);
        EXPECT_EQ(dialogs.questions[0].text, u"Are you sure you want to print?"_s);
        EXPECT_EQ(dialogs.questions[0].buttons, QuestionButtons::YesNo);
    }

    ScriptedDialogs dialogs;
    MainWindow window{&dialogs};
};

// Against the private scheduler that cups_print_test.sh starts, whose spool folder it names in
// FRETLOOM_TEST_SPOOL. The spool keeps every job's data file, d<job>-001.
class PrivateScheduler : public PrintCommand {
protected:
    void SetUp() override {
        spool = qEnvironmentVariable("FRETLOOM_TEST_SPOOL");
        ASSERT_FALSE(spool.isEmpty()) << "run through cups_print_test.sh";
        ASSERT_TRUE(QDir(spool).exists()) << spool.toStdString();
        PrintCommand::SetUp();
    }

    QStringList jobFiles() const {
        return QDir(spool).entryList({u"d*-001"_s}, QDir::Files, QDir::Name);
    }
    // The one job that arrived since `before`, or an empty path.
    QString newJob(const QStringList& before) const {
        const QStringList after = jobFiles();
        EXPECT_EQ(after.size(), before.size() + 1) << "expected exactly one new job";
        for (const QString& file : after)
            if (!before.contains(file))
                return QDir(spool).filePath(file);
        return {};
    }

    // The name the scheduler holds for the job whose data file this is.
    static QString jobTitle(const QString& dataFile) {
        // d00002-001 is job 2.
        const int id = dataFile.mid(dataFile.lastIndexOf(u'/') + 2, 5).toInt();
        cups_job_t* jobs = nullptr;
        const int count = cupsGetJobs(&jobs, "FretloomTest", 0, CUPS_WHICHJOBS_ALL);
        QString title;
        for (int i = 0; i < count; ++i)
            if (jobs[i].id == id)
                title = QString::fromUtf8(jobs[i].title);
        cupsFreeJobs(count, jobs);
        return title;
    }

    QString spool;
};

TEST_F(PrivateScheduler, CtrlPThenNoPrintsNothing) {
    enterBar(u"3"_s);
    const QStringList before = jobFiles();
    dialogs.questionAnswers = {Answer::No};
    pressCtrlP();
    expectThePrintQuestion();
    EXPECT_EQ(jobFiles(), before);
    EXPECT_TRUE(dialogs.warnings.empty());
}

TEST_F(PrivateScheduler, CtrlPThenYesQueuesOneJobOfTheTabInTheTabBoxFaceAtRegularWeight) {
    enterBar(u"3"_s);
    enterBar(u"5"_s);
    const QString tab = window.tabBox()->exactText();
    ASSERT_TRUE(window.tabBox()->font().bold());
    const QStringList before = jobFiles();

    dialogs.questionAnswers = {Answer::Yes};
    pressCtrlP();
    expectThePrintQuestion();
    EXPECT_TRUE(dialogs.warnings.empty());
    const QString job = newJob(before);
    ASSERT_FALSE(job.isEmpty());

    QFile data(job);
    ASSERT_TRUE(data.open(QIODevice::ReadOnly));
    EXPECT_TRUE(data.read(5) == "%PDF-") << "the queue is raw: the job is the printed PDF";
    EXPECT_EQ(pdfPageCount(job), 1);
    const QStringList lines = textLines(pdfPageTexts(job).value(0));
    const QString low3 = u"E |-3-"_s + dashes(45) + u"|"_s;
    const QString low5 = u"E |-5-"_s + dashes(45) + u"|"_s;
    const QString top = u"e |-"_s + dashes(48) + u"|"_s;
    EXPECT_EQ(lines.size(), 12);
    EXPECT_EQ(lines.value(0), top);
    EXPECT_EQ(lines.value(5), low3);
    EXPECT_EQ(lines.value(6), top);
    EXPECT_EQ(lines.value(11), low5);

    // The tab box shows Times New Roman bold; the printout has the same face in regular weight.
    const std::vector<PdfFont> fonts = pdfFonts(job);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0].name, u"LiberationSerif"_s);
    EXPECT_FALSE(fonts[0].name.contains(u"Bold"_s));

    // The job carries the window's title as its name.
    EXPECT_EQ(jobTitle(job), u"Fretloom - (Untitled)"_s);

    // Printing changed nothing in the window.
    EXPECT_EQ(window.tabBox()->exactText(), tab);
    EXPECT_EQ(window.windowTitle(), u"Fretloom - (Untitled)"_s);
}

TEST_F(PrivateScheduler, AfterChangeFontTheNextJobHasTheNewFaceAndSize) {
    enterBar(u"7"_s);
    dialogs.fontAnswers = {FontChoice{u"DejaVu Sans Mono"_s, true, true, 20.0}};
    press(Qt::Key_F, Qt::ControlModifier);
    const QStringList before = jobFiles();

    dialogs.questionAnswers = {Answer::Yes};
    pressCtrlP();
    const QString job = newJob(before);
    ASSERT_FALSE(job.isEmpty());
    const std::vector<PdfFont> fonts = pdfFonts(job);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0].name, u"DejaVuSansMono"_s);
    EXPECT_FALSE(fonts[0].name.contains(u"Bold"_s) || fonts[0].name.contains(u"Oblique"_s));
    const PdfLayout layout = pdfWords(job);
    // Each string's name starts a line; one line is a little more than the size in points.
    const PdfWord* top = findWord(layout, u"e"_s);
    const PdfWord* second = findWord(layout, u"B"_s);
    ASSERT_TRUE(top && second);
    const double pitch = second->yMin - top->yMin;
    EXPECT_GT(pitch, 20.0);
    EXPECT_LT(pitch, 20.0 * 1.4);
    EXPECT_TRUE(dialogs.warnings.empty());
}

// Runs one of the scheduler's administration commands (cupsreject, cupsaccept, ...).
void administer(const QString& command, const QStringList& arguments) {
    const QString program =
        QStandardPaths::findExecutable(command, {u"/usr/sbin"_s, u"/usr/bin"_s, u"/sbin"_s});
    ASSERT_FALSE(program.isEmpty()) << command.toStdString() << " was not found";
    QProcess process;
    process.start(program, arguments);
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
}

TEST_F(PrivateScheduler, APrinterThatTurnsJobsAwayIsReported) {
    enterBar(u"9"_s);
    administer(u"cupsreject"_s, {u"-r"_s, u"Paper jam"_s, u"FretloomTest"_s});
    const QStringList before = jobFiles();
    dialogs.questionAnswers = {Answer::Yes};
    pressCtrlP();
    administer(u"cupsaccept"_s, {u"FretloomTest"_s});

    EXPECT_EQ(jobFiles(), before);
    ASSERT_EQ(dialogs.warnings.size(), 1u);
    EXPECT_EQ(dialogs.warnings[0].first, u"Print"_s);
    EXPECT_TRUE(dialogs.warnings[0].second.contains(u"FretloomTest"_s));
    EXPECT_TRUE(dialogs.warnings[0].second.contains(u"Paper jam"_s))
        << dialogs.warnings[0].second.toStdString();
}

TEST_F(PrivateScheduler, AJobTheSchedulerTurnsDownIsReported) {
    // The scheduler takes requests of up to 100 KiB (see the script); three thousand bars make
    // a printout more than twice that size.
    QString tab;
    for (int bar = 0; bar < 3000; ++bar)
        tab += u"e  |-"_s + QString::number(bar % 24) + u"-"_s + dashes(44) + u"|\r\n"_s +
               u"B  |"_s + dashes(47) + u"|\r\n\r\n"_s;
    window.tabBox()->setExactText(tab);
    dialogs.questionAnswers = {Answer::Yes};
    pressCtrlP();

    ASSERT_EQ(dialogs.warnings.size(), 1u);
    EXPECT_EQ(dialogs.warnings[0].first, u"Print"_s);
    EXPECT_TRUE(dialogs.warnings[0].second.contains(u"turned the job down"_s))
        << dialogs.warnings[0].second.toStdString();
    EXPECT_EQ(window.tabBox()->exactText(), tab);
}

// With CUPS_SERVER naming a socket nobody listens on, there is no printer at all.
TEST_F(PrintCommand, WithoutAPrinterTheUserIsToldAndNothingChanges) {
    ASSERT_FALSE(QFile::exists(qEnvironmentVariable("CUPS_SERVER")))
        << "this test needs CUPS_SERVER to name a scheduler that is not there";
    enterBar(u"2"_s);
    const QString tab = window.tabBox()->exactText();
    const QFont font = window.tabBox()->font();

    dialogs.questionAnswers = {Answer::Yes};
    pressCtrlP();
    expectThePrintQuestion();
    ASSERT_EQ(dialogs.warnings.size(), 1u);
    EXPECT_EQ(dialogs.warnings[0].first, u"Print"_s);
    EXPECT_TRUE(dialogs.warnings[0].second.contains(u"no default printer"_s))
        << dialogs.warnings[0].second.toStdString();
    EXPECT_EQ(window.tabBox()->exactText(), tab);
    EXPECT_EQ(window.tabBox()->font(), font);
    EXPECT_EQ(window.windowTitle(), u"Fretloom - (Untitled)"_s);

    // No asks nothing more of the printer and says nothing.
    dialogs.questionAnswers = {Answer::No};
    pressCtrlP();
    EXPECT_EQ(dialogs.warnings.size(), 1u);
}

}  // namespace
}  // namespace fretloom
