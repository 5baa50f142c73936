#include "documents/FileSystem.h"
#include "documents/TabFiles.h"
#include "support/Files.h"
#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"
#include "support/WorkedExample.h"
#include "ui/MainWindow.h"
#include "ui/QtDialogService.h"
#include "ui/TabBox.h"
#include "ui/WindowDocument.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <functional>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

QString dashes(int count) {
    return QString(count, u'-');
}

QByteArray workedExampleFile() {
    const QString tab = u"e  |-0-|-12"_s + dashes(40) + u"|\r\n"_s +  //
                        u"B  |-1-|"_s + dashes(43) + u"|\r\n"_s +     //
                        u"G  |-0-|"_s + dashes(4) + u"5"_s + dashes(37) + u"|\r\n"_s +
                        u"D  |-2-|"_s + dashes(43) + u"|\r\n"_s +  //
                        u"A  |-3-|"_s + dashes(43) + u"|\r\n"_s +  //
                        u"E  |-3-|"_s + dashes(43) + u"|\r\n"_s + u"\r\n"_s;
    return tab.toLatin1() + "\r\n";
}

// Acts on modal dialogs as they come up. Each `when` waits for the next modal dialog of type T
// and runs `act` on it, which must close it. A dialog still up after 20 s is closed so a test
// fails rather than hangs; whatever is still waiting stops when the watch goes.
class ModalWatch : public QObject {
public:
    template <typename T> void when(std::function<void(T*)> act) {
        auto* poll = new QTimer(this);
        QElapsedTimer clock;
        clock.start();
        connect(poll, &QTimer::timeout, [poll, clock, act] {
            if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
                poll->stop();
                poll->deleteLater();
                act(dialog);
            } else if (clock.elapsed() > 20000) {
                poll->stop();
                poll->deleteLater();
                ADD_FAILURE() << "the expected dialog never came up";
                if (QWidget* other = QApplication::activeModalWidget())
                    other->close();
            }
        });
        poll->start(20);
    }
};

// Where a key goes: a popup, such as the file name completion list, takes the keyboard while it
// is up and hands on what it does not use.
QWidget* keyboardTarget(QWidget* focus) {
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup;
    return focus;
}

// Types a path into Qt's file dialog as a user would and presses Return.
void typeIntoFileDialog(QFileDialog* dialog, const QString& path) {
    // A dialog that stays up would block the test for ever.
    QPointer<QFileDialog> stillUp(dialog);
    QTimer::singleShot(20000, dialog, [stillUp] {
        if (stillUp && stillUp->isVisible()) {
            ADD_FAILURE() << "the file dialog did not take the name";
            stillUp->reject();
        }
    });
    auto* name = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
    ASSERT_NE(name, nullptr);
    // Keys reach the name box only while the dialog is active and the box has the focus; the
    // dialog also reads what is typed differently without it. The offscreen platform may still
    // hand the activation back to the main window after the dialog came up, where a window
    // manager would keep a modal dialog in front: the user clicks the dialog again.
    for (int attempt = 0; attempt < 20 && !name->hasFocus(); ++attempt) {
        dialog->activateWindow();
        if (QTest::qWaitForWindowActive(dialog))
            QTest::mouseClick(name, Qt::LeftButton);
        QTest::qWait(50);
    }
    if (!name->hasFocus())
        ADD_FAILURE() << "the file name box never had the focus";
    QTest::keyClick(keyboardTarget(name), Qt::Key_A, Qt::ControlModifier);
    for (QChar c : path)
        QTest::keyClick(keyboardTarget(name), c.toLatin1());
    QTest::keyClick(keyboardTarget(name), Qt::Key_Return);
}

