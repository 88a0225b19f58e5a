// From a list row to a playing track and back to stopped: starting_ the play
// thread, stopping_ it, pause, the restart after a seek, and the report of a
// track that could not be played.
#include <windows.h>
#include <commctrl.h>
#include <process.h>

#include <cstring>

#include "ui/play_road.h"

#include "app/centering_hook.h"
#include "app/window_parts.h"
#include "app/timer_ids.h"
#include "base/worker_stop.h"
#include "engine/text.h"
#include "resources/resource_ids.h"
#include "ui/play_buttons.h"
#include "ui/info_panel.h"
#include "ui/list_pane.h"
#include "ui/seek_bar.h"
#include "ui/transport_buttons.h"
#include "ui/window_tray.h"

namespace tarnuvo {

PlayRoad::PlayRoad(WindowFrame& frame, CommandQueue& commands, ListPane& list, InfoPanel& panel,
                   SeekBar& seek, VolumeControl& volume, TransportButtons& buttons, Tray& tray)
    : frame_(frame),
      env_(frame.environment()),
      waveOut_(frame.waveOut()),
      directShow_(frame.directShow()),
      playlist_(frame.playlist()),
      commands_(commands),
      list_(list),
      panel_(panel),
      seek_(seek),
      volume_(volume),
      buttons_(buttons),
      tray_(tray),
      current_(&waveOut_) {}

void PlayRoad::bind(HWND dialog) {
    videoArea_ = GetDlgItem(dialog, IDC_VIDEO_AREA);
}

void PlayRoad::showOpenFailed() {
    char text[4096] = {};
    LoadStringA(frame_.instance(), IDS_OPEN_FAILED, text, sizeof text);
    centeredMessageBox(frame_.window(), text, tray_.title(), MB_ICONEXCLAMATION);
}

void PlayRoad::playSelected() {
    const uint32_t advance = advancing_;
    advancing_ = 0;
    if (frame_.closing()) return;
    if (stopping_) {
        // Served inside a stop's wait (a double click): after the stop.
        commands_.keep(advance != 0 ? advance : IDC_PLAY);
        return;
    }
    if (list_.selectedRow() == -1) return;
    stopPlayback();
    // The stop served messages: a pending command may have started a track.
    if (worker_.thread || frame_.closing()) return;
    const int32_t row = list_.selectedRow();
    const TrackInfo* entry = playlist_.entryAt(row);
    if (!entry) return;
    entry_ = *entry;
    entry_.listIndex = row;
    playlist_.currentIndex = row;
    playAdvance_ = advance;
    openReported_ = false;
    if (entry_.location[0] == '\0') {
        reportPlayFailure(takePlayFailure());
        return;
    }
    copyText(worker_.path, kTextSize, entry_.location);
    worker_.running = 1;
    worker_.finished = 0;
    worker_.owner = this;
    worker_.stopRequested = 0;
    worker_.parameter = kPlayStarted;
    unsigned id = 0;
    // Suspended until the record knows it: the thread's end message names it.
    const uintptr_t handle = _beginthreadex(nullptr, 0, &threadMain, this, CREATE_SUSPENDED, &id);
    if (handle == 0) {
        worker_.running = 0;
        worker_.thread.reset();
        return;
    }
    worker_.thread.reset(reinterpret_cast<HANDLE>(handle));
    worker_.threadId = id;
    starting_ = true;
    panel_.redraw(true, true);
    EnableWindow(buttons_.handle(kPlayButton), FALSE);
    ResumeThread(worker_.thread.get());
}

void PlayRoad::stopPlayback() {
    // Served inside our own wait: that stop is already under way.
    if (stopping_) return;
    // A held play thread is stopped whatever the player's state: during a
    // slow open, or after a failed start, the player is Stopped.
    if (!worker_.thread && current_->state == Stopped) return;
    stopping_ = true;
    collectPlayThread();
    // The thread waits for its run flag only; the stop is the window's.
    for (Player* player : {static_cast<Player*>(&waveOut_), static_cast<Player*>(&directShow_)}) {
        if (player->state != Stopped) player->stop();
    }
    stopping_ = false;
    showPlaybackStopped();
    commands_.runKept();
}

void PlayRoad::showPlaybackStopped() {
    seek_.reset();
    if (playlist_.empty()) list_.resetPanelAfterClear();
    panel_.redraw(true, true);
    tray_.updateTip();
    seek_.enable(false);
    EnableWindow(buttons_.handle(kPlayButton), TRUE);
    EnableWindow(buttons_.handle(kPauseButton), FALSE);
    EnableWindow(buttons_.handle(kStopButton), FALSE);
    buttons_.showPauseLook();
}

void PlayRoad::togglePause(bool holdOnly) {
    if (stopping_) return;
    if (starting_) {
        pausePending_ = holdOnly || !pausePending_;
        return;
    }
    Player& player = *current_;
    if (player.state == Playing) {
        panel_.onRefreshTimer();
        panel_.notePausedAt(player.position());
        player.pause(kPauseOn);
        panel_.setBlink(true);
        SetTimer(frame_.window(), BlinkTimer, kBlinkIntervalMs,
                 nullptr);  // the blink starts afresh
    } else if (player.state == Paused && !holdOnly) {
        player.pause(kPauseOff);
    }
    buttons_.showPauseLook();
}

void PlayRoad::restartAt(uint32_t position) {
    if (stopping_ || frame_.closing() || starting_) return;
    Player& player = *current_;
    if (player.state == Stopped) return;
    // The DirectShow player goes on at the new place by itself.
    if (player.seek(position) == 0) return;
    if (openAndStart(nullptr) == kPlayStarted) return;
    // The device could not be opened again.
    stopPlayback();
    showOpenFailed();
}

void PlayRoad::collectPlayThread() {
    if (!worker_.thread) return;
    char location[kTextSize];
    copyText(location, kTextSize, entry_.location);
    worker_.stopRequested = 1;
    stopWorker(worker_);
    // A newer thread started inside the wait is left alone.
    if (worker_.thread) return;
    finishStarting(false);
    if (worker_.parameter == kPlayFailed) forgetMemberFile(location);
}

void PlayRoad::openFailedCheck() {
    // The play thread stores its result before it marks itself finished. A
    // stop that waits for the thread collects it; nothing is reported then.
    if (stopping_ || collectingFailure_ || frame_.closing() || !worker_.thread ||
        worker_.finished == 0 || worker_.parameter != kPlayFailed) {
        return;
    }
    // A command served inside the wait can start a newer track: the report
    // is about this one, or about none once that has happened. A timer
    // served there finds this failure taken.
    const PlayFailure failure = takePlayFailure();
    collectingFailure_ = true;
    stopWorker(worker_);
    collectingFailure_ = false;
    if (worker_.thread) return;
    finishStarting(false);
    reportPlayFailure(failure);
}

PlayRoad::PlayFailure PlayRoad::takePlayFailure() {
    PlayFailure failure;
    failure.advance = playAdvance_;
    failure.opened = openReported_;
    copyText(failure.location, kTextSize, entry_.location);
    playAdvance_ = 0;
    return failure;
}

void PlayRoad::reportPlayFailure(const PlayFailure& failure) {
    const uint32_t advance = failure.advance;
    if (!failure.opened) {
        // Neither player took the file: the last one tried stays current.
        waveOut_.infoKnown = 0;
        directShow_.infoKnown = 0;
        current_ = &directShow_;
    }
    forgetMemberFile(failure.location);
    showPlaybackStopped();
    if (advance != 0 && ++failedInRow_ < playlist_.count()) {
        // An advance at the end of a track skips what cannot be played. A
        // posted command, so that a list of such tracks is no recursion.
        PostMessageA(frame_.window(), WM_COMMAND, advance, 0);
        return;
    }
    failedInRow_ = 0;
    showOpenFailed();
}

}  // namespace tarnuvo
