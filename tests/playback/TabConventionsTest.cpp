// The conventions of tab as people write it by hand, one table per convention.

#include "playback/Performance.h"
#include "playback/TabReading.h"
#include "support/RandomText.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;

constexpr qint64 C = 40;  // ticks of a character of a hand-typed staff

// What a test says of a note: its string, its fret (-1 for a muted one) and the column it
// sounds at, counted in characters that take time from the start of its staff.
struct Note {
    int string;
    int fret;
    qint64 column;
    bool operator==(const Note&) const = default;
};

void PrintTo(const Note& n, std::ostream* out) {
    *out << "{string " << n.string << ", fret " << n.fret << ", column " << n.column << "}";
}

// The notes of one staff, each checked to point at its own fret (or x) in the text.
std::vector<Note> notesOf(const TabReading& reading, QStringView text, int staff = 0) {
    std::vector<Note> notes;
    for (const TabNote& note : reading.notes) {
        if (note.staff != staff)
            continue;
        const QString source = text.sliced(note.source.start, note.source.length).toString();
        EXPECT_EQ(source, note.muted ? u"x"_s : QString::number(note.fret));
        notes.push_back({note.string, note.muted ? -1 : note.fret,
                         (note.start - reading.staves[staff].start) / C});
    }
    return notes;
}

std::string spelled(const QString& text) {
    return fretloom::testing::spelled(text);
}

TEST(TabConventions, AStaffLineMayHaveANameABarOrNeither) {
    struct Case {
        QString text;
        std::vector<Note> notes;
    };
    const Case cases[] = {
        // No bar after the name.
        {u"e---15---13-\nB-----------\nG---0-------\nD-----------\n"_s,
         {{0, 15, 3}, {0, 13, 8}, {2, 0, 3}}},
        // Spaces after the name.
        {u"G -------\nD -7-9-10-\nA -------\nE -0-2-3-\n"_s,
         {{1, 7, 1}, {1, 9, 3}, {1, 10, 5}, {3, 0, 1}, {3, 2, 3}, {3, 3, 5}}},
        // No names at all, with and without bars.
        {u"-----\n--1--\n-----\n--2--\n-----\n-----\n"_s, {{1, 1, 2}, {3, 2, 2}}},
        {u"|-----|\n|--1--|\n|-----|\n|--2--|\n"_s, {{1, 1, 2}, {3, 2, 2}}},
        // A colon after the name; en and em dashes from a word processor.
        {u"e :--3--\nB :-----\nG :-----\nD :--2--\n"_s, {{0, 3, 2}, {3, 2, 2}}},
        {u"G|\u2013\u20143\u2013\nD|\u2014\u2013\u2013\u2013\nA|\u2013\u2013\u20132\n"
         u"E|\u2013\u2013\u2013\u2013\n"_s,
         {{0, 3, 2}, {2, 2, 3}}},
    };
    for (const Case& c : cases) {
        const TabReading reading = readTab(c.text);
        ASSERT_EQ(reading.staves.size(), 1u) << spelled(c.text);
        EXPECT_EQ(notesOf(reading, c.text), c.notes) << spelled(c.text);
    }
}

TEST(TabConventions, ProseChordNamesHeadingsAndRulesAreNeverStaffLines) {
    const QString staff = u"G|--3--|\nD|-----|\nA|-----|\nE|--0--|\n"_s;
    const QString lines[] = {
        u"a tri-umph of the will"_s,
        u"well-known riff -- play it slowly"_s,
        u"-- play it slowly"_s,
        u"Dm  F  Bb  C"_s,
        u"C - G - Am - F"_s,
        u"[Verse]"_s,
        u"- Intro -"_s,
        u"--- Solo ---"_s,
        u"=================="_s,
        u"__________________"_s,
    };
    for (const QString& line : lines) {
        // Not a staff of their own, nor a string of the staff they stand beside.
        EXPECT_TRUE(readTab(QString(line + u'\n').repeated(5)).staves.empty()) << spelled(line);
        const QString text = line + u'\n' + staff + line + u'\n';
        const TabReading reading = readTab(text);
        ASSERT_EQ(reading.staves.size(), 1u) << spelled(line);
        ASSERT_EQ(reading.staves[0].lines.size(), 4u) << spelled(line);
        EXPECT_EQ(reading.staves[0].lines[0].start, line.size() + 1) << spelled(line);
    }
    // A rule of dashes is a string only among lines without names.
    const QString ruled = u"-------\n"_s + staff + u"-------\n"_s;
    ASSERT_EQ(readTab(ruled).staves.size(), 1u);
    EXPECT_EQ(readTab(ruled).staves[0].lines.size(), 4u);
}

