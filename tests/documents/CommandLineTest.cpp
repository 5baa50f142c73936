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

TEST(CommandLine, ExportNamesTheMidiFileTheTabAndTheTempo) {
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString here = QDir(scratch.path()).canonicalPath();
    const InFolder inside(here);
    struct Case {
        QStringList arguments;
        QString exportTo;
        QString file;
        int tempo;
    };
    const Case cases[] = {
        {{u"--export"_s, u"riff.mid"_s, u"riff.txt"_s},
         here + u"/riff.mid"_s,
         here + u"/riff.txt"_s,
         100},
        {{u"riff.txt"_s, u"--tempo"_s, u"300"_s, u"--export=/tmp/a.midi"_s},
         u"/tmp/a.midi"_s,
         here + u"/riff.txt"_s,
         300},
        {{u"--tempo=30"_s, u"--export"_s, u"out/../b.mid"_s, u"--"_s, u"-b.txt"_s},
         here + u"/b.mid"_s,
         here + u"/-b.txt"_s,
         30},
    };
    for (const Case& c : cases) {
        const CommandLine line = read(c.arguments);
        EXPECT_EQ(line.outcome, Outcome::Export) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(line.exportTo, c.exportTo);
        EXPECT_EQ(line.file, c.file);
        EXPECT_EQ(line.tempo, c.tempo);
    }
    const std::pair<QStringList, QString> misuses[] = {
        {{u"--export"_s, u"riff.mid"_s}, u"--export needs the tab FILE to read."_s},
        {{u"--tempo"_s, u"120"_s, u"riff.txt"_s}, u"--tempo goes with --export."_s},
        {{u"--export"_s, u"a.mid"_s, u"--tempo"_s, u"29"_s, u"a.txt"_s},
         u"The tempo must be a whole number from 30 to 300, not \"29\"."_s},
        {{u"--export"_s, u"a.mid"_s, u"--tempo"_s, u"fast"_s, u"a.txt"_s},
         u"The tempo must be a whole number from 30 to 300, not \"fast\"."_s},
        {{u"--export"_s}, u"Missing value after '--export'."_s},
    };
    for (const auto& [arguments, error] : misuses) {
        const CommandLine line = read(arguments);
        EXPECT_EQ(line.outcome, Outcome::Misuse) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(line.text.startsWith(error + u"\n\nUsage: "_s)) << line.text.toStdString();
        EXPECT_FALSE(line.mayBeQtOptions);
    }
    EXPECT_TRUE(read({u"-platform"_s, u"offscreen"_s}).mayBeQtOptions);
}

TEST(CommandLine, HelpAndVersionAreTextForStandardOutput) {
    for (const QStringList& arguments :
         {QStringList{u"--help"_s}, {u"-h"_s}, {u"song.txt"_s, u"--help"_s}, {u"-hv"_s}}) {
        const CommandLine line = read(arguments);
        EXPECT_EQ(line.outcome, Outcome::Help) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(line.text.startsWith(u"Usage: "_s));
        for (const QString& word :
             {u"[FILE]"_s, u"--help"_s, u"--version"_s, u"File > Open"_s, u"--export <OUT>"_s,
              u"--tempo <BPM>"_s, u"for tab in tabs/*.txt; do fretloom --export"_s})
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
