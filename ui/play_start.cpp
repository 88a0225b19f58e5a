// The start of a track as the window sees it: between playSelected and the
// play thread's report the player is the thread's, and what the user does to
// it meanwhile is kept and applied once the track has started.
#include <cstring>

#include "app/main_window.h"

namespace tarnuvo {

int32_t MainWindow::playbackState() const {
    if (starting) return pausePending ? Paused : Playing;
    return currentPlayer->state;
}

void MainWindow::finishStarting(bool started) {
    const bool pause = pausePending, seek = seekPending, volume = volumePending;
    starting = false;
    pausePending = seekPending = volumePending = false;
    // A level chosen for a track that never started stays for the next.
    if (volume) applyVolumeSlider();
    if (!started) return;
    Player& player = *currentPlayer;
    // The modes may have changed since the thread applied the range.
    player.applyLoopRange();
    // Rows moved or deleted meanwhile: the rule of the open, once more.
    const TrackInfo* entry = playlist_.entryAt(playlist_.currentIndex);
    if (entry && std::strcmp(entry->location, player.location) == 0)
        player.listIndex = playlist_.currentIndex;
    if (seek) seekToSlider();
    if (pause) togglePause(true);
}

}  // namespace tarnuvo