TEST(TabConventions, TuningAndCapoLinesTuneTheStavesBelowThem) {
    struct Case {
        QString above;
        int lines;
        std::vector<int> openKeys;
        int capo;
    };
    const std::vector<int> standard = {64, 59, 55, 50, 45, 40};
    const std::vector<int> dropD = {64, 59, 55, 50, 45, 38};
    const std::vector<int> halfDown = {63, 58, 54, 49, 44, 39};
    const Case cases[] = {
        {u""_s, 6, standard, 0},
        {u"Tuning: D A D G B E (drop D)"_s, 6, dropD, 0},
        {u"Tuning: Drop D"_s, 6, dropD, 0},
        {u"DADGAD"_s, 6, {62, 57, 55, 50, 45, 38}, 0},
        {u"Tuning: Eb Ab Db Gb Bb Eb"_s, 6, halfDown, 0},
        {u"tuning - half step down"_s, 6, halfDown, 0},
        {u"Tuning: Open G (D G D G B D)"_s, 6, {62, 59, 55, 50, 43, 38}, 0},
        {u"Tuning: Drop D"_s, 4, {43, 38, 33, 26}, 0},
        {u"Tuning: B E A D G"_s, 5, {43, 38, 33, 28, 23}, 0},
        // Six notes do not tune four strings.
        {u"Tuning: D A D G B E"_s, 4, {43, 38, 33, 28}, 0},
        {u"Capo 3"_s, 6, standard, 3},
        {u"Capo: 2nd fret"_s, 6, standard, 2},
        {u"capo on 5"_s, 6, standard, 5},
        {u"Capo 3\nTuning: Drop D\nSome words"_s, 6, dropD, 3},
    };
    for (const Case& c : cases) {
        const QString text = c.above + u"\n\n"_s + QString(u"--0--\n"_s).repeated(c.lines);
        const TabReading reading = readTab(text);
        ASSERT_EQ(reading.staves.size(), 1u) << spelled(text);
        EXPECT_EQ(reading.staves[0].openKeys, c.openKeys) << spelled(text);
        EXPECT_EQ(reading.staves[0].capo, c.capo) << spelled(text);
        EXPECT_EQ(reading.notes.front().key, c.openKeys.front() + c.capo) << spelled(text);
    }

    // Named strings keep their names; both lines hold until the next one of their kind.
    const QString named = u"e|-0-\nB|---\nG|---\nD|---\nA|---\nE|---\n\n"_s;
    const QString unnamed = u"-0-\n---\n---\n---\n---\n---\n\n"_s;
    const QString text = u"Tuning: Drop D\nCapo 2\n"_s + named + unnamed + u"Capo 0\n"_s + unnamed;
    const TabReading reading = readTab(text);
    ASSERT_EQ(reading.staves.size(), 3u);
    EXPECT_EQ(reading.staves[0].openKeys, standard);
    EXPECT_EQ(reading.staves[1].openKeys, dropD);
    EXPECT_EQ(reading.staves[2].openKeys, dropD);
    EXPECT_EQ(reading.staves[0].capo, 2);
    EXPECT_EQ(reading.staves[1].capo, 2);
    EXPECT_EQ(reading.staves[2].capo, 0);
    EXPECT_EQ(reading.notes[0].key, 66);
}

TEST(TabConventions, DigitsAreOneFretOnlyWhenAGuitarHasThatFret) {
    struct Case {
        QString top;  // the top line of a four-line staff
        std::vector<Note> notes;
    };
    const Case cases[] = {
        {u"G|---222---0---"_s, {{0, 2, 3}, {0, 2, 4}, {0, 2, 5}, {0, 0, 9}}},
        {u"G|-77------"_s, {{0, 7, 1}, {0, 7, 2}}},
        {u"G|-99-00-"_s, {{0, 9, 1}, {0, 9, 2}, {0, 0, 4}, {0, 0, 5}}},
        {u"G|-9777-"_s, {{0, 9, 1}, {0, 7, 2}, {0, 7, 3}, {0, 7, 4}}},
        {u"G|-10-24-25-"_s, {{0, 10, 1}, {0, 24, 4}, {0, 2, 7}, {0, 5, 8}}},
        {u"G|-1012-x-"_s, {{0, 1, 1}, {0, 0, 2}, {0, 1, 3}, {0, 2, 4}, {0, -1, 6}}},
    };
    for (const Case& c : cases) {
        const QString text = c.top + u"\nD|---\nA|---\nE|---\n"_s;
        const TabReading reading = readTab(text);
        ASSERT_EQ(reading.staves.size(), 1u) << spelled(text);
        EXPECT_EQ(notesOf(reading, text), c.notes) << spelled(text);
    }
}

