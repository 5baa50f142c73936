#include "ui/StartUp.h"

#include "documents/CommandLine.h"
#include "documents/TabFiles.h"
#include "support/Files.h"
#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"
#include "ui/MainWindow.h"
#include "ui/MenuBarIconWhenDrawn.h"
#include "ui/TabBox.h"

#include <QDir>
#include <QMenuBar>
#include <QProxyStyle>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWindow>
#include <sys/stat.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

// The program started as `fretloom ARGUMENTS...`, its window built with scripted dialogs.
struct Started {
    explicit Started(const QStringList& arguments) {
        const CommandLine line = readCommandLine(QStringList{u"fretloom"_s} + arguments);
        EXPECT_EQ(line.outcome, CommandLine::Outcome::Start);
        showAtStart(window, line.file);
    }
    ScriptedDialogs dialogs;
    MainWindow window{&dialogs};
};

// A window whose user chose `path` through File > Open.
struct OpenedThroughTheMenu {
    explicit OpenedThroughTheMenu(const QString& path) {
        showAndActivate(window);
        dialogs.openAnswers.push_back(path);
        press(Qt::Key_O, Qt::ControlModifier);
    }
    ScriptedDialogs dialogs;
    MainWindow window{&dialogs};
};

QString shownTitle(MainWindow& window) {
    return window.windowHandle()->title();
}

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.isValid());
        // Quotes and spaces in the folder and the name, as a file manager passes them on.
        folder = QDir(scratch.path()).canonicalPath() + u"/my \"best\" tabs"_s;
        ASSERT_TRUE(QDir().mkpath(folder));
    }
    QString file(const QString& name) const { return folder + u'/' + name; }

    QTemporaryDir scratch;
    QString folder;
};

TEST_F(StartUpTest, WithoutAFileTheWindowStartsEmptyAndUntitled) {
    Started started({});
    EXPECT_TRUE(started.window.isVisible());
    EXPECT_EQ(shownTitle(started.window), u"Fretloom - (Untitled)"_s);
    EXPECT_TRUE(started.window.tabBox()->exactText().isEmpty());
    EXPECT_TRUE(started.dialogs.warnings.empty());
}

TEST_F(StartUpTest, StartingLoadsNoImagePluginAndTheOverflowButtonStillGetsItsIcon) {
    const auto imagePluginsLoaded = [] {
        QFile maps(u"/proc/self/maps"_s);
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
    };
    // CTest runs each test in a process of its own; a run of the whole suite by hand has read
    // images before this test.
    if (imagePluginsLoaded())
        GTEST_SKIP() << "an earlier test in this process read an image; run this one on its own";
    readMenuBarIconWhenDrawn();
    Started started({});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&started.window));
    EXPECT_FALSE(imagePluginsLoaded());

    const auto* style = qobject_cast<QProxyStyle*>(QApplication::style());
    ASSERT_NE(style, nullptr);
    const QImage expected = style->baseStyle()
                                ->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton)
                                .pixmap(16)
                                .toImage();
    const auto* overflow =
        started.window.menuBar()->findChild<QToolButton*>(u"qt_menubar_ext_button"_s);
    ASSERT_NE(overflow, nullptr);
    ASSERT_FALSE(expected.isNull());
    EXPECT_EQ(overflow->icon().pixmap(16).toImage(), expected);
}

TEST_F(StartUpTest, TheFileNamedOpensAsFileOpenOpensItAndSavesBackTheSameWay) {
    // UTF-8 that is not ASCII, with a lone LF: the encoding and the line ends both matter.
    const QByteArray bytes = "e  |-0-|\n\xC3\xA9t\xC3\xA9 \xE2\x99\xAB\r\n";
    const QString path = file(u"it's \"the\" riff.txt"_s);
    ASSERT_TRUE(writeBytes(path, bytes));

    OpenedThroughTheMenu opened(path);
    QByteArray savedAfterStart;
    {
        // A name relative to the folder the program starts in.
        const QString old = QDir::currentPath();
        QDir::setCurrent(folder);
        Started started({u"it's \"the\" riff.txt"_s});
        QDir::setCurrent(old);

        EXPECT_TRUE(started.window.isVisible());
        EXPECT_TRUE(started.dialogs.warnings.empty());
        EXPECT_EQ(started.window.tabBox()->exactText(), opened.window.tabBox()->exactText());
        EXPECT_EQ(shownTitle(started.window), shownTitle(opened.window));
        EXPECT_EQ(shownTitle(started.window), u"Fretloom - ("_s + path + u')');

        // Save keeps the encoding the file was read in, as after Open.
        started.window.tabFiles().save();
        savedAfterStart = readBytes(path);
    }
    ASSERT_TRUE(writeBytes(path, bytes));
    opened.window.tabFiles().save();
    EXPECT_EQ(savedAfterStart, readBytes(path));
    EXPECT_TRUE(savedAfterStart.contains("\xC3\xA9t\xC3\xA9 \xE2\x99\xAB"));
}

TEST_F(StartUpTest, AFileThatCannotBeReadGetsOpensWarningThenTheEmptyEditor) {
    const QString pipe = file(u"a \"pipe\".txt"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString huge = file(u"huge tab.txt"_s);
    {
        // Sparse, so it takes no disk: over the 64 MiB that Open takes.
        QFile sparse(huge);
        ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.resize(qint64(65) << 20));
    }
    for (const QString& path : {file(u"missing 'tab'.txt"_s), folder, pipe, huge, QString()}) {
        OpenedThroughTheMenu opened(path);
        ASSERT_EQ(opened.dialogs.warnings.size(), 1u) << path.toStdString();

        Started started({path});
        EXPECT_EQ(started.dialogs.warnings, opened.dialogs.warnings) << path.toStdString();
        EXPECT_TRUE(started.window.isVisible());
        EXPECT_EQ(shownTitle(started.window), u"Fretloom - (Untitled)"_s);
        EXPECT_TRUE(started.window.tabBox()->exactText().isEmpty());
    }
}

}  // namespace
}  // namespace fretloom
