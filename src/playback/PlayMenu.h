#pragma once

#include "playback/Performance.h"

#include <QMenu>
#include <memory>

namespace fretloom {

class FluidSynthPlayer;
class Playback;
class SheetWindow;
class TabMarker;

// The Play menu: Play Tab, Play Grid, Stop and Tempo, with the synthesizer, which loads on the
// first Play, and the tempo of this run.
class PlayMenu : public QMenu {
    Q_OBJECT

public:
    PlayMenu(SheetWindow& sheet, QWidget* parent);
    ~PlayMenu() override;

    // Play and Stop, with the synthesizer unless a test gives it another player.
    Playback& playback() const { return *playback_; }
    // The tempo of this run, kept for no other.
    int beatsPerMinute() const { return beatsPerMinute_; }

private:
    void playTab();
    void playGrid();
    void askTempo();

    SheetWindow& sheet_;
    int beatsPerMinute_ = kDefaultBeatsPerMinute;
    // The player goes after the playback that uses it.
    std::unique_ptr<FluidSynthPlayer> synthesizer_;
    std::unique_ptr<Playback> playback_;
    TabMarker* tabMarker_;
};

}  // namespace fretloom
