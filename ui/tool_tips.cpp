// The tooltips of the transport buttons and the volume slider, and their
// texts, asked for when a tip shows: the string whose id is the button's or
// the toolbar command's, and the volume in decibels. Tooltip controls ask in
// the ANSI or the wide form, by their own choice.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "app/window_parts.h"
#include "ui/volume_control.h"
#include "resources/resource_ids.h"
#include "ui/volume_scale.h"
#include "ui/play_buttons.h"
#include "ui/play_road.h"
#include "ui/transport_buttons.h"

namespace tarnuvo {
namespace {

constexpr UINT_PTR kToolbarCommands[] = {IDM_OPEN_LIST, IDM_ADD_FILES, IDM_SAVE_LIST,
                                         IDM_DELETE,    IDM_CLEAR,     IDM_PROPERTIES,
                                         IDM_MOVE_UP,   IDM_MOVE_DOWN, IDM_VERSION};

bool hasStringTip(UINT_PTR id) {
    return (id >= IDC_PLAY && id <= IDC_OPEN) ||
           std::find(std::begin(kToolbarCommands), std::end(kToolbarCommands), id) !=
               std::end(kToolbarCommands);
}

// The tool's control id: tools registered by window name their window.
UINT_PTR toolId(UINT_PTR idFrom, UINT flags) {
    if (!(flags & TTF_IDISHWND)) return idFrom;
    return static_cast<UINT_PTR>(GetDlgCtrlID(reinterpret_cast<HWND>(idFrom)));
}

}  // namespace

void VolumeControl::createTooltips() {
    const HWND window = frame_.window();
    HWND tips =
        CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, frame_.instance(), nullptr);
    tooltips_ = tips;
    if (!tips) return;
    HWND tools[kButtonCount + 1] = {};
    for (int32_t i = 0; i < kButtonCount; ++i) tools[i] = buttons_.handle(i);
    tools[kButtonCount] = slider_;
    for (HWND tool : tools) {
        if (!tool) continue;
        TOOLINFOA info = {};
        info.cbSize = sizeof info;
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = window;
        info.uId = reinterpret_cast<UINT_PTR>(tool);
        info.lpszText = LPSTR_TEXTCALLBACKA;  // asked for when shown
        SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
}

bool VolumeControl::onToolTipText(NMHDR& header) {
    const bool wide = header.code == TTN_GETDISPINFOW;
    if (!wide && header.code != TTN_GETDISPINFOA) return false;
    auto* narrowInfo = reinterpret_cast<NMTTDISPINFOA*>(&header);
    auto* wideInfo = reinterpret_cast<NMTTDISPINFOW*>(&header);
    const UINT_PTR id = toolId(header.idFrom, wide ? wideInfo->uFlags : narrowInfo->uFlags);
    if (id == IDC_VOLUME_SLIDER) {
        int32_t level = -1;
        if (road_.starting()) {
            const auto place = static_cast<int32_t>(SendMessageA(slider_, TBM_GETPOS, 0, 0));
            level = static_cast<int32_t>(volumeForSlider(place));
        } else {
            target_->getVolume(&level);
        }
        char text[kDecibelTextSize];
        volumeDecibelText(static_cast<uint32_t>(level), text, sizeof text);
        if (wide) {
            std::copy(text, text + sizeof text, wideInfo->szText);  // ASCII only
            wideInfo->lpszText = wideInfo->szText;
            wideInfo->hinst = nullptr;
        } else {
            std::copy(text, text + sizeof text, narrowInfo->szText);
            narrowInfo->lpszText = narrowInfo->szText;
            narrowInfo->hinst = nullptr;
        }
        return true;
    }
    if (!hasStringTip(id)) return false;
    if (wide) {
        wideInfo->hinst = frame_.instance();
        wideInfo->lpszText = MAKEINTRESOURCEW(id);
    } else {
        narrowInfo->hinst = frame_.instance();
        narrowInfo->lpszText = MAKEINTRESOURCEA(id);
    }
    return true;
}

}  // namespace tarnuvo
