#include "playback/FluidSynthPlayer.h"
#include "playback/Playback.h"
#include "playback/TabMarker.h"
#include "sheet/SheetAccess.h"
#include "support/IndependentMidiReader.h"
#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"
#include "ui/MainWindow.h"
#include "ui/TabBox.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

// Stands in for the synthesizer: it keeps what it was given and is at whatever tick a test says.
class FakeSoundPlayer : public SoundPlayer {
public:
    std::optional<SoundProblem> play(const QByteArray& midiFile) override {
        played.push_back(midiFile);
        playing = true;
        tick = 0;
        return std::nullopt;
    }
    void stop() override {
        ++stops;
        playing = false;
    }
    qint64 position() override { return playing ? tick : -1; }

    std::vector<QByteArray> played;
    int stops = 0;
    bool playing = false;
    qint64 tick = 0;
};

class PlayMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        showAndActivate(window);
        window.playback().setPlayer(player);
    }

    TabBox* box() const { return window.tabBox(); }
    QString tab() const { return box()->exactText(); }
    void enter(const std::vector<std::pair<QString, QString>>& cells) {
        window.clearGrid();
        for (const auto& [name, text] : cells)
            window.findChild<QLineEdit*>(name)->setText(text);
        QTest::mouseClick(window.findChild<QPushButton*>(u"Command1"_s), Qt::LeftButton);
    }
    // The caret at an offset of the tab text, with `selected` characters after it selected;
    // the box holds each CR LF as one break.
    void putCaretAt(qsizetype textOffset, int selected = 0) {
        const auto boxPosition =
            static_cast<int>(textOffset - tab().left(textOffset).count(u"\r\n"_s));
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(boxPosition + selected);
        cursor.setPosition(boxPosition, QTextCursor::KeepAnchor);
        box()->setTextCursor(cursor);
    }
    QStringList marked() const {
        QStringList texts;
        for (const QTextEdit::ExtraSelection& selection : box()->extraSelections())
            if (TabMarker::isMark(selection))
                texts << selection.cursor.selectedText();
        return texts;
    }
    // A bar of a guitar staff that Enter wrote: `top` on the e line, `rest` on the five others,
    // each behind its line's name when the bar opens the line.
    static QStringList barOf(const QString& top, const QString& rest, bool opensLine = false) {
        QStringList texts;
        for (const QString& name : {u"e"_s, u"B"_s, u"G"_s, u"D"_s, u"A"_s, u"E"_s})
            texts << (opensLine ? name + u"  "_s : QString()) + (texts.isEmpty() ? top : rest);
        return texts;
    }
    static QStringList notesOf(const QByteArray& midi) {
        return readIndependently(midi).filter(u"note "_s);
    }
    // Waits for the marks to show `expected`: the marking follows the player every few ms.
    void expectMarked(const QStringList& expected) {
        const bool shown = QTest::qWaitFor([&] { return marked() == expected; }, 2000);
        EXPECT_TRUE(shown) << marked().join(u" / "_s).toStdString();
    }

    // A bar line down the whole of one column.
    static std::vector<std::pair<QString, QString>> barLine(int column) {
        std::vector<std::pair<QString, QString>> cells;
        for (Row row : kAllRows)
            cells.emplace_back(cellName(row, column), u"|"_s);
        return cells;
    }
    static std::vector<std::pair<QString, QString>>
    join(std::initializer_list<std::vector<std::pair<QString, QString>>> parts) {
        std::vector<std::pair<QString, QString>> cells;
        for (const auto& part : parts)
            cells.insert(cells.end(), part.begin(), part.end());
        return cells;
    }

    ScriptedDialogs dialogs;
    FakeSoundPlayer player;
    std::optional<FluidSynthPlayer> synthesizer;  // outlives the window that plays through it
    MainWindow window{&dialogs};
};

TEST_F(PlayMenuTest, PlayTabStartsAtTheCaretsStaffAndMarksEachBarLeavingTheTabAsItWas) {
    enter({{u"e1"_s, u"0"_s}});
    enter(join({{{u"e1"_s, u"3"_s}, {u"e3"_s, u"5"_s}}, barLine(2)}));
    const QString text = tab();
    const qsizetype secondStaff = text.indexOf(u"e  |-3-"_s);
    ASSERT_GT(secondStaff, 0);
    // The user's caret and selection in the second staff, and an edit to undo later.
    box()->setFocus();
    putCaretAt(secondStaff + 1, 3);
    const int caretAnchor = box()->textCursor().anchor();
    const int caretPosition = box()->textCursor().position();
    const int undoSteps = box()->document()->availableUndoSteps();

    press(Qt::Key_F5);
    ASSERT_EQ(player.played.size(), 1u);
    // Only the second staff: fret 3 for a sixteenth (the bar line takes no time), then fret 5.
    EXPECT_EQ(notesOf(player.played[0]),
              (QStringList{u"note 0 67 96 0 120"_s, u"note 0 69 96 120 1800"_s}));
    expectMarked(barOf(u"|-3-|"_s, u"|----|"_s, true));
    player.tick = 120;
    expectMarked(
        barOf(u"-5-"_s + u"---"_s.repeated(13) + u"|"_s, u"-"_s + u"---"_s.repeated(14) + u"|"_s));

    EXPECT_EQ(tab(), text);
    EXPECT_EQ(box()->textCursor().anchor(), caretAnchor);
    EXPECT_EQ(box()->textCursor().position(), caretPosition);
    EXPECT_EQ(box()->document()->availableUndoSteps(), undoSteps);
    EXPECT_EQ(box()->document()->availableRedoSteps(), 0);
    // The end of the piece takes the marks away.
    player.playing = false;
    expectMarked({});
    EXPECT_FALSE(window.playback().isPlaying());
}

