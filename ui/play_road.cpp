// From a list row to a playing track and back to stopped: starting the play
// thread, stopping it, pause, the restart after a seek, and the report of a
// track that could not be played.
#include <windows.h>
#include <commctrl.h>
#include <process.h>

#include <cstring>

#include "app/centering_hook.h"
#include "app/main_window.h"
#include "app/timer_ids.h"
#include "base/worker_stop.h"
#include "engine/text.h"
#include "resources/resource_ids.h"
#include "ui/play_buttons.h"
#include "ui/play_thread.h"

namespace tarnuvo {
namespace {

void showOpenFailed(MainWindow& w) {
    char text[4096] = {};
    LoadStringA(w.instance(), IDS_OPEN_FAILED, text, sizeof text);
    centeredMessageBox(w.window(), text, w.windowTitle(), MB_ICONEXCLAMATION);
}

}  // namespace

void MainWindow::playSelected() {
    const uint32_t advance = advancing;
    advancing = 0;
    if (closing_) return;
    if (stopping) {
        // Served inside a stop's wait (a double click): after the stop.
        pendingCommand = advance != 0 ? advance : IDC_PLAY;
        return;
    }
    if (selectedRow() == -1) return;
    stopPlayback();
    // The stop served messages: a pending command may have started a track.
    if (playWorker.thread || closing_) return;
    const int32_t row = selectedRow();
    const TrackInfo* entry = playlist_.entryAt(row);
    if (!entry) return;
    playEntry = *entry;
    playEntry.listIndex = row;
    playlist_.currentIndex = row;
    playAdvance = advance;
    openReported = false;
    if (playEntry.location[0] == '\0') {
        reportPlayFailure(takePlayFailure());
        return;
    }
    copyText(playWorker.path, kTextSize, playEntry.location);
    playWorker.running = 1;
    playWorker.finished = 0;
    playWorker.owner = this;
    playWorker.stopRequested = 0;
    playWorker.parameter = kPlayStarted;
    unsigned id = 0;
    // Suspended until the record knows it: the thread's end message names it.
    const uintptr_t handle =
        _beginthreadex(nullptr, 0, &playThreadEntry, this, CREATE_SUSPENDED, &id);
    if (handle == 0) {
        playWorker.running = 0;
        playWorker.thread.reset();
        return;
    }
    playWorker.thread.reset(reinterpret_cast<HANDLE>(handle));
    playWorker.threadId = id;
    starting = true;
    redrawInfoPanel(true, true);
    EnableWindow(buttons[kPlayButton], FALSE);
    ResumeThread(playWorker.thread.get());
}

void MainWindow::stopPlayback() {
    // Served inside our own wait: that stop is already under way.
    if (stopping) return;
    // A held play thread is stopped whatever the player's state: during a
    // slow open, or after a failed start, the player is Stopped.
    if (!playWorker.thread && currentPlayer->state == Stopped) return;
    stopping = true;
    collectPlayThread();
    // The thread waits for its run flag only; the stop is the window's.
    for (Player* player : {static_cast<Player*>(&waveOut_), static_cast<Player*>(&directShow_)}) {
        if (player->state != Stopped) player->stop();
    }
    stopping = false;
    showPlaybackStopped();
    runPendingCommand();
}

void MainWindow::showPlaybackStopped() {
    SendMessageA(seekSlider, TBM_SETPOS, TRUE, 0);
    if (playlist_.empty()) resetPanelAfterClear();
    redrawInfoPanel(true, true);
    updateTrayTip();
    EnableWindow(seekSlider, FALSE);
    EnableWindow(buttons[kPlayButton], TRUE);
    EnableWindow(buttons[kPauseButton], FALSE);
    EnableWindow(buttons[kStopButton], FALSE);
    showPauseLook();
}

void MainWindow::togglePause(bool holdOnly) {
    if (stopping) return;
    if (starting) {
        pausePending = holdOnly || !pausePending;
        return;
    }
    Player& player = *currentPlayer;
    if (player.state == Playing) {
        onRefreshTimer();
        pausedPosition = player.position();
        player.pause(kPauseOn);
        blinkVisible = true;
        SetTimer(window_, BlinkTimer, kBlinkIntervalMs, nullptr);  // the blink starts afresh
    } else if (player.state == Paused && !holdOnly) {
        player.pause(kPauseOff);
    }
    showPauseLook();
}

void MainWindow::restartAt(uint32_t position) {
    if (stopping || closing_ || starting) return;
    Player& player = *currentPlayer;
    if (player.state == Stopped) return;
    // The DirectShow player goes on at the new place by itself.
    if (player.seek(position) == 0) return;
    if (openAndStart(nullptr) == kPlayStarted) return;
    // The device could not be opened again.
    stopPlayback();
    showOpenFailed(*this);
}

void MainWindow::collectPlayThread() {
    if (!playWorker.thread) return;
    char location[kTextSize];
    copyText(location, kTextSize, playEntry.location);
    playWorker.stopRequested = 1;
    stopWorker(playWorker);
    // A newer thread started inside the wait is left alone.
    if (playWorker.thread) return;
    finishStarting(false);
    if (playWorker.parameter == kPlayFailed) forgetMemberFile(*this, location);
}

void MainWindow::openFailedCheck() {
    // The play thread stores its result before it marks itself finished. A
    // stop that waits for the thread collects it; nothing is reported then.
    if (stopping || closing_ || !playWorker.thread || playWorker.finished == 0 ||
        playWorker.parameter != kPlayFailed) {
        return;
    }
    // A command served inside the wait can start a newer track: the report
    // is about this one, or about none once that has happened.
    const PlayFailure failure = takePlayFailure();
    stopWorker(playWorker);
    if (playWorker.thread) return;
    finishStarting(false);
    reportPlayFailure(failure);
}

MainWindow::PlayFailure MainWindow::takePlayFailure() {
    PlayFailure failure;
    failure.advance = playAdvance;
    failure.opened = openReported;
    copyText(failure.location, kTextSize, playEntry.location);
    playAdvance = 0;
    return failure;
}

void MainWindow::reportPlayFailure(const PlayFailure& failure) {
    const uint32_t advance = failure.advance;
    if (!failure.opened) {
        // Neither player took the file: the last one tried stays current.
        waveOut_.infoKnown = 0;
        directShow_.infoKnown = 0;
        currentPlayer = &directShow_;
    }
    forgetMemberFile(*this, failure.location);
    showPlaybackStopped();
    if (advance != 0 && ++failedInRow < playlist_.count()) {
        // An advance at the end of a track skips what cannot be played. A
        // posted command, so that a list of such tracks is no recursion.
        PostMessageA(window_, WM_COMMAND, advance, 0);
        return;
    }
    failedInRow = 0;
    showOpenFailed(*this);
}

}  // namespace tarnuvo
