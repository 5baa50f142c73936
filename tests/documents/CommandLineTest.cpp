#include "documents/CommandLine.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using Outcome = CommandLine::Outcome;

CommandLine read(const QStringList& arguments) {
    return readCommandLine(QStringList{u"fretloom"_s} + arguments);
}

// Makes a folder the current one while alive.
class InFolder {
public:
    explicit InFolder(const QString& folder) { QDir::setCurrent(folder); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;
    ~InFolder() { QDir::setCurrent(old_); }

private:
    QString old_ = QDir::currentPath();
};

TEST(CommandLine, StartsWithNoFileOrOneMadeAbsoluteAsTheFileDialogNamesIt) {
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    ASSERT_TRUE(QDir(scratch.path()).mkpath(u"my \"best\" tabs"_s));
    const QString here = QDir(scratch.path()).canonicalPath() + u"/my \"best\" tabs"_s;
    const InFolder inside(here);

    const CommandLine none = read({});
    EXPECT_EQ(none.outcome, Outcome::Start);
    EXPECT_FALSE(none.file.has_value());

    const std::pair<QStringList, QString> cases[] = {
        {{u"it's a tab.txt"_s}, here + u"/it's a tab.txt"_s},
        {{u"./sub/../riff.txt"_s}, here + u"/riff.txt"_s},
        {{u"/tmp//a b/./c.txt"_s}, u"/tmp/a b/c.txt"_s},
        // After "--" a name may start with a dash.
        {{u"--"_s, u"-solo.txt"_s}, here + u"/-solo.txt"_s},
        // An empty name stays as given, for Open's warning to show.
        {{u""_s}, u""_s},
    };
    for (const auto& [arguments, file] : cases) {
        const CommandLine line = read(arguments);
        EXPECT_EQ(line.outcome, Outcome::Start) << arguments.join(u' ').toStdString();
        EXPECT_EQ(line.file, file) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(line.text.isEmpty());
    }
}

TEST(CommandLine, HelpAndVersionAreTextForStandardOutput) {
    for (const QStringList& arguments :
         {QStringList{u"--help"_s}, {u"-h"_s}, {u"song.txt"_s, u"--help"_s}, {u"-hv"_s}}) {
        const CommandLine line = read(arguments);
        EXPECT_EQ(line.outcome, Outcome::Help) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(line.text.startsWith(u"Usage: "_s));
        for (const QString& word : {u"[FILE]"_s, u"--help"_s, u"--version"_s, u"File > Open"_s})
            EXPECT_TRUE(line.text.contains(word)) << word.toStdString();
        EXPECT_FALSE(line.file.has_value());
    }
    for (const QStringList& arguments : {QStringList{u"--version"_s}, {u"-v"_s, u"song.txt"_s}}) {
        const CommandLine line = read(arguments);
        EXPECT_EQ(line.outcome, Outcome::Version);
        EXPECT_TRUE(
            QRegularExpression(u"^Fretloom \\d+\\.\\d+\\.\\d+\\n$"_s).match(line.text).hasMatch())
            << line.text.toStdString();
    }
}

TEST(CommandLine, AnythingElseIsMisuseExplainedAndFollowedByTheUsage) {
    const QString usage = read({u"--help"_s}).text;
    const std::pair<QStringList, QString> cases[] = {
        {{u"--bogus"_s}, u"Unknown option 'bogus'."_s},
        {{u"-x"_s, u"song.txt"_s}, u"Unknown option 'x'."_s},
        {{u"--version=2"_s}, u"Unexpected value after '--version'."_s},
        {{u"a.txt"_s, u"b.txt"_s}, u"Too many arguments: give one FILE at most."_s},
    };
    for (const auto& [arguments, error] : cases) {
        const CommandLine line = read(arguments);
        EXPECT_EQ(line.outcome, Outcome::Misuse) << arguments.join(u' ').toStdString();
        EXPECT_EQ(line.text, error + u"\n\n"_s + usage);
        EXPECT_FALSE(line.file.has_value());
    }
}

}  // namespace
}  // namespace fretloom
