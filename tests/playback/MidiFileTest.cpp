#include "playback/Performance.h"
#include "support/IndependentMidiReader.h"

#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

// A guitar staff, then a bass staff, typed by hand: six and three characters, two and one
// sixteenths. On the guitar the B string's fret 5 sounds the key the top string already holds.
const QString kTab = u"e|0-----|\r\n"
                     u"B|---5--|\r\n"
                     u"G|0-----|\r\n"
                     u"D|------|\r\n"
                     u"A|------|\r\n"
                     u"E|3--x--|\r\n"
                     u"\r\n"
                     u"G|---\r\n"
                     u"D|---\r\n"
                     u"A|2--\r\n"
                     u"E|0--\r\n"_s;

TEST(MidiFile, AnIndependentReaderFindsTheTempoInstrumentsAndNotes) {
    const Performance performance = performTab(kTab, 120);
    EXPECT_TRUE(performance.hasNotes);
    EXPECT_EQ(performance.endTick, 360);
    EXPECT_EQ(readIndependently(performance.midiFile),
              (QStringList{
                  u"format 0 division 480 tracks 1"_s,
                  u"seconds 0.375"_s,  // 360 ticks at 500 ms a quarter
                  u"tempo 500000"_s,
                  u"program 0 25"_s,  // steel-string guitar
                  u"program 1 33"_s,  // finger bass
                  u"end 360"_s,
                  u"note 0 43 96 0 120"_s,
                  u"note 0 55 96 0 240"_s,
                  u"note 0 64 96 0 120"_s,    // cut short where the B string takes the key over
                  u"note 0 40 64 120 180"_s,  // muted: short and soft
                  u"note 0 64 96 120 240"_s,
                  u"note 1 28 96 240 360"_s,
                  u"note 1 35 96 240 360"_s,
              }));
}

TEST(MidiFile, PlayingStartsAtTheStaffOfTheCaretOrTheNextOne) {
    const qsizetype bassStart = kTab.indexOf(u"G|---"_s);
    struct Case {
        qsizetype caret;
        qint64 endTick;
        std::size_t cues;
    };
    const Case cases[] = {
        {0, 360, 2},              // in the guitar staff
        {bassStart - 4, 360, 2},  // at the very end of its last line
        {bassStart - 2, 120, 1},  // on the empty line between: the next staff
        {bassStart + 3, 120, 1},  // in the bass staff
        {kTab.size(), 360, 2},    // after the last staff: from the first
    };
    for (const Case& c : cases) {
        const Performance performance = performTabFrom(kTab, c.caret, kDefaultBeatsPerMinute);
        EXPECT_EQ(performance.endTick, c.endTick) << c.caret;
        ASSERT_EQ(performance.cues.size(), c.cues) << c.caret;
        EXPECT_EQ(performance.cues.front().tick, 0);
        const TextSpan bottom = performance.cues.back().spans.back();
        EXPECT_EQ(kTab.sliced(bottom.start, bottom.length), u"E|0--"_s) << c.caret;
    }
    EXPECT_EQ(performTab(kTab, 120).cues[1].tick, 240);

    const Performance silence = performTab(u"Just words\r\n"_s, kDefaultBeatsPerMinute);
    EXPECT_FALSE(silence.hasNotes);
    EXPECT_TRUE(silence.cues.empty());
    EXPECT_EQ(readIndependently(silence.midiFile).mid(2, 2),
              (QStringList{u"tempo 600000"_s, u"end 0"_s}));
}

TEST(MidiFile, TheFileHoldsEveryPassOfARepeat) {
    // Three characters on a bass, then a repeat of three played three times: 120 ticks each.
    const QString tab = u"G|0--|:--3:|x3\r\nD|---|:---:|\r\nA|---|:---:|\r\nE|---|:---:|\r\n"_s;
    EXPECT_EQ(readIndependently(performTab(tab, 120).midiFile).mid(3),
              (QStringList{u"program 1 33"_s, u"end 480"_s, u"note 1 43 96 0 200"_s,
                           u"note 1 46 96 200 240"_s, u"note 1 46 96 320 360"_s,
                           u"note 1 46 96 440 480"_s}));
}

}  // namespace
}  // namespace fretloom
