#include "documents/TabFiles.h"

#include "documents/FileSystem.h"
#include "support/Files.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

const QString kUntitled = QString::fromUtf16(kUntitledTitle);

// The main window as the flows see it, without a window.
class FakeView : public DocumentView {
public:
    QString tabText() const override { return text; }
    void setTabText(const QString& newText) override {
        text = newText;
        ++textSets;
    }
    QString title() const override { return shownTitle; }
    void setTitle(const QString& newTitle) override { shownTitle = newTitle; }

    QString text;
    QString shownTitle = kUntitled;
    int textSets = 0;
};

class TabFilesTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(dialogs.allAnswersUsed()); }

    QString file(const QString& name) const { return folder.filePath(name); }
    // Saves the view's text through the save dialog, as a fresh document would be.
    void saveAs(const QString& path) {
        dialogs.saveAnswers.push_back(path);
        files.save();
    }
    void expectNothingChanged(const QString& text, const QString& title, const QString& path) {
        EXPECT_EQ(view.text, text);
        EXPECT_EQ(view.shownTitle, title);
        EXPECT_EQ(files.currentPath(), path);
    }
    void expectOneWarning(const QString& title, const QString& path, const QString& reason) {
        ASSERT_EQ(dialogs.warnings.size(), 1u);
        EXPECT_EQ(dialogs.warnings[0].first, title);
        EXPECT_TRUE(dialogs.warnings[0].second.contains(u'"' + path + u'"'))
            << dialogs.warnings[0].second.toStdString();
        EXPECT_TRUE(dialogs.warnings[0].second.contains(reason))
            << dialogs.warnings[0].second.toStdString();
    }

    QTemporaryDir folder;
    FakeView view;
    ScriptedDialogs dialogs;
    DiskFileSystem disk;
    TabFiles files{view, dialogs, disk};
};

TEST_F(TabFilesTest, SaveWhileUntitledAsksForANameThenWritesTheTabAndOneCrLf) {
    view.text = u"e  |-0-|\r\n\r\n"_s;
    saveAs(file(u"riff.txt"_s));
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].filter, u"Text Tab Files (*.txt)"_s);
    EXPECT_EQ(dialogs.saveRequests[0].startPath, QString());
    EXPECT_EQ(readBytes(file(u"riff.txt"_s)), QByteArray("e  |-0-|\r\n\r\n\r\n"));
    EXPECT_EQ(files.currentPath(), file(u"riff.txt"_s));
    EXPECT_EQ(view.shownTitle, u"Fretloom - ("_s + file(u"riff.txt"_s) + u')');
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_TRUE(dialogs.warnings.empty());

    // Titled now: Save writes to the same file without a dialog.
    view.text += u"E  |-3-|"_s;
    files.save();
    EXPECT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(readBytes(file(u"riff.txt"_s)), QByteArray("e  |-0-|\r\n\r\nE  |-3-|\r\n"));
}

TEST_F(TabFilesTest, CharactersNoFileCanHoldAreSavedAsReplacementsAndTheUserIsTold) {
    // Lone halves of a surrogate pair; a whole pair is an ordinary character.
    view.text = u"a"_s + QChar(0xD800) + u"b"_s + QChar(0xDC00) + u"\U0001D11E"_s;
    saveAs(file(u"odd.txt"_s));
    EXPECT_EQ(readBytes(file(u"odd.txt"_s)), QString(u"a\uFFFDb\uFFFD\U0001D11E\r\n"_s).toUtf8());
    EXPECT_EQ(view.shownTitle, u"Fretloom - ("_s + file(u"odd.txt"_s) + u')');
    expectOneWarning(u"Save"_s, file(u"odd.txt"_s), u"2 of its characters were halves"_s);

    dialogs.warnings.clear();
    view.text = u"one "_s + QChar(0xDBFF);
    files.save();
    EXPECT_EQ(readBytes(file(u"odd.txt"_s)), QString(u"one \uFFFD\r\n"_s).toUtf8());
    expectOneWarning(u"Save"_s, file(u"odd.txt"_s), u"one of its characters was half"_s);

    view.text = u"\U0001D11E only whole pairs"_s;
    dialogs.warnings.clear();
    files.save();
    EXPECT_TRUE(dialogs.warnings.empty());
}