TEST(TabConventions, APairIsTwoNotesWhereAnotherStringShowsItSqueezedAndChordsOverlap) {
    struct Case {
        QString text;
        std::vector<Note> notes;
    };
    const Case cases[] = {
        // A C chord struck twice, squeezed: 00 is no fret, so 11, 22 and 33 are no frets either.
        {u"e|-00-|\nB|-11-|\nG|-00-|\nD|-22-|\nA|-33-|\nE|----|\n"_s,
         {{0, 0, 1},
          {0, 0, 2},
          {1, 1, 1},
          {1, 1, 2},
          {2, 0, 1},
          {2, 0, 2},
          {3, 2, 1},
          {3, 2, 2},
          {4, 3, 1},
          {4, 3, 2}}},
        // Nothing beside it: fret 11.
        {u"e|-11-|\nB|----|\nG|----|\nD|----|\n"_s, {{0, 11, 1}}},
        {u"e|-12-|\nB|-05-|\nG|----|\nD|----|\n"_s, {{0, 1, 1}, {0, 2, 2}, {1, 0, 1}, {1, 5, 2}}},
        // A fret of two digits sounds with the notes under either of its digits.
        {u"G|--10--\nD|------\nA|---8--\nE|------\n"_s, {{0, 10, 2}, {2, 8, 2}}},
        {u"e|-12--|\nB|--00-|\nG|-----|\nD|-----|\n"_s, {{0, 12, 1}, {1, 0, 1}, {1, 0, 3}}},
        // Overlapping frets make one chord; a second note of a line in it keeps its own column.
        {u"e|-10------\nB|--12-----\nG|---3-----\nD|-5-7-----\n"_s,
         {{0, 10, 1}, {1, 12, 1}, {2, 3, 1}, {3, 5, 1}, {3, 7, 3}}},
    };
    for (const Case& c : cases) {
        const TabReading reading = readTab(c.text);
        ASSERT_EQ(reading.staves.size(), 1u) << spelled(c.text);
        EXPECT_EQ(notesOf(reading, c.text), c.notes) << spelled(c.text);
    }
}

TEST(TabConventions, RemarksBesideALineAreNotMusic) {
    struct Case {
        QString top;
        std::vector<Note> notes;
        QString remark;
    };
    const Case cases[] = {
        {u"B|--3---3---   x2"_s, {{0, 3, 2}, {0, 3, 6}}, u"x2"_s},
        {u"D|------ (let ring)"_s, {}, u"(let ring)"_s},
        {u"e|--0--| <- slide"_s, {{0, 0, 2}}, u"<- slide"_s},
        {u"G|--5--|x2"_s, {{0, 5, 2}}, u"x2"_s},
        {u"A|--7--|(x3)"_s, {{0, 7, 2}}, u"(x3)"_s},
        {u"e|-x-5-|  X5"_s, {{0, -1, 1}, {0, 5, 3}}, u"X5"_s},
    };
    for (const Case& c : cases) {
        const QString text = c.top + u"\nD|-----\nA|-----\nE|-----\n"_s;
        const TabReading reading = readTab(text);
        ASSERT_EQ(reading.staves.size(), 1u) << spelled(text);
        EXPECT_EQ(notesOf(reading, text), c.notes) << spelled(text);
        const TextSpan body = reading.staves[0].bodies[0];
        EXPECT_FALSE(text.sliced(body.start, body.length).contains(c.remark)) << spelled(text);
    }
}

