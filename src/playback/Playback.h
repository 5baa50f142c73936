#pragma once

#include "playback/Performance.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstddef>
#include <vector>

namespace fretloom {

class DialogService;
class SoundPlayer;

// Where the bar being heard is shown: the tab box, without touching its text.
class BarMarks {
public:
    virtual ~BarMarks() = default;
    // A performance of `text`, the tab as it is at this moment, starts; the spans that follow
    // are offsets into it, however the tab is edited meanwhile.
    virtual void begin(const QString& text) = 0;
    virtual void mark(const std::vector<TextSpan>& spans) = 0;
    // Nothing is heard any more.
    virtual void end() = 0;
};

// Play and Stop: a performance goes to the player, and while it sounds the bar being heard is
// followed. Problems with the sound reach the user as a warning; nothing else changes then.
class Playback : public QObject {
    Q_OBJECT

public:
    Playback(SoundPlayer& player, DialogService& dialogs, QObject* parent = nullptr);
    ~Playback() override;

    void setPlayer(SoundPlayer& player);

    // Plays from the start, cutting off what was playing. The cues are shown in `marks` when
    // given; they refer to `text`.
    void play(const Performance& performance, BarMarks* marks = nullptr, const QString& text = {});
    void stop();
    bool isPlaying() const { return follower_.isActive(); }

private:
    void follow();
    void finish();

    SoundPlayer* player_;
    DialogService* dialogs_;
    QTimer follower_;
    std::vector<Cue> cues_;
    BarMarks* marks_ = nullptr;
    std::size_t shownCue_ = 0;
};

}  // namespace fretloom