TEST_F(TabFilesTest, AFileWithAByteOrderMarkIsSavedBackInItsEncoding) {
    // "é", a G clef, and in UTF-16 a lone surrogate half, which UTF-16 holds as it is.
    const QByteArray files16[] = {QByteArray("\xEF\xBB\xBF\xC3\xA9\xF0\x9D\x84\x9E\r\n"),
                                  QByteArray("\xFF\xFE\xE9\0\x34\xD8\x1E\xDD\x00\xD8\r\0\n\0", 14),
                                  QByteArray("\xFE\xFF\0\xE9\xD8\x34\xDD\x1E\xD8\x00\0\r\0\n", 14)};
    view.text = u"mine"_s;  // so each Open asks first
    const QByteArray lineEnds[] = {"\r\n", QByteArray("\r\0\n\0", 4), QByteArray("\0\r\0\n", 4)};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(writeBytes(file(u"marked.txt"_s), files16[i]));
        dialogs.questionAnswers.push_back(Answer::No);
        dialogs.openAnswers.push_back(file(u"marked.txt"_s));
        files.open();
        EXPECT_TRUE(view.text.startsWith(u"\u00E9\U0001D11E"_s)) << i;
        files.save();
        EXPECT_EQ(readBytes(file(u"marked.txt"_s)), files16[i] + lineEnds[i]) << i;
    }
    EXPECT_TRUE(dialogs.warnings.empty());

    // One byte more than UTF-16 can hold: not opened, so that byte is not lost by a save.
    const QString title = view.shownTitle;
    ASSERT_TRUE(writeBytes(file(u"cut.txt"_s), QByteArray("\xFF\xFE"
                                                          "a\0b",
                                                          5)));
    dialogs.questionAnswers.push_back(Answer::No);
    dialogs.openAnswers.push_back(file(u"cut.txt"_s));
    files.open();
    expectNothingChanged(view.text, title, file(u"marked.txt"_s));
    expectOneWarning(u"Open"_s, file(u"cut.txt"_s), u"odd number of bytes"_s);
}

TEST_F(TabFilesTest, CancellingTheSaveDialogWritesNothingAndKeepsTheTitle) {
    view.text = u"tab"_s;
    dialogs.saveAnswers.push_back(std::nullopt);
    files.save();
    expectNothingChanged(u"tab"_s, kUntitled, QString());
    EXPECT_TRUE(entries(folder.path()).isEmpty());
    EXPECT_TRUE(dialogs.warnings.empty());
}

TEST_F(TabFilesTest, AnEmptyTabSavesAsTwoBytesAndANameWithoutExtensionStaysSo) {
    saveAs(file(u"no extension"_s));
    EXPECT_EQ(readBytes(file(u"no extension"_s)), QByteArray("\r\n"));
    EXPECT_EQ(entries(folder.path()), QStringList{u"no extension"_s});
    EXPECT_EQ(view.shownTitle, u"Fretloom - ("_s + file(u"no extension"_s) + u')');
}

TEST_F(TabFilesTest, OpenWithAnEmptyTabAsksNothingAndLoadsTheWholeFile) {
    const QByteArray bytes("e  |-0-|\r\nB  |-1-|\r\n\r\n\r\n");
    ASSERT_TRUE(writeBytes(file(u"song.txt"_s), bytes));
    dialogs.openAnswers.push_back(file(u"song.txt"_s));
    files.open();
    EXPECT_TRUE(dialogs.questions.empty());
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].filter, u"Text Tab Files (*.txt)"_s);
    EXPECT_EQ(dialogs.openRequests[0].startPath, QString());
    EXPECT_EQ(view.text, QString::fromLatin1(bytes));
    EXPECT_EQ(view.shownTitle, u"Fretloom - ("_s + file(u"song.txt"_s) + u')');
    EXPECT_EQ(files.currentPath(), file(u"song.txt"_s));

    // Both dialogs now start from the opened file.
    dialogs.openAnswers.push_back(std::nullopt);
    dialogs.questionAnswers.push_back(Answer::No);
    files.open();
    dialogs.saveAnswers.push_back(std::nullopt);
    EXPECT_FALSE(files.Saver());
    EXPECT_EQ(dialogs.openRequests[1].startPath, file(u"song.txt"_s));
    EXPECT_EQ(dialogs.saveRequests[0].startPath, file(u"song.txt"_s));
}

