#include "documents/FileSystem.h"
#include "documents/TabFiles.h"
#include "support/Files.h"
#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"
#include "support/WorkedExample.h"
#include "ui/MainWindow.h"
#include "ui/QtDialogService.h"
#include "ui/TabBox.h"
#include "ui/WindowTitle.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
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

// Gives the file name box of Qt's file dialog the keyboard, as a user clicking it would.
QLineEdit* focusNameBox(QFileDialog* dialog) {
    // A dialog that stays up would block the test for ever: after 20 s, whatever is on top of
    // it is closed, and then the dialog itself.
    QPointer<QFileDialog> stillUp(dialog);
    QTimer::singleShot(20000, dialog, [stillUp] {
        if (!stillUp || !stillUp->isVisible())
            return;
        ADD_FAILURE() << "the file dialog did not take the name";
        auto* closer = new QTimer(stillUp);
        QObject::connect(closer, &QTimer::timeout, [stillUp] {
            QWidget* top = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QDialog*>(top); box && box != stillUp)
                box->reject();
            else if (stillUp)
                stillUp->reject();
        });
        closer->start(200);
    });
    auto* name = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
    if (!name) {
        ADD_FAILURE() << "the file dialog has no name box";
        return nullptr;
    }
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
    return name;
}

// Types a path into Qt's file dialog as a user would, any character of it, and presses Return.
void typeIntoFileDialog(QFileDialog* dialog, const QString& path) {
    QLineEdit* name = focusNameBox(dialog);
    if (!name) {
        dialog->reject();
        return;
    }
    QTest::keyClick(keyboardTarget(name), Qt::Key_A, Qt::ControlModifier);
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (path[i].unicode() < 0x80) {
            QTest::keyClick(keyboardTarget(name), path[i].toLatin1());
            continue;
        }
        // A character no key of the keyboard has, as an input method hands it over.
        QString character(path[i]);
        if (path[i].isHighSurrogate() && i + 1 < path.size())
            character += path[++i];
        QTest::sendKeyEvent(QTest::Click, keyboardTarget(name), Qt::Key_unknown, character,
                            Qt::NoModifier);
    }
    QTest::keyClick(keyboardTarget(name), Qt::Key_Return);
}

// Clicks the button of a message box; the box fails the test if it has no such button.
void clickButton(QMessageBox* box, QMessageBox::StandardButton which) {
    if (QAbstractButton* button = box->button(which)) {
        QTest::mouseClick(button, Qt::LeftButton);
    } else {
        ADD_FAILURE() << "no such button on " << box->text().toStdString();
        box->reject();
    }
}

// Clicks a file in the dialog's list, once the dialog has read its folder, and presses Return.
void clickFileInDialog(QFileDialog* dialog, const QString& path) {
    QAbstractItemView* view = nullptr;
    // The list and the detail view show the same folder; one of them is up.
    for (const QString& name : {u"listView"_s, u"treeView"_s})
        if (auto* candidate = dialog->findChild<QAbstractItemView*>(name);
            candidate && candidate->isVisible())
            view = candidate;
    auto* model = view ? qobject_cast<QFileSystemModel*>(view->model()) : nullptr;
    QModelIndex index;
    for (int wait = 0; wait < 200 && model; ++wait) {
        index = model->index(path);
        if (index.isValid() && view->visualRect(index).isValid())
            break;
        QTest::qWait(20);
    }
    if (!index.isValid()) {
        ADD_FAILURE() << "the dialog never listed " << path.toStdString();
        dialog->reject();
        return;
    }
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      view->visualRect(index).center());
    QTest::keyClick(view, Qt::Key_Return);
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

TEST(TabFilesThroughTheRealDialogs, TheSaveDialogAsksAgainForANameThatGivesNoOnePath) {
    QTemporaryDir folder;
    QTemporaryDir home;
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"~"_s));
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    QWidget owner;
    showAndActivate(owner);
    QtDialogService dialogs(&owner);
    const QString tooLong = QString(128, u'\u00E9');  // 256 bytes

    struct Attempt {
        QString typed;
        QString warning;
    };
    const std::vector<Attempt> attempts = {
        {folder.filePath(u"gone/riff.txt"_s),
         u"The folder \"%1\" does not exist."_s.arg(folder.filePath(u"gone"_s))},
        // A folder "~" here, and the home folder.
        {u"~/riff.txt"_s,
         u"\"~/riff.txt\" could be \"%1\" or \"%2\". Type the whole path of the "
         u"one you mean."_s.arg(folder.filePath(u"~/riff.txt"_s), home.filePath(u"riff.txt"_s))},
        {tooLong,
         u"The name \"%1\" is longer than the 255 bytes a file name can have in \"%2\"."_s.arg(
             tooLong, folder.path())},
        {u"riff"_s, QString()}};
    ModalWatch watch;
    QStringList warnings;
    std::function<void(std::size_t)> attempt = [&](std::size_t i) {
        watch.when<QFileDialog>([&, i](QFileDialog* dialog) {
            if (i + 1 < attempts.size()) {
                watch.when<QMessageBox>([&, i](QMessageBox* box) {
                    warnings << box->text();
                    attempt(i + 1);
                    QTest::keyClick(box, Qt::Key_Return);
                });
            }
            typeIntoFileDialog(dialog, attempts[i].typed);
        });
    };
    attempt(0);
    const std::optional<QString> chosen =
        dialogs.chooseFileToSave({u"Text Tab Files (*.txt)"_s, folder.filePath(u"start.txt"_s)});
    qputenv("HOME", oldHome);
    ASSERT_EQ(warnings.size(), qsizetype(attempts.size() - 1));
    for (std::size_t i = 0; i + 1 < attempts.size(); ++i)
        EXPECT_EQ(warnings[qsizetype(i)], attempts[i].warning);
    // The name is taken as typed, in the dialog's folder, with no extension added.
    EXPECT_EQ(chosen, std::optional<QString>(folder.filePath(u"riff"_s)));
}