TEST(TabConventions, ACountBesideOrRightAboveOrBelowAStaffPlaysItThatOften) {
    // Five characters that take time, then a bar line.
    const QString staff = u"G|--0--|\nD|-----|\nA|-----|\nE|-----|\n"_s;
    const QString counted = u"G|--0--|  3x\nD|-----|\nA|-----|\nE|-----|\n"_s;
    struct Case {
        QString text;
        std::vector<Repeat> repeats;
    };
    const Case cases[] = {
        {u"G|--0--|x2\nD|-----|\nA|-----|\nE|-----|\n"_s, {{0, 5 * C, 2}}},
        {counted, {{0, 5 * C, 3}}},
        {staff + u"   X4\n"_s, {{0, 5 * C, 4}}},
        {u"(x3)\n"_s + staff, {{0, 5 * C, 3}}},
        // Between two staves, a count is the upper one's.
        {staff + u"x2\n"_s + staff, {{0, 5 * C, 2}}},
        {staff + u"\nx2\n"_s + staff, {{5 * C, 10 * C, 2}}},
        // Not beside the staff, or no count.
        {staff + u"\nx2\n"_s, {}},
        {staff + u"x100\n"_s, {}},
        {staff + u"x2 slowly\n"_s, {}},
        // A bar as Enter writes it, counted: still read cell by cell.
        {u"e  |-0-"_s + QString(u"---"_s).repeated(15) + u"|  (x2)\n"_s +
             QString(u"B  |-"_s + QString(u"---"_s).repeated(16) + u"|\n"_s).repeated(5),
         {{0, 16 * 3 * C, 2}}},
    };
    for (const Case& c : cases) {
        const TabReading reading = readTab(c.text);
        ASSERT_FALSE(reading.staves.empty()) << spelled(c.text);
        EXPECT_EQ(reading.repeats, c.repeats) << spelled(c.text);
    }
    const Staff enter = readTab(cases[9].text).staves[0];
    EXPECT_TRUE(enter.byCells);
    ASSERT_EQ(enter.cells.size(), 6u);
    const TextSpan first = enter.cells[0].cell(0);
    const TextSpan third = enter.cells[0].cell(2);
    EXPECT_EQ(cases[9].text.sliced(first.start, first.length), u"0"_s);
    EXPECT_EQ(cases[9].text.sliced(third.start, third.length), u"--"_s);
    EXPECT_EQ(third.start - first.start, 5);
}

TEST(TabConventions, RepeatBarsPlayTheBarsBetweenThemTwiceOrAsCounted) {
    // Each staff line of `bodies` four times over, as G D A E.
    const auto staves = [](const QStringList& bodies) {
        QString text;
        for (const QString& body : bodies) {
            for (const char16_t* name : {u"G", u"D", u"A", u"E"})
                text += QString::fromUtf16(name) + body + u'\n';
            text += u'\n';
        }
        return text;
    };
    struct Case {
        QStringList bodies;
        std::vector<Repeat> repeats;
        std::vector<PlayedStretch> heard;  // in characters
    };
    const Case cases[] = {
        {{u"|--1--|:--2--:|--3--|"_s}, {{5 * C, 10 * C, 2}}, {{0, 10}, {5, 15}}},
        {{u"|--1--||:--2--:||x3"_s}, {{5 * C, 10 * C, 3}}, {{0, 10}, {5, 10}, {5, 10}}},
        // From the start of the staff when nothing opens the repeat.
        {{u"|--1--|--2--:|--3--|"_s}, {{0, 10 * C, 2}}, {{0, 10}, {0, 15}}},
        {{u"|:--1--:|"_s}, {{0, 5 * C, 2}}, {{0, 5}, {0, 5}}},
        // Across two staves.
        {{u"||:--1--|"_s, u"|--2--:||"_s}, {{0, 10 * C, 2}}, {{0, 10}, {0, 10}}},
        // A count beside the last closing sign, and a staff count around a repeat.
        {{u"|:--1--:|  x4"_s}, {{0, 5 * C, 4}}, {{0, 5}, {0, 5}, {0, 5}, {0, 5}}},
        // A repeat that crosses the staff count before it is not repeated.
        {{u"|--1--|:--2--|  x2"_s, u"|--3--:|"_s}, {{0, 10 * C, 2}}, {{0, 10}, {0, 15}}},
        {{u"|--1--|:--2--:|   "_s, u"|--3--|  x2"_s},
         {{5 * C, 10 * C, 2}, {10 * C, 15 * C, 2}},
         {{0, 10}, {5, 15}, {10, 15}}},
    };
    for (const Case& c : cases) {
        const QString text = staves(c.bodies);
        const TabReading reading = readTab(text);
        ASSERT_EQ(reading.staves.size(), static_cast<std::size_t>(c.bodies.size()))
            << spelled(text);
        EXPECT_EQ(reading.repeats, c.repeats) << spelled(text);
        std::vector<PlayedStretch> heard;
        for (const PlayedStretch& stretch : playingOrder(reading))
            heard.push_back({stretch.from / C, stretch.to / C});
        EXPECT_EQ(heard, c.heard) << spelled(text);
    }
}

