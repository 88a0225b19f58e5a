// The start of a track as the window sees it: between playSelected and the
// play thread's report the player is the thread's, and what the user does to
// it meanwhile is kept and applied once the track has started. Also what the
// other parts ask of the road's state.
#include <cstring>

#include "app/window_parts.h"
#include "ui/play_road.h"
#include "ui/seek_bar.h"
#include "ui/volume_control.h"

namespace tarnuvo {

int32_t PlayRoad::state() const {
    if (starting_) return pausePending_ ? Paused : Playing;
    return current_->state;
}

const TrackInfo& PlayRoad::shownTrack() const {
    return starting_ ? entry_ : current_->info();
}

void PlayRoad::finishStarting(bool started) {
    const bool pause = pausePending_, seek = seekPending_, volume = volumePending_;
    starting_ = false;
    pausePending_ = seekPending_ = volumePending_ = false;
    // A level chosen for a track that never started stays for the next.
    if (volume) volume_.apply();
    if (!started) return;
    Player& player = *current_;
    // The modes may have changed since the thread applied the range.
    player.applyLoopRange();
    // Rows moved or deleted meanwhile: the rule of the open, once more.
    const TrackInfo* entry = playlist_.entryAt(playlist_.currentIndex);
    if (entry && std::strcmp(entry->location, player.location) == 0)
        player.listIndex = playlist_.currentIndex;
    if (seek) seek_.seekToSlider();
    if (pause) togglePause(true);
}

void PlayRoad::applyModes() {
    // A track being started takes the range once it has started.
    if (!starting_) current_->applyLoopRange();
}

void PlayRoad::renumberAfterMove(int32_t before) {
    // A track being started takes its number once it has started.
    if (!starting_ && current_->listIndex == before) current_->listIndex = playlist_.currentIndex;
}

void PlayRoad::forgetUnknownLength() {
    Player& player = *current_;
    if (!starting_ && !player.infoKnown) {
        player.length = 0;
        player.hasLoop = 0;
        player.loopStart = player.loopEnd = 0;
    }
}

void PlayRoad::toggleWaveOut() {
    env_.waveOutOff = env_.waveOutOff ? 0 : 1;
    waveOut_.waveOutDisabled = env_.waveOutOff;
}

}  // namespace tarnuvo
