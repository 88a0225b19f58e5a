// The seek slider: its range in sample frames, seeking by drag, keys and
// clicks on the channel.
#include <windows.h>
#include <commctrl.h>

#include "app/main_window.h"
#include "ui/seek_scale.h"
#include "resources/resource_ids.h"
#include "ui/play_road.h"

namespace tarnuvo {

void MainWindow::setupSeekSlider(const TrackInfo& track) {
    const SeekScale scale = seekScaleFor(track);
    SendMessageA(seekSlider, WM_SETREDRAW, FALSE, 0);
    // The packed forms of these messages carry 16 bits.
    SendMessageA(seekSlider, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageA(seekSlider, TBM_SETRANGEMAX, FALSE, scale.maxFrames);
    SendMessageA(seekSlider, TBM_SETPAGESIZE, 0, kSeekPageFrames);
    SendMessageA(seekSlider, TBM_SETLINESIZE, 0, kSeekLineFrames);
    SendMessageA(seekSlider, TBM_CLEARSEL, FALSE, 0);
    if (scale.hasSelection) {
        SendMessageA(seekSlider, TBM_SETSELSTART, FALSE, scale.selectionStart);
        SendMessageA(seekSlider, TBM_SETSELEND, FALSE, scale.selectionEnd);
    }
    SendMessageA(seekSlider, TBM_SETPOS, FALSE, 0);
    SendMessageA(seekSlider, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(seekSlider, nullptr, TRUE);
}

void MainWindow::onScroll(int32_t code, HWND slider) {
    if (slider == volumeSlider)
        onVolumeScroll(code);
    else if (slider && slider == seekSlider)
        onSeekScroll(code);
}

void MainWindow::onSeekScroll(int32_t code) {
    if (road().starting()) {
        // The slider was set up for the track at its open; the seek waits.
        if (code != TB_THUMBTRACK && code != TB_ENDTRACK) seekToSlider();
        return;
    }
    Player& player = road().current();
    if (!player.seekable || player.length == 0) return;
    switch (code) {
        case TB_THUMBTRACK: {
            // Paused for the whole drag; the time shows where it was taken.
            const bool wasPlaying = player.state == Playing;
            togglePause(true);
            if (wasPlaying && player.state == Paused) seekDragPaused = true;
            return;
        }
        case TB_THUMBPOSITION:
        case TB_LINEUP:
        case TB_LINEDOWN:
        case TB_PAGEUP:
        case TB_PAGEDOWN:
        case TB_TOP:
        case TB_BOTTOM:
            seekToSlider();
            return;
        case TB_ENDTRACK:
            // A drag can end without a drop (the capture was lost): the track
            // it paused plays on where it was.
            if (seekDragPaused && player.state == Paused) player.pause(kPauseOff);
            seekDragPaused = false;
            showPauseLook();
            return;
        default:
            return;
    }
}

void MainWindow::seekToSlider() {
    if (road().starting()) {
        road().keepSeek();
        return;
    }
    Player& player = road().current();
    // Always the slider's own position: a scroll message holds 16 bits of it,
    // and none for keys.
    const auto frames = static_cast<int32_t>(SendMessageA(seekSlider, TBM_GETPOS, 0, 0));
    // The range in effect may have moved on since the last pass (the graph
    // player leaves it at the loop end).
    player.applyLoopRange();
    const uint32_t target = seekTargetFor(frames, player.rangeEnd);
    togglePause(true);
    restartAt(target);
    seekDragPaused = false;
    showPauseLook();
    // The player reports the target at once, so the thumb stays there.
    SendMessageA(seekSlider, TBM_SETPOS, TRUE, sliderFrames(target));
}

bool MainWindow::seekSliderTakesPress(LPARAM point) {
    const Player& player = road().current();
    // A track that cannot seek keeps the thumb where it is; one being started
    // has its slider enabled only when it can.
    if (road().starting() ? !IsWindowEnabled(seekSlider) : !player.seekable || player.length == 0)
        return true;
    const int32_t x = LOWORD(point), y = HIWORD(point);
    RECT thumb = {}, channel = {};
    SendMessageA(seekSlider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    if (x >= thumb.left && x <= thumb.right && y >= thumb.top && y <= thumb.bottom) return false;
    SendMessageA(seekSlider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const auto max = static_cast<int32_t>(SendMessageA(seekSlider, TBM_GETRANGEMAX, 0, 0));
    const int32_t frames =
        clickedFrames(x, channel.left, channel.right, (thumb.right - thumb.left) / 2, max);
    if (frames < 0) return false;
    // Straight to the point; beyond the range in effect it stops at its end.
    SendMessageA(seekSlider, TBM_SETPOS, TRUE, frames);
    onSeekScroll(TB_THUMBPOSITION);
    return true;
}

}  // namespace tarnuvo