// Files a dialog that read quotes, brackets or spaces in its own way would write instead.
const QStringList kDecoys = {u"riff"_s, u"quoted"_s, u" it's.txt"_s, u"my "_s, u"spaced"_s};

void writeDecoys(const QString& folder) {
    for (const QString& decoy : kDecoys)
        ASSERT_TRUE(writeBytes(folder + u'/' + decoy, "decoy"));
}

void expectDecoysAlone(const QString& folder) {
    for (const QString& decoy : kDecoys)
        EXPECT_EQ(readBytes(folder + u'/' + decoy), QByteArray("decoy")) << decoy.toStdString();
}

// After a dialog the offscreen platform has no window manager to hand the focus back.
void backToTheTabBox(MainWindow& window) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.tabBox()->setFocus();
}

TEST(TabFilesThroughTheRealDialogs, EveryNameTypedIntoTheSaveDialogIsTheFileWritten) {
    QTemporaryDir folder;
    writeDecoys(folder.path());
    // 127 two-byte characters and one more byte: the longest name a file may have here.
    const QString longest = QString(127, u'\u00E9') + u'x';
    ASSERT_EQ(QFile::encodeName(longest).size(), 255);
    const QStringList names = {u"plain.txt"_s,  u"my \"riff\" it's.txt"_s,
                               u"\"quoted\""_s, u"[*] riff [1].txt"_s,
                               u"  spaced  "_s, u"\u00E9t\u00E9 \u266B \U0001F3B8.txt"_s,
                               longest};
    MainWindow window;  // Qt's own dialogs
    showAndActivate(window);
    window.tabBox()->setExactText(u"tab"_s);
    ModalWatch watch;
    for (const QString& name : names) {
        const QString path = folder.filePath(name);
        watch.when<QFileDialog>([&](QFileDialog* dialog) { typeIntoFileDialog(dialog, path); });
        backToTheTabBox(window);
        press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(readBytes(path), QByteArray("tab\r\n")) << name.toStdString();
        EXPECT_EQ(window.title(), u"Fretloom - ("_s + path + u')');
    }
    expectDecoysAlone(folder.path());
    EXPECT_EQ(entries(folder.path()).size(), kDecoys.size() + names.size());
}

TEST(TabFilesThroughTheRealDialogs, AFileWithQuotesInItsNameOpensAndIsSavedBackAfterYes) {
    QTemporaryDir folder;
    writeDecoys(folder.path());
    const QString path = folder.filePath(u"my \"riff\" it's.txt"_s);
    ASSERT_TRUE(writeBytes(path, "old\r\n"));
    MainWindow window;
    showAndActivate(window);

    // Picked with the mouse in the open dialog.
    ModalWatch watch;
    watch.when<QFileDialog>([&](QFileDialog* dialog) {
        typeIntoFileDialog(dialog, folder.path());  // Return on a folder goes into it
        clickFileInDialog(dialog, path);
    });
    backToTheTabBox(window);
    press(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(window.tabBox()->exactText(), u"old\r\n"_s);
    ASSERT_EQ(window.title(), u"Fretloom - ("_s + path + u')');

    // Yes to the question: the save dialog holds the file's name, and Return keeps it.
    window.tabBox()->setExactText(u"edited"_s);
    QString prefilled;
    QString replaceQuestion;
    watch.when<QMessageBox>([&](QMessageBox* question) {
        watch.when<QFileDialog>([&](QFileDialog* dialog) {
            watch.when<QMessageBox>([&](QMessageBox* replace) {
                replaceQuestion = replace->text();
                watch.when<QFileDialog>([](QFileDialog* open) { open->reject(); });
                clickButton(replace, QMessageBox::Yes);
            });
            if (QLineEdit* name = focusNameBox(dialog)) {
                prefilled = name->text();
                QTest::keyClick(keyboardTarget(name), Qt::Key_Return);
            }
        });
        clickButton(question, QMessageBox::Yes);
    });
    backToTheTabBox(window);
    press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(prefilled, u"my \"riff\" it's.txt"_s);
    EXPECT_TRUE(replaceQuestion.startsWith(u"my \"riff\" it's.txt already exists."_s))
        << replaceQuestion.toStdString();
    EXPECT_EQ(readBytes(path), QByteArray("edited\r\n"));
    EXPECT_EQ(window.title(), u"Fretloom - ("_s + path + u')');
    expectDecoysAlone(folder.path());
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
