// The seek slider: its range in sample frames, and seeking by drag and keys.
#include "ui/seek_bar.h"

#include <windows.h>
#include <commctrl.h>

#include "app/window_parts.h"
#include "app/visual_styles.h"
#include "ui/seek_scale.h"
#include "ui/play_road.h"
#include "ui/transport_buttons.h"

namespace tarnuvo {

void SeekBar::setUpFor(const TrackInfo& track) {
    const SeekScale scale = seekScaleFor(track);
    SendMessageA(slider_, WM_SETREDRAW, FALSE, 0);
    // The packed forms of these messages carry 16 bits.
    SendMessageA(slider_, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageA(slider_, TBM_SETRANGEMAX, FALSE, scale.maxFrames);
    SendMessageA(slider_, TBM_SETPAGESIZE, 0, kSeekPageFrames);
    SendMessageA(slider_, TBM_SETLINESIZE, 0, kSeekLineFrames);
    SendMessageA(slider_, TBM_CLEARSEL, FALSE, 0);
    if (scale.hasSelection) {
        SendMessageA(slider_, TBM_SETSELSTART, FALSE, scale.selectionStart);
        SendMessageA(slider_, TBM_SETSELEND, FALSE, scale.selectionEnd);
    }
    SendMessageA(slider_, TBM_SETPOS, FALSE, 0);
    SendMessageA(slider_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(slider_, nullptr, TRUE);
}

void SeekBar::onScroll(int32_t code) {
    if (road_.starting()) {
        // The slider was set up for the track at its open; the seek waits.
        if (code != TB_THUMBTRACK && code != TB_ENDTRACK) seekToSlider();
        return;
    }
    Player& player = road_.current();
    if (!player.seekable || player.length == 0) return;
    switch (code) {
        case TB_THUMBTRACK: {
            // Paused for the whole drag; the time shows where it was taken.
            const bool wasPlaying = player.state == Playing;
            road_.togglePause(true);
            if (wasPlaying && player.state == Paused) dragPaused_ = true;
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
            if (dragPaused_ && player.state == Paused) player.pause(kPauseOff);
            dragPaused_ = false;
            buttons_.showPauseLook();
            return;
        default:
            return;
    }
}

void SeekBar::seekToSlider() {
    if (road_.starting()) {
        road_.keepSeek();
        return;
    }
    Player& player = road_.current();
    // Always the slider's own position: a scroll message holds 16 bits of it,
    // and none for keys.
    const auto frames = static_cast<int32_t>(SendMessageA(slider_, TBM_GETPOS, 0, 0));
    // The range in effect may have moved on since the last pass (the graph
    // player leaves it at the loop end).
    player.applyLoopRange();
    const uint32_t target = seekTargetFor(frames, player.rangeEnd);
    road_.togglePause(true);
    road_.restartAt(target);
    dragPaused_ = false;
    buttons_.showPauseLook();
    // The player reports the target at once, so the thumb stays there.
    SendMessageA(slider_, TBM_SETPOS, TRUE, sliderFrames(target));
}

void SeekBar::showPosition(uint32_t samplePosition) {
    SendMessageA(slider_, TBM_SETPOS, TRUE, sliderFrames(samplePosition));
}

void SeekBar::reset() {
    SendMessageA(slider_, TBM_SETPOS, TRUE, 0);
}

void SeekBar::enable(bool on) {
    EnableWindow(slider_, on ? TRUE : FALSE);
}

void SeekBar::clearSelection() {
    SendMessageA(slider_, TBM_CLEARSEL, TRUE, 0);
}

void SeekBar::useClassicLook() {
    setWindowTheme(slider_, L" ", L" ");
}

}  // namespace tarnuvo
