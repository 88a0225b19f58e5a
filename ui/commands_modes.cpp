// The toggles and modes of the menus: grid lines, always on top, the time
// and play modes, ignoring the loop range and the fade after the last pass.
#include <windows.h>
#include <commctrl.h>

#include "app/main_window.h"
#include "app/window_helpers.h"
#include "resources/resource_ids.h"

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

void MainWindow::toggleAlwaysOnTop() {
    env_.alwaysOnTop = env_.alwaysOnTop ? 0 : 1;
    setMenuCheck(GetMenu(window_), IDM_ALWAYS_ON_TOP, env_.alwaysOnTop != 0);
    SetWindowPos(window_, env_.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
}

void MainWindow::toggleGridLines() {
    env_.gridLine = env_.gridLine ? 0 : 1;
    setMenuCheck(GetMenu(window_), IDM_GRID_LINES, env_.gridLine != 0);
    setListGridLines(env_.gridLine != 0);
}

void MainWindow::setTimeMode(uint32_t id) {
    env_.timeMode = id == IDM_TIME_SEEK ? 1 : id == IDM_TIME_REMAINING ? 2 : 0;
    checkOneOf(GetMenu(window_), IDM_TIME_ELAPSED, IDM_TIME_REMAINING,
               IDM_TIME_ELAPSED + static_cast<UINT>(env_.timeMode));
    refreshPanelForSettings();
}

void MainWindow::setPlayMode(uint32_t id) {
    env_.playMode = id == IDM_MODE_REPEAT_ONE   ? RepeatOne
                    : id == IDM_MODE_REPEAT_ALL ? RepeatAll
                    : id == IDM_MODE_RANDOM     ? Random
                                                : Single;
    checkOneOf(GetMenu(window_), IDM_MODE_SINGLE, IDM_MODE_RANDOM,
               IDM_MODE_SINGLE + static_cast<UINT>(env_.playMode));
    // The play mode decides whether the loop range applies (a track being
    // started takes it once started).
    if (!starting) currentPlayer->applyLoopRange();
    refreshPanelForSettings();
}

void MainWindow::toggleLoopIgnore() {
    env_.loopIgnore = env_.loopIgnore ? 0 : 1;
    setMenuCheck(GetMenu(window_), IDM_LOOP_IGNORE, env_.loopIgnore != 0);
    if (!starting) currentPlayer->applyLoopRange();
    refreshPanelForSettings();
}

void MainWindow::toggleFadeOut() {
    env_.fadeOut = env_.fadeOut ? 0 : 1;
    applyFadeSettings();
}

void MainWindow::setFadeLength(uint32_t id) {
    for (const FadeLengthItem& item : kFadeLengths)
        if (item.id == id) env_.fadeLengthMs = item.ms;
    applyFadeSettings();
}

void MainWindow::checkFadeItems() {
    HMENU menu = GetMenu(window_);
    setMenuCheck(menu, IDM_FADE_OUT, env_.fadeOut != 0);
    // A length set by hand in the settings file checks none of them.
    for (const FadeLengthItem& item : kFadeLengths)
        setMenuCheck(menu, item.id, item.ms == env_.fadeLengthMs);
}

void MainWindow::applyFadeSettings() {
    checkFadeItems();
    // The player decides at the end of the last pass; until then it follows.
    currentPlayer->applyLoopRange();
    refreshPanelForSettings();
}

void MainWindow::refreshPanelForSettings() {
    // While stopped the panel shows the selected entry; without one, the
    // current player, so that the new mode shows either way.
    if (playbackState() != Stopped || playlist_.empty() || selectedRow() == -1) {
        redrawInfoPanel(true, true);
    } else {
        onSelectionChanged();
    }
}

}  // namespace tarnuvo