TEST(TabFilesThroughTheRealDialogs, TheWorkedExampleTypedAndSavedGivesThe327ByteFile) {
    QTemporaryDir folder;
    const QString path = folder.filePath(u"worked example.txt"_s);
    MainWindow window;  // Qt's own dialogs
    showAndActivate(window);
    typeWorkedExample();

    ModalWatch watch;
    QStringList filters;
    watch.when<QFileDialog>([&](QFileDialog* dialog) {
        filters = dialog->nameFilters();
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_TRUE(dialog->defaultSuffix().isEmpty());
        typeIntoFileDialog(dialog, path);
    });
    press(Qt::Key_S, Qt::ControlModifier);

    EXPECT_EQ(filters, QStringList{u"Text Tab Files (*.txt)"_s});
    const QByteArray saved = readBytes(path);
    EXPECT_EQ(saved.size(), 327);
    EXPECT_EQ(saved, workedExampleFile());
    EXPECT_EQ(window.windowHandle()->title(), u"Fretloom - ("_s + path + u')');
    EXPECT_EQ(entries(folder.path()), QStringList{u"worked example.txt"_s});

    // Back through the open dialog, after saying No to the save question.
    window.tabBox()->setExactText(u"something else"_s);
    watch.when<QMessageBox>([&](QMessageBox* question) {
        EXPECT_EQ(question->text(), u"Would you like to save before opening a new file?"_s);
        watch.when<QFileDialog>([&](QFileDialog* dialog) {
            EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
            EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
            EXPECT_EQ(dialog->nameFilters(), QStringList{u"Text Tab Files (*.txt)"_s});
            typeIntoFileDialog(dialog, path);
        });
        if (QAbstractButton* no = question->button(QMessageBox::No)) {
            QTest::mouseClick(no, Qt::LeftButton);
        } else {
            ADD_FAILURE() << "no No button";
            question->reject();
        }
    });
    // The offscreen platform has no window manager to hand the focus back after a dialog.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.tabBox()->setFocus();
    press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(window.tabBox()->exactText(), QString::fromLatin1(saved));
}

TEST(TabFilesThroughTheRealDialogs, TheSaveDialogTakesNoNameInAMissingFolder) {
    QTemporaryDir folder;
    QWidget owner;
    showAndActivate(owner);
    QtDialogService dialogs(&owner);
    const QString missing = folder.filePath(u"gone/riff.txt"_s);
    const QString good = folder.filePath(u"riff"_s);

    ModalWatch watch;
    QString warning;
    watch.when<QFileDialog>([&](QFileDialog* dialog) {
        watch.when<QMessageBox>([&](QMessageBox* box) {
            warning = box->text();
            watch.when<QFileDialog>([&](QFileDialog* again) { typeIntoFileDialog(again, good); });
            QTest::keyClick(box, Qt::Key_Return);
        });
        typeIntoFileDialog(dialog, missing);
    });
    const std::optional<QString> chosen =
        dialogs.chooseFileToSave({u"Text Tab Files (*.txt)"_s, QString()});
    EXPECT_EQ(warning, u"The folder \"%1\" does not exist."_s.arg(folder.filePath(u"gone"_s)));
    // The name is taken as typed, with no extension added.
    EXPECT_EQ(chosen, std::optional<QString>(good));
}

class TabFilesWindowTest : public ::testing::Test {
protected:
    void SetUp() override { showAndActivate(window); }
    void TearDown() override { EXPECT_TRUE(dialogs.allAnswersUsed()); }

    QString file(const QString& name) const { return folder.filePath(name); }
    QString tab() const { return window.tabBox()->exactText(); }
    QString shownTitle() const { return window.windowHandle()->title(); }

    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    MainWindow window{&dialogs};
};

TEST_F(TabFilesWindowTest, CtrlOLoadsAFileAndCtrlSWritesItBackWithTheUsersEdits) {
    ASSERT_TRUE(writeBytes(file(u"song.txt"_s), "e  |-0-|\r\n\xA0x\r\n"));
    dialogs.openAnswers.push_back(file(u"song.txt"_s));
    press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(tab(), u"e  |-0-|\r\n\u00A0x\r\n"_s);
    EXPECT_EQ(shownTitle(), u"Fretloom - ("_s + file(u"song.txt"_s) + u')');

    // The user types at the end of the tab box, then saves from the menu.
    window.tabBox()->setFocus();
    press(Qt::Key_End, Qt::ControlModifier);
    type(u"riff"_s);
    press(Qt::Key_Return);
    clickMenu(window, u"File"_s, u"Save"_s);
    EXPECT_TRUE(dialogs.saveRequests.empty());
    EXPECT_EQ(readBytes(file(u"song.txt"_s)), QByteArray("e  |-0-|\r\n\xA0x\r\nriff\r\n\r\n"));
}

