#include "playback/MidiExport.h"

#include "documents/FileSystem.h"
#include "playback/Performance.h"
#include "support/Files.h"
#include "support/IndependentMidiReader.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

// A bar as Enter writes it, where a cell is a fret however high. Fret 63 on the top string is
// key 127, the highest there is; fret 64 would be past it.
QString enterLine(const QString& name, QStringList cells) {
    while (cells.size() < 16)
        cells << u"--"_s;
    return name + u"  |-"_s + cells.join(u'-') + u"-|\r\n"_s;
}
const QString kTab = enterLine(u"e"_s, {u"63"_s, u"64"_s}) + enterLine(u"B"_s, {u"1"_s}) +
                     enterLine(u"G"_s, {u"0"_s}) + enterLine(u"D"_s, {u"2"_s}) +
                     enterLine(u"A"_s, {u"3"_s}) + enterLine(u"E"_s, {u"--"_s});

class MidiExportTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(dialogs.allAnswersUsed()); }

    bool exportTo(const std::optional<QString>& answer, const QString& tabPath = {},
                  int beatsPerMinute = kDefaultBeatsPerMinute) {
        dialogs.saveAnswers.push_back(answer);
        return exportMidi(kTab, beatsPerMinute, tabPath, dialogs, disk);
    }

    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    DiskFileSystem disk;
};

TEST_F(MidiExportTest, WritesTheTabAtTheGivenTempoUpToTheHighestKey) {
    const QString path = folder.filePath(u"riff.mid"_s);
    ASSERT_TRUE(exportTo(path, {}, 140));
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].filter, u"MIDI Files (*.mid)"_s);
    EXPECT_EQ(dialogs.saveRequests[0].startPath, QString());
    // Sixteen cells of 120 ticks; a quarter of 480 ticks lasts 60 s / 140.
    EXPECT_EQ(
        readIndependently(readBytes(path)),
        (QStringList{u"format 0 division 480 tracks 1"_s, u"seconds 1.714284"_s, u"tempo 428571"_s,
                     u"program 0 25"_s, u"end 1920"_s, u"note 0 48 96 0 1920"_s,
                     u"note 0 52 96 0 1920"_s, u"note 0 55 96 0 1920"_s, u"note 0 60 96 0 1920"_s,
                     u"note 0 127 96 0 120"_s}));
    EXPECT_TRUE(dialogs.warnings.empty());

    // A name without an extension stays so, as with Save.
    ASSERT_TRUE(exportTo(folder.filePath(u"plain"_s)));
    EXPECT_EQ(entries(folder.path()), (QStringList{u"plain"_s, u"riff.mid"_s}));
}

TEST_F(MidiExportTest, TheDialogOpensBesideTheTabFileUnderItsName) {
    const std::pair<QString, QString> cases[] = {{u"/songs/riff.txt"_s, u"/songs/riff.mid"_s},
                                                 {u"/songs/RIFF.TXT"_s, u"/songs/RIFF.mid"_s},
                                                 {u"/songs/riff"_s, u"/songs/riff.mid"_s}};
    for (const auto& [tabPath, startPath] : cases) {
        EXPECT_FALSE(exportTo(std::nullopt, tabPath));
        EXPECT_EQ(dialogs.saveRequests.back().startPath, startPath);
    }
    EXPECT_TRUE(entries(folder.path()).isEmpty());
    EXPECT_TRUE(dialogs.warnings.empty());
}

TEST_F(MidiExportTest, AFailedWriteWarnsAndNamesTheFileAndTheReason) {
    const QString path = folder.filePath(u"missing/riff.mid"_s);
    EXPECT_FALSE(exportTo(path));
    ASSERT_EQ(dialogs.warnings.size(), 1u);
    EXPECT_EQ(dialogs.warnings[0].first, u"Export MIDI"_s);
    const QString& text = dialogs.warnings[0].second;
    EXPECT_TRUE(text.contains(u'"' + path + u'"')) << text.toStdString();
    EXPECT_TRUE(text.contains(u"does not exist"_s)) << text.toStdString();
    EXPECT_TRUE(entries(folder.path()).isEmpty());
}

}  // namespace
}  // namespace fretloom
