// The controls of the main dialog as set-up prepares them: handles and the
// tooltips.
#include <windows.h>
#include <commctrl.h>

#include "app/main_window.h"
#include "resources/resource_ids.h"
#include "ui/play_buttons.h"

namespace tarnuvo {

void MainWindow::bindControls() {
    seekSlider = GetDlgItem(window_, IDC_SEEK_SLIDER);
    volumeSlider = GetDlgItem(window_, IDC_VOLUME_SLIDER);
    volumeLabel = GetDlgItem(window_, IDC_VOLUME_LABEL);
    EnableWindow(seekSlider, FALSE);
}

HWND MainWindow::createTooltips() {
    HWND tips =
        CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
    if (!tips) return nullptr;
    HWND tools[kButtonCount + 1] = {};
    for (int32_t i = 0; i < kButtonCount; ++i) tools[i] = transportButton(i);
    tools[kButtonCount] = volumeSlider;
    for (HWND tool : tools) {
        if (!tool) continue;
        TOOLINFOA info = {};
        info.cbSize = sizeof info;
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = window_;
        info.uId = reinterpret_cast<UINT_PTR>(tool);
        info.lpszText = LPSTR_TEXTCALLBACKA;  // asked for when shown
        SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
    return tips;
}

}  // namespace tarnuvo