TEST_F(TabFilesWindowTest, SaveAsAlwaysAsksAndSaveThenWritesToTheNewPath) {
    ASSERT_TRUE(writeBytes(file(u"song.txt"_s), "song\r\n"));
    dialogs.openAnswers.push_back(file(u"song.txt"_s));
    press(Qt::Key_O, Qt::ControlModifier);

    // Cancelled: nothing is written and the title stays.
    dialogs.saveAnswers.push_back(std::nullopt);
    press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].startPath, file(u"song.txt"_s));
    EXPECT_EQ(shownTitle(), u"Fretloom - ("_s + file(u"song.txt"_s) + u')');

    dialogs.saveAnswers.push_back(file(u"copy.txt"_s));
    clickMenu(window, u"File"_s, u"Save As\u2026"_s);
    EXPECT_EQ(readBytes(file(u"copy.txt"_s)), QByteArray("song\r\n\r\n"));
    EXPECT_EQ(shownTitle(), u"Fretloom - ("_s + file(u"copy.txt"_s) + u')');
    window.tabBox()->setExactText(u"edited"_s);
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogs.saveRequests.size(), 2u);
    EXPECT_EQ(readBytes(file(u"copy.txt"_s)), QByteArray("edited\r\n"));
    EXPECT_EQ(readBytes(file(u"song.txt"_s)), QByteArray("song\r\n"));
}

TEST_F(TabFilesWindowTest, TheTitleShowsThePathExactly) {
    // Qt would drop "[*]" from a title and show "[*][*]" as "[*]".
    for (const QString& name : {u"riff[*].txt"_s, u"two [*][*] marks.txt"_s, u"[*]"_s,
                                u"\u00E9t\u00E9 \u266B tab"_s, u"[*]*] odd [*"_s}) {
        MainWindow fresh(&dialogs);  // untitled, so Save asks for a name
        showAndActivate(fresh);
        dialogs.saveAnswers.push_back(file(name));
        press(Qt::Key_S, Qt::ControlModifier);
        ASSERT_TRUE(QFileInfo::exists(file(name))) << name.toStdString();
        const QString expected = u"Fretloom - ("_s + file(name) + u')';
        EXPECT_EQ(fresh.windowHandle()->title(), expected);
        EXPECT_EQ(fresh.title(), expected);
        EXPECT_EQ(fresh.windowTitle(), escapeTitlePlaceholders(expected));
    }
}

TEST_F(TabFilesWindowTest, EveryByteComesBackThroughTheTabBox) {
    QByteArray bytes;
    for (int b = 0; b <= 0xFF; ++b)
        if (b != '\r' && b != '\n')
            bytes += static_cast<char>(b);
    bytes += "\r\n";
    ASSERT_TRUE(writeBytes(file(u"bytes.txt"_s), bytes));
    dialogs.openAnswers.push_back(file(u"bytes.txt"_s));
    press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(tab().size(), 256);
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(readBytes(file(u"bytes.txt"_s)), bytes + "\r\n");
}

TEST_F(TabFilesWindowTest, AFailedOpenWarnsAndLeavesTheTabBoxAlone) {
    window.tabBox()->setExactText(u"mine"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(file(u"pipe.txt"_s)).constData(), 0600), 0);
    dialogs.questionAnswers.push_back(Answer::No);
    dialogs.openAnswers.push_back(file(u"pipe.txt"_s));
    press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(tab(), u"mine"_s);
    EXPECT_EQ(shownTitle(), u"Fretloom - (Untitled)"_s);
    ASSERT_EQ(dialogs.warnings.size(), 1u);
    EXPECT_TRUE(dialogs.warnings[0].second.contains(file(u"pipe.txt"_s)));
}

