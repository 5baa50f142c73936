#include "playback/CommandLineExport.h"

#include "documents/CommandLine.h"
#include "documents/FileSystem.h"
#include "support/Files.h"

#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

class CommandLineExport : public ::testing::Test {
protected:
    CommandLine exporting(const QString& out, const QString& file, int tempo = 100) {
        CommandLine line;
        line.outcome = CommandLine::Outcome::Export;
        line.exportTo = folder.filePath(out);
        line.file = folder.filePath(file);
        line.tempo = tempo;
        return line;
    }

    QTemporaryDir folder;
    DiskFileSystem disk;
};

TEST_F(CommandLineExport, ReadsTheTabAsOpenDoesAndWritesItsMidiFileAtTheTempo) {
    // UTF-16 behind its byte-order mark, as Open reads it: one E string at fret 0.
    const QString tab = u"e|0-\r\nB|--\r\nG|--\r\nD|--\r\nA|--\r\nE|--\r\n"_s;
    QByteArray utf16("\xFF\xFE", 2);
    utf16.append(reinterpret_cast<const char*>(tab.utf16()), tab.size() * 2);
    ASSERT_TRUE(writeBytes(folder.filePath(u"riff.txt"_s), utf16));

    EXPECT_EQ(exportTabFile(exporting(u"riff.MIDI"_s, u"riff.txt"_s, 150), disk), std::nullopt);
    const QByteArray midi = readBytes(folder.filePath(u"riff.MIDI"_s));
    EXPECT_TRUE(midi.startsWith("MThd"));
    // 400,000 microseconds a quarter, and key 64 struck.
    EXPECT_TRUE(midi.contains(QByteArray("\xFF\x51\x03\x06\x1A\x80", 6)));
    EXPECT_TRUE(midi.contains(QByteArray("\x90\x40\x60", 3)));
}

TEST_F(CommandLineExport, AFailureNamesTheFileAndTheReasonAndLeavesOutAsItWas) {
    ASSERT_TRUE(writeBytes(folder.filePath(u"old.mid"_s), "old"));
    ASSERT_TRUE(writeBytes(folder.filePath(u"odd.txt"_s), QByteArray("\xFF\xFE\x41", 3)));
    ASSERT_TRUE(writeBytes(folder.filePath(u"riff.txt"_s), "e|0-\r\n"));
    struct Case {
        CommandLine line;
        QString named;
        QString reason;
    };
    const Case cases[] = {
        {exporting(u"old.mid"_s, u"missing.txt"_s), u"missing.txt"_s, u"No such file"_s},
        {exporting(u"old.mid"_s, u"odd.txt"_s), u"odd.txt"_s, u"odd number"_s},
        {exporting(u"old.mid"_s, u""_s), folder.path(), u"folder"_s},
        {exporting(u"riff.wav"_s, u"riff.txt"_s), u"riff.wav"_s, u".mid and .midi"_s},
        {exporting(u"none/riff.mid"_s, u"riff.txt"_s), u"none/riff.mid"_s, u"does not exist"_s},
    };
    for (const Case& c : cases) {
        const std::optional<QString> problem = exportTabFile(c.line, disk);
        ASSERT_TRUE(problem.has_value()) << c.named.toStdString();
        EXPECT_TRUE(problem->contains(c.named)) << problem->toStdString();
        EXPECT_TRUE(problem->contains(c.reason)) << problem->toStdString();
        EXPECT_FALSE(problem->contains(u'\n')) << problem->toStdString();
    }
    EXPECT_EQ(readBytes(folder.filePath(u"old.mid"_s)), "old");
    EXPECT_EQ(entries(folder.path()), (QStringList{u"odd.txt"_s, u"old.mid"_s, u"riff.txt"_s}));
}

}  // namespace
}  // namespace fretloom