TEST_F(PlayMenuTest, MarksFollowTheBarsTextThroughEditsMadeWhilePlaying) {
    enter(
        join({{{u"e1"_s, u"0"_s}, {u"e3"_s, u"2"_s}, {u"e5"_s, u"3"_s}}, barLine(2), barLine(4)}));
    const QString text = tab();
    // With the caret after the last staff, play starts at the first.
    box()->setFocus();
    box()->moveCursor(QTextCursor::End);
    press(Qt::Key_F5);
    ASSERT_EQ(player.played.size(), 1u);
    EXPECT_EQ(notesOf(player.played[0]),
              (QStringList{u"note 0 64 96 0 120"_s, u"note 0 66 96 120 240"_s,
                           u"note 0 67 96 240 1680"_s}));
    const QStringList first = barOf(u"|-0-|"_s, u"|----|"_s, true);
    expectMarked(first);

    // A title typed above the staff moves the bars; the marks move with them.
    box()->moveCursor(QTextCursor::Start);
    type(u"Intro"_s);
    press(Qt::Key_Return);
    EXPECT_EQ(marked(), first);
    player.tick = 120;
    expectMarked(barOf(u"-2-|"_s, u"----|"_s));

    // Once the tab is gone, so is the bar to mark.
    press(Qt::Key_A, Qt::ControlModifier);
    press(Qt::Key_Delete);
    player.tick = 240;
    expectMarked({});
    EXPECT_TRUE(window.playback().isPlaying());

    // Nothing of the marking went into the history: undo brings back the user's own text.
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(tab(), u"Intro\r\n"_s + text);
}

TEST_F(PlayMenuTest, ABarPartlyOutOfViewScrollsIntoViewWhenItPlays) {
    for (const QString& fret : {u"0"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s})
        enter({{u"e1"_s, fret}});
    box()->setFocus();
    putCaretAt(tab().indexOf(u"e  |-3-"_s));
    // The fourth staff, lines 21 to 26 of the box, shows only its first two lines at the bottom.
    const auto shows = [&](int line) {
        const QTextCursor at(box()->document()->findBlockByNumber(line));
        return box()->viewport()->rect().contains(box()->cursorRect(at));
    };
    QScrollBar* scroll = box()->verticalScrollBar();
    scroll->setValue(23 - box()->viewport()->height() / box()->fontMetrics().lineSpacing());
    ASSERT_TRUE(shows(21) && shows(22) && !shows(26));

    press(Qt::Key_F5);
    expectMarked(barOf(u"|-3-"_s + u"---"_s.repeated(15) + u"|"_s,
                       u"|-"_s + u"---"_s.repeated(16) + u"|"_s, true));
    EXPECT_EQ(scroll->value(), 21) << "the bar's first line at the top";
    EXPECT_TRUE(shows(26));
}

TEST_F(PlayMenuTest, PlayGridPlaysTheBarEnterWouldWriteAndChangesNothing) {
    // Bass mode, with the bottom string tuned down to D.
    press(Qt::Key_B, Qt::ControlModifier);
    window.setRowCaption(Row::f, u"D"_s);
    window.cell(Row::g, 3)->setFocus();
    type(u"5"_s);
    window.cell(Row::f, 1)->setText(u"0"_s);
    const Grid grid = window.readGrid();

    press(Qt::Key_F5, Qt::ShiftModifier);
    ASSERT_EQ(player.played.size(), 1u);
    // On the bass: the bottom string at D1 from the start, G2 at fret 5 from the third sixteenth.
    EXPECT_EQ(notesOf(player.played[0]),
              (QStringList{u"note 1 26 96 0 1920"_s, u"note 1 48 96 240 1920"_s}));
    EXPECT_EQ(window.readGrid(), grid);
    EXPECT_TRUE(box()->isEmptyText());
    expectMarked({});

    // The same bar through Enter plays the same.
    QTest::mouseClick(window.findChild<QPushButton*>(u"Command1"_s), Qt::LeftButton);
    press(Qt::Key_F5);
    ASSERT_EQ(player.played.size(), 2u);
    EXPECT_EQ(player.played[1], player.played[0]);
}

