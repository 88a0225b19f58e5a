// From a list row to a playing track, and back to stopped; the window
// title, the tray tip and the list-dependent controls.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "app/centering_hook.h"
#include "app/main_window.h"
#include "app/timer_ids.h"
#include "base/worker_stop.h"
#include "engine/text.h"
#include "resources/resource_ids.h"

namespace tarnuvo {
namespace {

constexpr int32_t kPlayButton = 0;
constexpr int32_t kPauseButton = 1;
constexpr int32_t kStopButton = 2;
constexpr int32_t kPreviousButton = 3;
constexpr int32_t kNextButton = 4;
constexpr int32_t kRandomButton = 5;

}  // namespace

void MainWindow::playSelected() {
    int32_t row = selectedRow();
    const TrackInfo* entry = playlist.entryAt(row);
    if (!entry) return;
    stopPlayback();
    // The open works on a copy: the entries belong to the list.
    TrackInfo chosen = *entry;
    playlist.currentIndex = row;
    const TrackInfo* stored = chosen.infoKnown ? &chosen : nullptr;
    bool opened = false;
    if (chosen.location[0] != '\0') {
        currentPlayer = &waveOut;
        opened = waveOut.open(chosen.location, row, 0, stored) != -1;
        if (!opened) {
            waveOut.infoKnown = 0;
            currentPlayer = &directShow;
            opened = directShow.open(chosen.location, row, 0, stored) != -1;
        }
    }
    if (opened) {
        setVolumeTarget(currentPlayer->isDirectShow() != 0);
        updateRow(row, *currentPlayer);
        currentPlayer->applyLoopRange();
        setupSeekSlider(*currentPlayer);
        EnableWindow(seekSlider, currentPlayer->seekable && currentPlayer->length != 0);
        opened = currentPlayer->play(0) != 0;
    }
    if (!opened) {
        currentPlayer->stop();
        EnableWindow(buttons[kPlayButton], TRUE);
        char text[4096] = {};
        LoadStringA(instance, IDS_OPEN_FAILED, text, sizeof text);
        centeredMessageBox(window, text, windowTitle, MB_ICONEXCLAMATION);
        return;
    }
    for (int32_t i : {kPlayButton, kPauseButton, kStopButton}) EnableWindow(buttons[i], TRUE);
    updateTrayTip();
    redrawInfoPanel(true, true);
}

void MainWindow::stopPlayback() {
    // A held play thread is collected whatever the player's state: during a
    // slow open the player is still Stopped.
    if (playWorker.thread) {
        playWorker.stopRequested = 1;
        stopWorker(playWorker);
    }
    if (currentPlayer->state != Stopped) currentPlayer->stop();
    SendMessageA(seekSlider, TBM_SETPOS, TRUE, 0);
    if (playlist.empty()) resetPanelAfterClear();
    redrawInfoPanel(true, true);
    updateTrayTip();
    EnableWindow(seekSlider, FALSE);
    EnableWindow(buttons[kPlayButton], TRUE);
    EnableWindow(buttons[kPauseButton], FALSE);
    EnableWindow(buttons[kStopButton], FALSE);
}

void MainWindow::togglePause(bool holdOnly) {
    Player& player = *currentPlayer;
    if (player.state == Playing) {
        pausedPosition = player.position();
        player.pause(kPauseOn);
        blinkVisible = true;
        SetTimer(window, BlinkTimer, kBlinkIntervalMs, nullptr);  // the blink starts afresh
    } else if (player.state == Paused && !holdOnly) {
        player.pause(kPauseOff);
    }
}

void MainWindow::restartAt(uint32_t position) {
    Player& player = *currentPlayer;
    if (player.state == Stopped) return;
    // The graph player goes on by itself; the native one starts the open
    // file again at the new place.
    if (player.seek(position) == 0) return;
    player.applyLoopRange();
    player.play(0);
}

void MainWindow::onPlayUpdate() {
    updateTrayTip();
    redrawInfoPanel(true, true);
}

void MainWindow::updateListControls() {
    BOOL filled = playlist.empty() ? FALSE : TRUE;
    if (toolbar) {
        SendMessageA(toolbar, TB_ENABLEBUTTON, IDM_CLEAR, filled);
        SendMessageA(toolbar, TB_ENABLEBUTTON, IDM_SAVE_LIST, filled);
        if (!filled) {
            for (int command : {IDM_MOVE_UP, IDM_MOVE_DOWN, IDM_DELETE})
                SendMessageA(toolbar, TB_ENABLEBUTTON, command, FALSE);
        }
    }
    for (int32_t i : {kPlayButton, kPreviousButton, kNextButton, kRandomButton})
        EnableWindow(buttons[i], filled);
}

void MainWindow::updateWindowTitle() {
    char title[kTextSize * 2];
    if (playlist.album[0] != '\0')
        std::snprintf(title, sizeof title, "Tarnuvo - %s", playlist.album);
    else
        std::snprintf(title, sizeof title, "Tarnuvo");
    copyText(windowTitle, kTextSize, title);
    SetWindowTextA(window, windowTitle);
    updateTrayTip();
}

void MainWindow::updateTrayTip() {
    if (tray.data.cbSize == 0) return;  // no icon was ever added
    const Player& player = *currentPlayer;
    if (player.state == Stopped) {
        tray.modify(nullptr, windowTitle);
        return;
    }
    char tip[kTextSize * 3];
    int used = std::snprintf(tip, sizeof tip, "%02d.%s", player.listIndex + 1, player.title);
    if (player.artist[0] != '\0' && used > 0 && static_cast<size_t>(used) < sizeof tip)
        std::snprintf(tip + used, sizeof tip - static_cast<size_t>(used), " / %s", player.artist);
    // The tray record keeps 63 bytes, cut on a character boundary.
    tray.modify(nullptr, tip);
}

}  // namespace tarnuvo
