#include "playback/PlayMenu.h"

#include "playback/FluidSynthPlayer.h"
#include "playback/Playback.h"
#include "playback/TabMarker.h"
#include "sheet/Bar.h"
#include "sheet/DialogService.h"
#include "sheet/SheetWindow.h"
#include "widgets/MenuCommand.h"

#include <QAction>
#include <QPlainTextEdit>
#include <algorithm>
#include <optional>

namespace fretloom {

using namespace Qt::StringLiterals;

PlayMenu::PlayMenu(SheetWindow& sheet, QWidget* parent)
    : QMenu(u"Play"_s, parent), sheet_(sheet), synthesizer_(std::make_unique<FluidSynthPlayer>()),
      playback_(std::make_unique<Playback>(*synthesizer_, sheet.dialogs())),
      tabMarker_(new TabMarker(sheet.tabBox())) {
    setUpMenu(*this, u"Hear the tab from the caret's staff or the bar in the grid, stop, and set "
                     u"the tempo"_s);
    QAction* playTab = makeCommand(this, "playTab", u"Play Tab"_s, QKeySequence(Qt::Key_F5));
    QAction* playGrid =
        makeCommand(this, "playGrid", u"Play Grid"_s, QKeySequence(Qt::SHIFT | Qt::Key_F5));
    QAction* stop = makeCommand(this, "stop", u"Stop"_s, QKeySequence(Qt::Key_Escape));
    QAction* tempo = makeCommand(this, "tempo", u"Tempo…"_s);
    addActions({playTab, playGrid, stop, tempo});
    connect(playTab, &QAction::triggered, this, &PlayMenu::playTab);
    connect(playGrid, &QAction::triggered, this, &PlayMenu::playGrid);
    connect(stop, &QAction::triggered, this, [this] { playback_->stop(); });
    connect(tempo, &QAction::triggered, this, &PlayMenu::askTempo);
}

PlayMenu::~PlayMenu() = default;

void PlayMenu::playTab() {
    // What plays is the tab as it is now; the marks follow its bars through later edits.
    const QString text = sheet_.tabText();
    const QPlainTextEdit& box = *sheet_.tabBox();
    const qsizetype caret = boxPositionsOf(box, text).toText(box.textCursor().position());
    playback_->play(performTabFrom(text, caret, beatsPerMinute_), tabMarker_, text);
}

void PlayMenu::playGrid() {
    // The bar as Enter would write it, from a copy: the grid keeps its empty cells.
    Grid grid = sheet_.readGrid();
    const QString bar = commitBar(grid, sheet_.readCaptions(), sheet_.modeCaption());
    playback_->play(performTab(bar, beatsPerMinute_));
}

void PlayMenu::askTempo() {
    const std::optional<int> chosen =
        sheet_.dialogs().askNumber({u"Tempo"_s, u"Beats per minute (30-300):"_s, beatsPerMinute_,
                                    kMinBeatsPerMinute, kMaxBeatsPerMinute});
    if (chosen)
        beatsPerMinute_ = std::clamp(*chosen, kMinBeatsPerMinute, kMaxBeatsPerMinute);
}

}  // namespace fretloom