TEST_F(PlayMenuTest, PlayAgainRestartsAndEscapeStopsAtOnceClosingNothing) {
    enter(join({{{u"e1"_s, u"0"_s}, {u"e3"_s, u"2"_s}}, barLine(2)}));
    box()->setFocus();
    press(Qt::Key_F5);
    player.tick = 120;
    expectMarked(
        barOf(u"-2-"_s + u"---"_s.repeated(13) + u"|"_s, u"-"_s + u"---"_s.repeated(14) + u"|"_s));
    press(Qt::Key_F5);
    EXPECT_EQ(player.played.size(), 2u);
    expectMarked(barOf(u"|-0-|"_s, u"|----|"_s, true));

    for (QWidget* from :
         {static_cast<QWidget*>(box()), static_cast<QWidget*>(window.cell(Row::d, 9))}) {
        from->setFocus();
        press(Qt::Key_F5);
        ASSERT_TRUE(window.playback().isPlaying());
        const int stops = player.stops;
        press(Qt::Key_Escape);
        EXPECT_GT(player.stops, stops);
        EXPECT_FALSE(window.playback().isPlaying());
        EXPECT_EQ(marked(), QStringList());
    }
    // With nothing playing, Escape still closes nothing.
    press(Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(PlayMenuTest, TempoIsAskedAsAWholeNumberAndKeptForThisRun) {
    enter({{u"e1"_s, u"0"_s}, {u"e3"_s, u"2"_s}});
    dialogs.numberAnswers.push_back(240);
    clickMenu(window, u"Play"_s, u"Tempo\u2026"_s);
    ASSERT_EQ(dialogs.numberQuestions.size(), 1u);
    const NumberQuestion& asked = dialogs.numberQuestions[0];
    EXPECT_EQ(asked.title, u"Tempo"_s);
    EXPECT_EQ(asked.value, 100);
    EXPECT_EQ(asked.minimum, 30);
    EXPECT_EQ(asked.maximum, 300);

    // Cancelling keeps the tempo chosen before.
    dialogs.numberAnswers.push_back(std::nullopt);
    clickMenu(window, u"Play"_s, u"Tempo\u2026"_s);
    ASSERT_EQ(dialogs.numberQuestions.size(), 2u);
    EXPECT_EQ(dialogs.numberQuestions[1].value, 240);

    clickMenu(window, u"Play"_s, u"Play Grid"_s);
    ASSERT_EQ(player.played.size(), 1u);
    EXPECT_TRUE(readIndependently(player.played[0]).contains(u"tempo 250000"_s));
}

TEST_F(PlayMenuTest, MissingSoundFontOrOutputIsWarnedAndPlayWorksOnceItIsThere) {
    QTemporaryDir folder;
    SoundSetup setup;
    const QString installed = [&] {
        for (const QString& path : setup.soundFonts)
            if (QFile::exists(path))
                return path;
        return QString();
    }();
    ASSERT_FALSE(installed.isEmpty()) << "no SoundFont; tools/setup installs one";
    setup.soundFonts = {folder.filePath(u"GM.sf2"_s)};
    setup.drivers = {u"file"_s};
    setup.outputFile = folder.filePath(u"out/sound.wav"_s);
    window.playback().setPlayer(synthesizer.emplace(setup));
    enter({{u"e1"_s, u"0"_s}});

    press(Qt::Key_F5);
    ASSERT_EQ(dialogs.warnings.size(), 1u);
    EXPECT_EQ(dialogs.warnings[0].first, u"Play"_s);
    EXPECT_TRUE(dialogs.warnings[0].second.contains(u"SoundFont"_s));
    EXPECT_TRUE(dialogs.warnings[0].second.contains(setup.soundFonts[0]));
    EXPECT_TRUE(dialogs.warnings[0].second.contains(u"install the package timgm6mb-soundfont"_s,
                                                    Qt::CaseInsensitive));
    EXPECT_FALSE(window.playback().isPlaying());

    ASSERT_TRUE(QFile::copy(installed, setup.soundFonts[0]));
    press(Qt::Key_F5);
    ASSERT_EQ(dialogs.warnings.size(), 2u);
    EXPECT_TRUE(dialogs.warnings[1].second.contains(u"no sound output"_s));
    EXPECT_TRUE(dialogs.warnings[1].second.contains(u"pipewire-pulse"_s));
    EXPECT_FALSE(window.playback().isPlaying());
    expectMarked({});

    ASSERT_TRUE(QDir(folder.path()).mkdir(u"out"_s));
    press(Qt::Key_F5);
    EXPECT_EQ(dialogs.warnings.size(), 2u);
    EXPECT_TRUE(window.playback().isPlaying());
    EXPECT_GE(synthesizer->position(), 0);
    press(Qt::Key_Escape);
    EXPECT_EQ(synthesizer->position(), -1);
}

}  // namespace
}  // namespace fretloom