TEST_F(TabFilesTest, SaveRightAfterOpenWritesTheOpenedFileWithoutADialog) {
    ASSERT_TRUE(writeBytes(file(u"song.txt"_s), "line\r\n"));
    dialogs.openAnswers.push_back(file(u"song.txt"_s));
    files.open();
    files.save();
    EXPECT_TRUE(dialogs.saveRequests.empty());
    EXPECT_EQ(readBytes(file(u"song.txt"_s)), QByteArray("line\r\n\r\n"));
    EXPECT_EQ(view.shownTitle, u"Fretloom - ("_s + file(u"song.txt"_s) + u')');
}

TEST_F(TabFilesTest, EverySaveAndReopenAddsOneCrLf) {
    view.text = u"riff"_s;
    saveAs(file(u"riff.txt"_s));
    for (int round = 1; round <= 3; ++round) {
        dialogs.questionAnswers.push_back(Answer::No);
        dialogs.openAnswers.push_back(file(u"riff.txt"_s));
        files.open();
        files.save();
    }
    EXPECT_EQ(readBytes(file(u"riff.txt"_s)), QByteArray("riff\r\n\r\n\r\n\r\n"));
}

TEST_F(TabFilesTest, OpenAsksToSaveFirstAndNoLetsTheFileReplaceTheTab) {
    ASSERT_TRUE(writeBytes(file(u"song.txt"_s), "new"));
    view.text = u"old"_s;
    dialogs.questionAnswers.push_back(Answer::No);
    dialogs.openAnswers.push_back(file(u"song.txt"_s));
    files.open();
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].title, u"Save"_s);
    EXPECT_EQ(dialogs.questions[0].text, u"Would you like to save before opening a new file?"_s);
    EXPECT_EQ(dialogs.questions[0].buttons, QuestionButtons::YesNo);
    EXPECT_EQ(view.text, u"new"_s);
}

TEST_F(TabFilesTest, YesBeforeOpeningAlwaysShowsTheSaveDialogEvenWhenTitled) {
    ASSERT_TRUE(writeBytes(file(u"first.txt"_s), "first"));
    ASSERT_TRUE(writeBytes(file(u"second.txt"_s), "second"));
    dialogs.openAnswers.push_back(file(u"first.txt"_s));
    files.open();
    view.text = u"edited"_s;

    dialogs.questionAnswers.push_back(Answer::Yes);
    dialogs.saveAnswers.push_back(file(u"copy.txt"_s));
    dialogs.openAnswers.push_back(file(u"second.txt"_s));
    files.open();
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].startPath, file(u"first.txt"_s));
    EXPECT_EQ(readBytes(file(u"copy.txt"_s)), QByteArray("edited\r\n"));
    EXPECT_EQ(readBytes(file(u"first.txt"_s)), QByteArray("first"));
    EXPECT_EQ(view.text, u"second"_s);
    EXPECT_EQ(files.currentPath(), file(u"second.txt"_s));
}

TEST_F(TabFilesTest, YesBeforeOpeningKeepsTheTabWhenTheSaveDidNotHappen) {
    ASSERT_TRUE(writeBytes(file(u"song.txt"_s), "new"));
    view.text = u"unsaved"_s;
    // The save dialog cancelled: no open dialog, the tab stays.
    dialogs.questionAnswers.push_back(Answer::Yes);
    dialogs.saveAnswers.push_back(std::nullopt);
    files.open();
    EXPECT_TRUE(dialogs.openRequests.empty());
    expectNothingChanged(u"unsaved"_s, kUntitled, QString());

    // The save failed: a warning, and again the tab stays.
    dialogs.questionAnswers.push_back(Answer::Yes);
    dialogs.saveAnswers.push_back(file(u"gone/tab.txt"_s));
    files.open();
    EXPECT_TRUE(dialogs.openRequests.empty());
    expectNothingChanged(u"unsaved"_s, kUntitled, QString());
    expectOneWarning(u"Save"_s, file(u"gone/tab.txt"_s), u"does not exist"_s);
}

