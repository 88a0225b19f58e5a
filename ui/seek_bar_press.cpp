// The seek slider's window procedure: a press on the channel jumps straight
// to its point instead of paging towards it.
#include <windows.h>
#include <commctrl.h>

#include "app/window_parts.h"
#include "resources/resource_ids.h"
#include "ui/seek_bar.h"
#include "ui/seek_scale.h"
#include "ui/play_road.h"

namespace tarnuvo {

void SeekBar::bind(HWND dialog) {
    slider_ = GetDlgItem(dialog, IDC_SEEK_SLIDER);
}

void SeekBar::subclass() {
    subclassed_.install(slider_, procedure, this);
}

LRESULT CALLBACK SeekBar::procedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    SeekBar* self = SubclassedControl::ownerOf<SeekBar>(control);
    if (!self) return DefWindowProcA(control, message, wParam, lParam);
    if (message == WM_LBUTTONDOWN && self->takesPress(lParam)) return 0;
    return self->subclassed_.callFormer(control, message, wParam, lParam);
}

bool SeekBar::takesPress(LPARAM point) {
    const Player& player = road_.current();
    // A track that cannot seek keeps the thumb where it is; one being started
    // has its slider enabled only when it can.
    if (road_.starting() ? !IsWindowEnabled(slider_) : !player.seekable || player.length == 0)
        return true;
    const int32_t x = LOWORD(point), y = HIWORD(point);
    RECT thumb = {}, channel = {};
    SendMessageA(slider_, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    if (x >= thumb.left && x <= thumb.right && y >= thumb.top && y <= thumb.bottom) return false;
    SendMessageA(slider_, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const auto max = static_cast<int32_t>(SendMessageA(slider_, TBM_GETRANGEMAX, 0, 0));
    const int32_t frames =
        clickedFrames(x, channel.left, channel.right, (thumb.right - thumb.left) / 2, max);
    if (frames < 0) return false;
    // Straight to the point; beyond the range in effect it stops at its end.
    SendMessageA(slider_, TBM_SETPOS, TRUE, frames);
    onScroll(TB_THUMBPOSITION);
    return true;
}

}  // namespace tarnuvo
