// The volume slider: its start, the player it drives, its label, and the
// decibel tooltip while its thumb is dragged.
#include "ui/volume_control.h"

#include <windows.h>
#include <commctrl.h>

#include "app/window_parts.h"
#include "resources/resource_ids.h"
#include "ui/volume_scale.h"
#include "ui/play_road.h"

namespace tarnuvo {

VolumeControl::VolumeControl(WindowFrame& frame, PlayRoad& road, TransportButtons& buttons)
    : frame_(frame), road_(road), buttons_(buttons), target_(&frame.waveOut()) {}

void VolumeControl::bind(HWND dialog) {
    slider_ = GetDlgItem(dialog, IDC_VOLUME_SLIDER);
    label_ = GetDlgItem(dialog, IDC_VOLUME_LABEL);
}

void VolumeControl::setUp() {
    int32_t level = 0;
    available_ = frame_.waveOut().getVolume(&level) == 0;
    savedVolume_ = level;
    SendMessageA(slider_, TBM_SETRANGE, FALSE, MAKELPARAM(0, kVolumeSliderMax));
    SendMessageA(slider_, TBM_SETPOS, TRUE, kVolumeSliderMax / 2);
    SendMessageA(slider_, TBM_SETPAGESIZE, 0, kVolumeSliderStep);
    SendMessageA(slider_, TBM_SETLINESIZE, 0, kVolumeSliderStep);
    if (!available_) {
        EnableWindow(slider_, FALSE);
        return;
    }
    SendMessageA(slider_, TBM_SETPOS, TRUE, sliderForVolume(static_cast<uint32_t>(level)));
}

void VolumeControl::setTarget(bool isDirectShow) {
    target_ = isDirectShow ? static_cast<Player*>(&frame_.directShow()) : &frame_.waveOut();
    // Each player keeps its own level for the whole run.
    int32_t level = 0;
    // A level chosen while the track starts is applied once it has started.
    if (!road_.volumeKept() && target_->getVolume(&level) == 0)
        SendMessageA(slider_, TBM_SETPOS, TRUE, sliderForVolume(static_cast<uint32_t>(level)));
    char label[64] = {};
    LoadStringA(frame_.instance(), isDirectShow ? IDS_DIRECTSHOW_VOLUME : IDS_WAVEOUT_VOLUME, label,
                sizeof label);
    SetWindowTextA(label_, label);
}

void VolumeControl::onScroll(int32_t code) {
    switch (code) {
        case TB_THUMBTRACK:
            apply();
            showTip(true);
            return;
        case TB_THUMBPOSITION:
            showTip(false);
            apply();
            return;
        case TB_ENDTRACK:
            // Also where a drag ends without a drop.
            showTip(false);
            return;
        default:
            apply();
            return;
    }
}

void VolumeControl::apply() {
    if (road_.starting()) {
        road_.keepVolume();
        return;
    }
    const auto position = static_cast<int32_t>(SendMessageA(slider_, TBM_GETPOS, 0, 0));
    const uint32_t gain = volumeForSlider(position);
    target_->setVolume(gain | (gain << 16));
}

void VolumeControl::showTip(bool show) {
    if (!tooltips_ || !slider_) return;
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = frame_.window();
    tool.uId = reinterpret_cast<UINT_PTR>(slider_);
    SendMessageA(tooltips_, TTM_TRACKACTIVATE, show, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(tooltips_, show ? TTM_UPDATE : TTM_POP, 0, 0);
}

}  // namespace tarnuvo
