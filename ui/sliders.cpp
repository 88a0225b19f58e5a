// The seek and volume sliders and the timers that keep the panel moving.
#include <windows.h>
#include <commctrl.h>

#include "app/main_window.h"
#include "resources/resource_ids.h"

namespace tarnuvo {

void MainWindow::setupSeekSlider(const TrackInfo& track) {
    SendMessageA(seekSlider, WM_SETREDRAW, FALSE, 0);
    SendMessageA(seekSlider, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageA(seekSlider, TBM_SETRANGEMAX, FALSE, static_cast<LPARAM>(track.length));
    SendMessageA(seekSlider, TBM_SETPAGESIZE, 0, 882000);
    SendMessageA(seekSlider, TBM_SETLINESIZE, 0, 176400);
    SendMessageA(seekSlider, TBM_CLEARSEL, FALSE, 0);
    if (track.hasLoop) {
        SendMessageA(seekSlider, TBM_SETSELSTART, FALSE, static_cast<LPARAM>(track.loopStart * 4u));
        SendMessageA(seekSlider, TBM_SETSELEND, FALSE, static_cast<LPARAM>(track.loopEnd * 4u));
    }
    SendMessageA(seekSlider, TBM_SETPOS, FALSE, 0);
    SendMessageA(seekSlider, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(seekSlider, nullptr, TRUE);
}

void MainWindow::onScroll(int32_t code, HWND slider) {
    if (slider != volumeSlider || code == TB_ENDTRACK) return;
    // Seeking from the slider comes with the seek work; the volume is set here.
    LRESULT position = SendMessageA(volumeSlider, TBM_GETPOS, 0, 0);
    uint32_t level = static_cast<uint32_t>(position * 0.001 * 65535.0) & 0xFFFF;
    volumeTarget->setVolume(level | (level << 16));
}

void MainWindow::setVolumeTarget(bool isDirectShow) {
    volumeTarget = isDirectShow ? static_cast<Player*>(&directShow) : &waveOut;
    char label[64] = {};
    LoadStringA(instance, isDirectShow ? IDS_DIRECTSHOW_VOLUME : IDS_WAVEOUT_VOLUME, label,
                sizeof label);
    int32_t level = 0;
    volumeTarget->getVolume(&level);
    const auto low = static_cast<uint32_t>(level) & 0xFFFFu;
    SendMessageA(volumeSlider, TBM_SETPOS, TRUE, static_cast<LPARAM>(low * 1000u / 65535u));
    SetWindowTextA(volumeLabel, label);
}

bool MainWindow::seekSliderTakesPress(LPARAM) {
    // A track that cannot seek keeps the thumb where it is.
    return currentPlayer->seekable == 0;
}

void MainWindow::onRefreshTimer() {
    Player& player = *currentPlayer;
    if (player.state != Playing || !env.windowShown) return;
    // The time line and the thumb take turns; the thumb moves only after the
    // time line has been painted.
    if (paintState == PaintIdle) {
        paintState = PaintRequested;
        redrawInfoPanel(false, true);
    } else if (paintState == PaintPainted) {
        SendMessageA(seekSlider, TBM_SETPOS, TRUE, static_cast<LPARAM>(player.position()));
        paintState = PaintIdle;
    }
}

void MainWindow::onBlinkTimer() {
    if (currentPlayer->state != Paused || !env.windowShown) return;
    blinkVisible = !blinkVisible;
    redrawInfoPanel(false, true);
}

}  // namespace tarnuvo