TEST_F(TabFilesWindowTest, SavingOnAFullDiskKeepsTheOldFileTitleAndTab) {
    SmallTmpfs disk16k;
    const QString place = disk16k.mounted() ? disk16k.path() : folder.path();
    const QString path = place + u"/riff.txt"_s;
    window.tabBox()->setExactText(u"old"_s);
    dialogs.saveAnswers.push_back(path);
    press(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(readBytes(path), QByteArray("old\r\n"));
    const QString title = shownTitle();

    const QString big = (u"e  |-0-|"_s + dashes(40) + u"|\r\n"_s).repeated(1500);
    window.tabBox()->setExactText(big);
    {
        // Where no tmpfs can be mounted, a file size limit fills the disk for this process.
        std::optional<FileSizeLimit> limit;
        if (!disk16k.mounted())
            limit.emplace(4096);
        press(Qt::Key_S, Qt::ControlModifier);
    }
    EXPECT_EQ(readBytes(path), QByteArray("old\r\n"));
    EXPECT_EQ(entries(place), QStringList{u"riff.txt"_s});
    EXPECT_EQ(shownTitle(), title);
    EXPECT_EQ(tab(), big);
    ASSERT_EQ(dialogs.warnings.size(), 1u);
    EXPECT_EQ(dialogs.warnings[0].first, u"Save"_s);
    EXPECT_TRUE(dialogs.warnings[0].second.contains(u'"' + path + u'"'));
    EXPECT_TRUE(dialogs.warnings[0].second.contains(
        disk16k.mounted() ? u"No space left on device."_s : u"File too large."_s));
}

TEST_F(TabFilesWindowTest, AnEmptyTabClosesWithoutAQuestion) {
    QWidget beside;
    beside.show();
    window.keepBeside(&beside);
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_FALSE(beside.isVisible());
}

TEST_F(TabFilesWindowTest, CancelOrAYesWhoseSaveDidNotHappenKeepsTheWindowOpen) {
    QWidget beside;
    beside.show();
    window.keepBeside(&beside);
    window.tabBox()->setFocus();
    type(u"my tab"_s);

    dialogs.questionAnswers.push_back(Answer::Cancel);
    EXPECT_FALSE(window.close());
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text, u"Would you like to save before leaving?"_s);
    EXPECT_EQ(dialogs.questions[0].buttons, QuestionButtons::YesNoCancel);

    dialogs.questionAnswers.push_back(Answer::Yes);
    dialogs.saveAnswers.push_back(std::nullopt);
    EXPECT_FALSE(window.close());

    dialogs.questionAnswers.push_back(Answer::Yes);
    dialogs.saveAnswers.push_back(file(u"gone/tab.txt"_s));
    EXPECT_FALSE(window.close());
    EXPECT_EQ(dialogs.warnings.size(), 1u);

    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(beside.isVisible());
    EXPECT_EQ(tab(), u"my tab"_s);
    EXPECT_EQ(shownTitle(), u"Fretloom - (Untitled)"_s);
}

TEST_F(TabFilesWindowTest, YesWithASaveOrNoClosesTheWindowAndItsCompanions) {
    QWidget beside;
    beside.show();
    window.keepBeside(&beside);
    window.tabBox()->setExactText(u"my tab"_s);
    dialogs.questionAnswers.push_back(Answer::Yes);
    dialogs.saveAnswers.push_back(file(u"tab.txt"_s));
    EXPECT_TRUE(window.close());
    EXPECT_EQ(readBytes(file(u"tab.txt"_s)), QByteArray("my tab\r\n"));
    EXPECT_FALSE(beside.isVisible());

    showAndActivate(window);
    dialogs.questionAnswers.push_back(Answer::No);
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace fretloom