TEST_F(TabFilesTest, AFailedOpenWarnsAndChangesNothing) {
    ASSERT_TRUE(writeBytes(file(u"current.txt"_s), "current"));
    dialogs.openAnswers.push_back(file(u"current.txt"_s));
    files.open();
    const QString title = view.shownTitle;

    ASSERT_TRUE(QDir(folder.path()).mkdir(u"folder.txt"_s));
    ASSERT_EQ(::mkfifo(QFile::encodeName(file(u"pipe.txt"_s)).constData(), 0600), 0);
    ASSERT_TRUE(writeBytes(file(u"huge.txt"_s), {}));
    ASSERT_EQ(::truncate(QFile::encodeName(file(u"huge.txt"_s)).constData(), kMaxTabFileBytes + 1),
              0);
    struct Case {
        QString path;
        QString reason;
    };
    const Case cases[] = {{file(u"missing.txt"_s), u"No such file or directory."_s},
                          {file(u"folder.txt"_s), u"It is a folder, not a file."_s},
                          {file(u"pipe.txt"_s), u"It is a pipe (FIFO), not a regular file."_s},
                          {u"/dev/zero"_s, u"It is a device, not a regular file."_s},
                          {file(u"huge.txt"_s), u"larger than 64 MiB"_s}};
    for (const Case& c : cases) {
        dialogs.warnings.clear();
        dialogs.questionAnswers.push_back(Answer::No);
        dialogs.openAnswers.push_back(c.path);
        files.open();
        expectNothingChanged(u"current"_s, title, file(u"current.txt"_s));
        expectOneWarning(u"Open"_s, c.path, c.reason);
    }
    EXPECT_EQ(view.textSets, 1);

    // Save still writes to the file the title names.
    files.save();
    EXPECT_EQ(readBytes(file(u"current.txt"_s)), QByteArray("current\r\n"));
}

TEST_F(TabFilesTest, CancellingTheOpenDialogChangesNothing) {
    view.text = u"kept"_s;
    dialogs.questionAnswers.push_back(Answer::No);
    dialogs.openAnswers.push_back(std::nullopt);
    files.open();
    expectNothingChanged(u"kept"_s, kUntitled, QString());
    EXPECT_TRUE(dialogs.warnings.empty());
}

TEST_F(TabFilesTest, AFailedSaveWarnsAndKeepsPathAndTitle) {
    view.text = u"tab"_s;
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"folder.txt"_s));
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"vanishing"_s));
    ASSERT_TRUE(QDir(folder.path()).rmdir(u"vanishing"_s));  // after the dialog took it

    struct Case {
        QString path;
        QString reason;
    };
    const Case cases[] = {{file(u"vanishing/tab.txt"_s),
                           u"The folder \"%1\" does not exist."_s.arg(file(u"vanishing"_s))},
                          {file(u"folder.txt"_s), u"It is a folder, not a file."_s},
                          {QString(), u"No file name was given."_s}};
    for (const Case& c : cases) {
        dialogs.warnings.clear();
        dialogs.saveAnswers.push_back(c.path);
        EXPECT_FALSE(files.Saver());
        expectNothingChanged(u"tab"_s, kUntitled, QString());
        expectOneWarning(u"Save"_s, c.path, c.reason);
    }
    EXPECT_EQ(entries(folder.path()), QStringList{u"folder.txt"_s});
}

// A disk where writing a file in place failed half-way.
class HalfWrittenDisk : public DiskFileSystem {
public:
    WriteResult replaceFile(const QString&, QByteArrayView) override {
        return {false, u"Input/output error."_s, true};
    }
};