TEST(TabConventions, EveryPassIsHeardAndMarkedAndPlayingFromWithinARepeatGoesBack) {
    const QString text = u"G||:--1--|\nD||:-----|\nA||:-----|\nE||:-----|\n\n"
                         u"G|--2--:||\nD|-----:||\nA|-----:||\nE|-----:||\n"_s;
    const Performance whole = performTab(text, kDefaultBeatsPerMinute);
    EXPECT_EQ(whole.endTick, 20 * C);
    std::vector<std::pair<qint64, QString>> cues;
    for (const Cue& cue : whole.cues)
        cues.push_back({cue.tick / C, text.sliced(cue.spans[0].start, cue.spans[0].length)});
    const std::vector<std::pair<qint64, QString>> marked = {
        {0, u"G||:--1--|"_s}, {5, u"G|--2--:||"_s}, {10, u"G||:--1--|"_s}, {15, u"G|--2--:||"_s}};
    EXPECT_EQ(cues, marked);

    // From the second staff: on to the end of the repeat, back to its start, and through.
    const Performance fromSecond =
        performTabFrom(text, text.indexOf(u"G|--2"_s), kDefaultBeatsPerMinute);
    EXPECT_EQ(fromSecond.endTick, 15 * C);
    ASSERT_EQ(fromSecond.cues.size(), 3u);
    EXPECT_EQ(fromSecond.cues[1].tick, 5 * C);
    EXPECT_EQ(fromSecond.cues[1].spans[0], whole.cues[0].spans[0]);
}

// Any text, random or a real tab with slips in it: the reading is sound.
TEST(TabConventions, AnyTextGivesNotesAtTheirDigitsThatNeverOverlapOnAString) {
    fretloom::testing::RandomText random(19);
    const std::array<QString, 24> pieces = {
        u"-"_s,    u"--"_s, u"\u2013"_s, u"|"_s,        u":"_s,        u"|:"_s,
        u":|"_s,   u"0"_s,  u"12"_s,     u"222"_s,      u"x"_s,        u" x2"_s,
        u"(x3)"_s, u" "_s,  u"\n"_s,     u"\r\n"_s,     u"e|"_s,       u"E "_s,
        u"Eb"_s,   u"h"_s,  u"3x\n"_s,   u"Capo 3\n"_s, u"DADGAD\n"_s, u"Tuning: Drop D\n"_s};
    const QString tab = u"Capo 2\ne|--12--|:-0-222-:|  x2\nB|---8--|:-1-----:|\n"
                        u"G|-10---|:-2-x---:|\nD|--9777|:-------:|\n-----\n--1--\n"_s;
    for (int round = 0; round < 400; ++round) {
        QString text;
        if (round % 2 == 0) {
            const int count = random.number(0, 200);
            for (int i = 0; i < count; ++i)
                text += random.chance(95) ? random.pick(pieces) : QString(random.unit());
        } else {
            text = tab.repeated(2);
            for (int slips = random.number(1, 6); slips > 0; --slips) {
                const auto at = static_cast<qsizetype>(random.number(0, int(text.size()) - 1));
                if (random.chance(50))
                    text.insert(at,
                                random.chance(80) ? random.pick(pieces) : QString(random.unit()));
                else
                    text.remove(at, random.number(1, 3));
            }
        }
        const TabReading reading = readTab(text);
        const TabNote* previous = nullptr;
        for (const TabNote& note : reading.notes) {
            ASSERT_GE(note.source.start, 0) << spelled(text);
            ASSERT_LE(note.source.start + note.source.length, text.size()) << spelled(text);
            const QStringView source =
                QStringView(text).sliced(note.source.start, note.source.length);
            const bool digits =
                !source.isEmpty() && std::all_of(source.begin(), source.end(),
                                                 [](QChar c) { return c >= u'0' && c <= u'9'; });
            ASSERT_TRUE(digits || source == u"x" || source == u"X") << spelled(text);
            ASSERT_GE(note.key, 0) << spelled(text);
            ASSERT_LE(note.key, 127) << spelled(text);
            ASSERT_GT(note.length, 0) << spelled(text);
            if (previous && previous->staff == note.staff && previous->string == note.string) {
                ASSERT_LE(previous->start + previous->length, note.start) << spelled(text);
            }
            previous = &note;
        }
        qint64 heard = 0;
        for (const PlayedStretch& stretch : playingOrder(reading))
            heard += stretch.to - stretch.from;
        const qint64 written =
            reading.staves.empty() ? 0 : reading.staves.back().start + reading.staves.back().length;
        ASSERT_LE(heard, written * kMaxPasses) << spelled(text);
    }
}

}  // namespace
}  // namespace fretloom
