// The toggles and modes of the menus: grid lines, always on top, the time
// and play modes, ignoring the loop range and the fade after the last pass.
#include "ui/menu_modes.h"

#include <windows.h>
#include <commctrl.h>

#include "app/window_parts.h"
#include "app/window_helpers.h"
#include "resources/resource_ids.h"
#include "ui/play_road.h"
#include "ui/info_panel.h"
#include "ui/list_pane.h"

namespace tarnuvo {
namespace {

// Checks `chosen` and clears the other items of its group.
void checkOneOf(HMENU menu, UINT first, UINT last, UINT chosen) {
    for (UINT id = first; id <= last; ++id) setMenuCheck(menu, id, id == chosen);
}

struct FadeLengthItem {
    UINT id;
    int32_t ms;
};
constexpr FadeLengthItem kFadeLengths[] = {
    {IDM_FADE_5S, 5000}, {IDM_FADE_10S, 10000}, {IDM_FADE_20S, 20000}};

}  // namespace

void MenuModes::setUp() {
    const HWND window = frame_.window();
    HMENU menu = GetMenu(window);
    int32_t mode = env_.playMode >= Single && env_.playMode <= Random ? env_.playMode : Single;
    setMenuCheck(menu, IDM_MODE_SINGLE + mode, true);
    int32_t time = env_.timeMode >= 0 && env_.timeMode <= 2 ? env_.timeMode : 0;
    setMenuCheck(menu, IDM_TIME_ELAPSED + time, true);
    if (env_.loopIgnore) setMenuCheck(menu, IDM_LOOP_IGNORE, true);
    if (env_.showList) setMenuCheck(menu, IDM_SHOW_LIST, true);
    checkFadeItems();
    // No control offers "do not use waveOut"; the command itself stays.
    DeleteMenu(menu, IDM_NO_WAVEOUT, MF_BYCOMMAND);
    DrawMenuBar(window);
}

void MenuModes::toggleAlwaysOnTop() {
    env_.alwaysOnTop = env_.alwaysOnTop ? 0 : 1;
    setMenuCheck(GetMenu(frame_.window()), IDM_ALWAYS_ON_TOP, env_.alwaysOnTop != 0);
    SetWindowPos(frame_.window(), env_.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
}

void MenuModes::restoreAlwaysOnTop() {
    if (env_.alwaysOnTop != 1) return;
    // The toggle inverts its setting, so it starts from the other value.
    env_.alwaysOnTop = 0;
    toggleAlwaysOnTop();
}

void MenuModes::toggleGridLines() {
    env_.gridLine = env_.gridLine ? 0 : 1;
    setMenuCheck(GetMenu(frame_.window()), IDM_GRID_LINES, env_.gridLine != 0);
    list_.setGridLines(env_.gridLine != 0);
}

void MenuModes::setTimeMode(uint32_t id) {
    env_.timeMode = id == IDM_TIME_SEEK ? 1 : id == IDM_TIME_REMAINING ? 2 : 0;
    checkOneOf(GetMenu(frame_.window()), IDM_TIME_ELAPSED, IDM_TIME_REMAINING,
               IDM_TIME_ELAPSED + static_cast<UINT>(env_.timeMode));
    refreshPanel();
}

void MenuModes::setPlayMode(uint32_t id) {
    env_.playMode = id == IDM_MODE_REPEAT_ONE   ? RepeatOne
                    : id == IDM_MODE_REPEAT_ALL ? RepeatAll
                    : id == IDM_MODE_RANDOM     ? Random
                                                : Single;
    checkOneOf(GetMenu(frame_.window()), IDM_MODE_SINGLE, IDM_MODE_RANDOM,
               IDM_MODE_SINGLE + static_cast<UINT>(env_.playMode));
    // The play mode decides whether the loop range applies.
    road_.applyModes();
    refreshPanel();
}

void MenuModes::toggleLoopIgnore() {
    env_.loopIgnore = env_.loopIgnore ? 0 : 1;
    setMenuCheck(GetMenu(frame_.window()), IDM_LOOP_IGNORE, env_.loopIgnore != 0);
    road_.applyModes();
    refreshPanel();
}

void MenuModes::toggleFadeOut() {
    env_.fadeOut = env_.fadeOut ? 0 : 1;
    applyFadeSettings();
}

void MenuModes::setFadeLength(uint32_t id) {
    for (const FadeLengthItem& item : kFadeLengths)
        if (item.id == id) env_.fadeLengthMs = item.ms;
    applyFadeSettings();
}

void MenuModes::checkFadeItems() {
    HMENU menu = GetMenu(frame_.window());
    setMenuCheck(menu, IDM_FADE_OUT, env_.fadeOut != 0);
    // A length set by hand in the settings file checks none of them.
    for (const FadeLengthItem& item : kFadeLengths)
        setMenuCheck(menu, item.id, item.ms == env_.fadeLengthMs);
}

void MenuModes::applyFadeSettings() {
    checkFadeItems();
    // The player decides at the end of the last pass; until then it follows.
    road_.current().applyLoopRange();
    refreshPanel();
}

void MenuModes::refreshPanel() {
    // While stopped the panel shows the selected entry; without one, the
    // current player, so that the new mode shows either way.
    if (road_.state() != Stopped || playlist_.empty() || list_.selectedRow() == -1) {
        panel_.redraw(true, true);
    } else {
        list_.onSelectionChanged();
    }
}

}  // namespace tarnuvo