TEST_F(TabFilesTest, ASaveThatMayHaveDamagedTheFileSaysSoAndKeepsTheTab) {
    HalfWrittenDisk halfWritten;
    TabFiles failing(view, dialogs, halfWritten);
    view.text = u"tab"_s;
    dialogs.saveAnswers.push_back(file(u"riff.txt"_s));
    failing.save();
    expectNothingChanged(u"tab"_s, kUntitled, QString());
    expectOneWarning(u"Save"_s, file(u"riff.txt"_s), u"Input/output error."_s);
    EXPECT_TRUE(dialogs.warnings[0].second.contains(u"The file may be damaged. The tab is still in "
                                                    u"the window"_s));
}

TEST_F(TabFilesTest, InvalidUtf8OpensOneByteOneCharacterAndSavesBackAsItWas) {
    const QByteArray bytes("caf\xE9 \xC3\x28 \xF0\x9F\xFF \x81\x8D\x8F\x90\x9D\r\n");
    ASSERT_TRUE(writeBytes(file(u"latin.txt"_s), bytes));
    dialogs.openAnswers.push_back(file(u"latin.txt"_s));
    files.open();
    EXPECT_EQ(view.text,
              u"caf\u00E9 \u00C3( \u00F0\u0178\u00FF \u0081\u008D\u008F\u0090\u009D\r\n"_s);
    files.save();
    EXPECT_EQ(readBytes(file(u"latin.txt"_s)), bytes + "\r\n");
}

TEST_F(TabFilesTest, AUtf8FileOpensAsUtf8AndStaysUtf8) {
    const QByteArray bytes("caf\xC3\xA9 \xC2\xA0\r\n");
    ASSERT_TRUE(writeBytes(file(u"utf8.txt"_s), bytes));
    dialogs.openAnswers.push_back(file(u"utf8.txt"_s));
    files.open();
    EXPECT_EQ(view.text, u"caf\u00E9 \u00A0\r\n"_s);
    files.save();
    EXPECT_EQ(readBytes(file(u"utf8.txt"_s)), bytes + "\r\n");

    // A character Windows-1252 lacks makes a new document UTF-8 too.
    FakeView other;
    TabFiles otherFiles(other, dialogs, disk);
    other.text = u"A \u2192 B"_s;
    dialogs.saveAnswers.push_back(file(u"arrow.txt"_s));
    otherFiles.save();
    EXPECT_EQ(readBytes(file(u"arrow.txt"_s)), QByteArray("A \xE2\x86\x92 B\r\n"));
}

TEST_F(TabFilesTest, EveryByteComesBackThroughOpenAndSave) {
    // All 256 bytes; CR and LF as the CR LF pair a tab file has.
    QByteArray bytes;
    for (int b = 0; b <= 0xFF; ++b)
        if (b != '\r' && b != '\n')
            bytes += static_cast<char>(b);
    bytes += "\r\n";
    ASSERT_TRUE(writeBytes(file(u"bytes.txt"_s), bytes));
    dialogs.openAnswers.push_back(file(u"bytes.txt"_s));
    files.open();
    EXPECT_EQ(view.text.size(), 256);
    files.save();
    EXPECT_EQ(readBytes(file(u"bytes.txt"_s)), bytes + "\r\n");
}

TEST_F(TabFilesTest, OpenTurnsLoneLineEndsIntoCrLf) {
    ASSERT_TRUE(writeBytes(file(u"unix.txt"_s), "e  |-0-|\nB  |-1-|\rG\r\n"));
    dialogs.openAnswers.push_back(file(u"unix.txt"_s));
    files.open();
    EXPECT_EQ(view.text, u"e  |-0-|\r\nB  |-1-|\r\nG\r\n"_s);
}

