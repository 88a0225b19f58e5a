// The volume slider: its start, the player it drives, its label, and the
// decibel tooltip while its thumb is dragged.
#include <windows.h>
#include <commctrl.h>

#include "app/main_window.h"
#include "resources/resource_ids.h"
#include "ui/volume_scale.h"
#include "ui/play_road.h"

namespace tarnuvo {

void MainWindow::setupVolumeSlider() {
    int32_t level = 0;
    volumeAvailable = waveOut_.getVolume(&level) == 0;
    savedVolume = level;
    SendMessageA(volumeSlider, TBM_SETRANGE, FALSE, MAKELPARAM(0, kVolumeSliderMax));
    SendMessageA(volumeSlider, TBM_SETPOS, TRUE, kVolumeSliderMax / 2);
    SendMessageA(volumeSlider, TBM_SETPAGESIZE, 0, kVolumeSliderStep);
    SendMessageA(volumeSlider, TBM_SETLINESIZE, 0, kVolumeSliderStep);
    if (!volumeAvailable) {
        EnableWindow(volumeSlider, FALSE);
        return;
    }
    SendMessageA(volumeSlider, TBM_SETPOS, TRUE, sliderForVolume(static_cast<uint32_t>(level)));
}

void MainWindow::setVolumeTarget(bool isDirectShow) {
    volumeTarget = isDirectShow ? static_cast<Player*>(&directShow_) : &waveOut_;
    // Each player keeps its own level for the whole run.
    int32_t level = 0;
    // A level chosen while the track starts is applied once it has started.
    if (!road().volumeKept() && volumeTarget->getVolume(&level) == 0)
        SendMessageA(volumeSlider, TBM_SETPOS, TRUE, sliderForVolume(static_cast<uint32_t>(level)));
    char label[64] = {};
    LoadStringA(instance_, isDirectShow ? IDS_DIRECTSHOW_VOLUME : IDS_WAVEOUT_VOLUME, label,
                sizeof label);
    SetWindowTextA(volumeLabel, label);
}

void MainWindow::onVolumeScroll(int32_t code) {
    switch (code) {
        case TB_THUMBTRACK:
            applyVolumeSlider();
            showVolumeTip(true);
            return;
        case TB_THUMBPOSITION:
            showVolumeTip(false);
            applyVolumeSlider();
            return;
        case TB_ENDTRACK:
            // Also where a drag ends without a drop.
            showVolumeTip(false);
            return;
        default:
            applyVolumeSlider();
            return;
    }
}

void MainWindow::applyVolumeSlider() {
    if (road().starting()) {
        road().keepVolume();
        return;
    }
    const auto position = static_cast<int32_t>(SendMessageA(volumeSlider, TBM_GETPOS, 0, 0));
    const uint32_t gain = volumeForSlider(position);
    volumeTarget->setVolume(gain | (gain << 16));
}

void MainWindow::showVolumeTip(bool show) {
    if (!tooltips || !volumeSlider) return;
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(volumeSlider);
    SendMessageA(tooltips, TTM_TRACKACTIVATE, show, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(tooltips, show ? TTM_UPDATE : TTM_POP, 0, 0);
}

}  // namespace tarnuvo
