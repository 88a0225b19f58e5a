// Presses on the information panel: the menus of its boxes and its time, the
// loop counter, the track popup of the title line, and the double click that
// shows or hides the playlist.
#include <algorithm>
#include <iterator>

#include "ui/info_panel.h"

#include "app/window_parts.h"
#include "app/window_helpers.h"
#include "resources/resource_ids.h"
#include "ui/panel_content.h"
#include "ui/panel_text.h"
#include "ui/play_road.h"

namespace tarnuvo {
namespace {

constexpr int32_t kModeItems[] = {IDM_MODE_SINGLE, IDM_MODE_REPEAT_ONE, IDM_MODE_REPEAT_ALL,
                                  IDM_MODE_RANDOM};
constexpr int32_t kLoopItems[] = {IDM_LOOP_IGNORE, IDM_FADE_OUT, IDM_FADE_5S, IDM_FADE_10S,
                                  IDM_FADE_20S};
constexpr int32_t kTimeItems[] = {IDM_TIME_ELAPSED, IDM_TIME_SEEK, IDM_TIME_REMAINING};
constexpr int32_t kMaxLoopCount = 99;

}  // namespace

void InfoPanel::onPress(UINT message, int32_t x, int32_t y) {
    const HWND window = frame_.window();
    const PanelHit hit = hitPanel(areas_, x, y, !frame_.playlist().empty());
    // The second press of a quick pair arrives as a double click: inside an
    // area it is one more press, elsewhere it shows or hides the playlist.
    if (message == WM_LBUTTONDBLCLK) {
        if (hit == PanelHit::None) {
            SendMessageA(window, WM_COMMAND, IDM_SHOW_LIST, 0);
            return;
        }
        message = WM_LBUTTONDOWN;
    } else if (message == WM_RBUTTONDBLCLK) {
        message = WM_RBUTTONDOWN;
    }
    switch (hit) {
        case PanelHit::Mode:
            popupFromMenuItems(window, nullptr, kModeItems, std::size(kModeItems));
            return;
        case PanelHit::Loop:
            popupFromMenuItems(window, nullptr, kLoopItems, std::size(kLoopItems));
            return;
        case PanelHit::Time:
            popupFromMenuItems(window, nullptr, kTimeItems, std::size(kTimeItems));
            return;
        case PanelHit::Counter:
            stepLoopCount(message == WM_LBUTTONDOWN ? 1 : -1);
            return;
        case PanelHit::Title: {
            UniqueMenu tracks = trackPopupMenu();
            if (tracks) trackPopup(window, tracks.get(), nullptr, 0);
            return;
        }
        case PanelHit::None:
            return;
    }
}

void InfoPanel::stepLoopCount(int32_t step) {
    AppEnvironment& env = frame_.environment();
    const int32_t count = env.loopCount + step;
    if (count >= 0 && count <= kMaxLoopCount) env.loopCount = count;
    road_.applyModes();
    refresh(false);
}

UniqueMenu InfoPanel::trackPopupMenu() const {
    const Playlist& playlist = frame_.playlist();
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return menu;
    const int32_t count = std::min(playlist.count(), kTrackPopupEntries);
    for (int32_t number = 1; number <= count; ++number) {
        char text[kPopupTextSize];
        trackPopupText(number, playlist.entryAt(number - 1)->title, text, sizeof text);
        const UINT flags = MF_STRING | (startsPopupColumn(number) ? MF_MENUBARBREAK : 0);
        AppendMenuA(menu.get(), flags, IDM_JUMP_FIRST + number - 1, text);
    }
    return menu;
}

}  // namespace tarnuvo