TEST_F(TabFilesTest, LeavingWithAnEmptyTabAsksNothing) {
    EXPECT_TRUE(files.leaving());
    EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(TabFilesTest, LeavingAsksAndOnlyCancelOrASaveThatDidNotHappenKeepsTheWindow) {
    view.text = u"tab"_s;
    // Cancel: stay.
    dialogs.questionAnswers.push_back(Answer::Cancel);
    EXPECT_FALSE(files.leaving());
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].title, u"Save"_s);
    EXPECT_EQ(dialogs.questions[0].text, u"Would you like to save before leaving?"_s);
    EXPECT_EQ(dialogs.questions[0].buttons, QuestionButtons::YesNoCancel);

    // Yes, then the save dialog cancelled: stay, with the tab.
    dialogs.questionAnswers.push_back(Answer::Yes);
    dialogs.saveAnswers.push_back(std::nullopt);
    EXPECT_FALSE(files.leaving());

    // Yes, then the save fails: a warning, and stay.
    dialogs.questionAnswers.push_back(Answer::Yes);
    dialogs.saveAnswers.push_back(file(u"gone/tab.txt"_s));
    EXPECT_FALSE(files.leaving());
    expectOneWarning(u"Save"_s, file(u"gone/tab.txt"_s), u"does not exist"_s);
    expectNothingChanged(u"tab"_s, kUntitled, QString());

    // No: go without saving.
    dialogs.questionAnswers.push_back(Answer::No);
    EXPECT_TRUE(files.leaving());
    EXPECT_TRUE(entries(folder.path()).isEmpty());
}

TEST_F(TabFilesTest, LeavingAfterYesAlwaysShowsTheSaveDialogAndGoesOnceSaved) {
    view.text = u"tab"_s;
    saveAs(file(u"tab.txt"_s));
    // Even right after a save it asks, and the save goes through the dialog.
    dialogs.questionAnswers.push_back(Answer::Yes);
    dialogs.saveAnswers.push_back(file(u"other.txt"_s));
    EXPECT_TRUE(files.leaving());
    ASSERT_EQ(dialogs.saveRequests.size(), 2u);
    EXPECT_EQ(dialogs.saveRequests[1].startPath, file(u"tab.txt"_s));
    EXPECT_EQ(readBytes(file(u"other.txt"_s)), QByteArray("tab\r\n"));
}

// Saves a tab larger than the free room over an existing file, then checks what the user sees.
// Returns a bit for each fault, so it can run in a child process too.
int saveTooLargeATab(const QString& folder, const QString& reason) {
    FakeView view;
    ScriptedDialogs dialogs;
    DiskFileSystem disk;
    TabFiles files(view, dialogs, disk);
    const QString path = folder + u"/riff.txt"_s;
    view.text = u"old"_s;
    dialogs.saveAnswers.push_back(path);
    files.save();
    const QString title = view.shownTitle;

    view.text = QString(64 * 1024, u'-');
    files.save();
    int faults = 0;
    if (view.shownTitle != title || files.currentPath() != path)
        faults |= 1;
    if (dialogs.warnings.size() != 1 || dialogs.warnings[0].first != u"Save"_s ||
        !dialogs.warnings[0].second.contains(u'"' + path + u'"') ||
        !dialogs.warnings[0].second.contains(reason))
        faults |= 2;
    if (view.text.size() != 64 * 1024)
        faults |= 4;
    return faults;
}

void expectOldFileAlone(const QString& folder) {
    EXPECT_EQ(readBytes(folder + u"/riff.txt"_s), QByteArray("old\r\n"));
    EXPECT_EQ(entries(folder), QStringList{u"riff.txt"_s});
}

TEST(TabFilesOnAFullDisk, SavingOverAFileOnAFullTmpfsKeepsTheOldFileAndWarns) {
    SmallTmpfs disk16k;
    if (!disk16k.mounted())
        GTEST_SKIP() << "this process may not mount a tmpfs; the file size limit test stands in";
    EXPECT_EQ(saveTooLargeATab(disk16k.path(), u"No space left on device."_s), 0);
    expectOldFileAlone(disk16k.path());
}

TEST(TabFilesOnAFullDisk, SavingPastTheFileSizeLimitKeepsTheOldFileAndWarns) {
    QTemporaryDir folder;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileSizeLimit limit(4096);
        ::_exit(saveTooLargeATab(folder.path(), u"File too large."_s));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    expectOldFileAlone(folder.path());
}

}  // namespace
}  // namespace fretloom
