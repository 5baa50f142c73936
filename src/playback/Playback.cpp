#include "playback/Playback.h"

#include "playback/SoundPlayer.h"
#include "sheet/DialogService.h"

#include <algorithm>

namespace fretloom {

using namespace Qt::StringLiterals;

namespace {

// How often the bar being heard is looked up: well within a sixteenth note at the fastest tempo.
constexpr int kFollowMs = 20;
constexpr std::size_t kNoCue = static_cast<std::size_t>(-1);

}  // namespace

Playback::Playback(SoundPlayer& player, DialogService& dialogs, QObject* parent)
    : QObject(parent), player_(&player), dialogs_(&dialogs) {
    follower_.setInterval(kFollowMs);
    connect(&follower_, &QTimer::timeout, this, &Playback::follow);
}

Playback::~Playback() {
    stop();
}

void Playback::setPlayer(SoundPlayer& player) {
    stop();
    player_ = &player;
}

void Playback::play(const Performance& performance, BarMarks* marks, const QString& text) {
    stop();
    if (!performance.hasNotes)
        return;
    if (const std::optional<SoundProblem> problem = player_->play(performance.midiFile)) {
        dialogs_->warn(u"Play"_s, problem->message);
        return;
    }
    cues_ = performance.cues;
    marks_ = marks;
    shownCue_ = kNoCue;
    if (marks_)
        marks_->begin(text);
    follower_.start();
    follow();
}

void Playback::stop() {
    player_->stop();
    finish();
}

void Playback::finish() {
    follower_.stop();
    if (marks_)
        marks_->end();
    marks_ = nullptr;
    cues_.clear();
}

void Playback::follow() {
    const qint64 tick = player_->position();
    if (tick < 0) {
        finish();
        return;
    }
    const auto after = std::upper_bound(cues_.begin(), cues_.end(), tick,
                                        [](qint64 t, const Cue& cue) { return t < cue.tick; });
    if (after == cues_.begin())
        return;
    const auto cue = static_cast<std::size_t>(after - cues_.begin() - 1);
    if (cue != shownCue_ && marks_)
        marks_->mark(cues_[cue].spans);
    shownCue_ = cue;
}

}  // namespace fretloom
