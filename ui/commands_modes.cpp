// The toggles and modes of the menus: grid lines, always on top, the time
// and play modes and ignoring the loop range.
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

}  // namespace

void MainWindow::toggleAlwaysOnTop() {
    env.alwaysOnTop = env.alwaysOnTop ? 0 : 1;
    setMenuCheck(GetMenu(window), IDM_ALWAYS_ON_TOP, env.alwaysOnTop != 0);
    SetWindowPos(window, env.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
}

void MainWindow::toggleGridLines() {
    env.gridLine = env.gridLine ? 0 : 1;
    setMenuCheck(GetMenu(window), IDM_GRID_LINES, env.gridLine != 0);
    SendMessageA(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES,
                 env.gridLine ? LVS_EX_GRIDLINES : 0);
}

void MainWindow::setTimeMode(uint32_t id) {
    env.timeMode = id == IDM_TIME_SEEK ? 1 : id == IDM_TIME_REMAINING ? 2 : 0;
    checkOneOf(GetMenu(window), IDM_TIME_ELAPSED, IDM_TIME_REMAINING,
               IDM_TIME_ELAPSED + static_cast<UINT>(env.timeMode));
    refreshPanelForSettings();
}

void MainWindow::setPlayMode(uint32_t id) {
    env.playMode = id == IDM_MODE_REPEAT_ONE   ? RepeatOne
                   : id == IDM_MODE_REPEAT_ALL ? RepeatAll
                   : id == IDM_MODE_RANDOM     ? Random
                                               : Single;
    checkOneOf(GetMenu(window), IDM_MODE_SINGLE, IDM_MODE_RANDOM,
               IDM_MODE_SINGLE + static_cast<UINT>(env.playMode));
    // The play mode decides whether the loop range applies (a track being
    // started takes it once started).
    if (!starting) currentPlayer->applyLoopRange();
    refreshPanelForSettings();
}

void MainWindow::toggleLoopIgnore() {
    env.loopIgnore = env.loopIgnore ? 0 : 1;
    setMenuCheck(GetMenu(window), IDM_LOOP_IGNORE, env.loopIgnore != 0);
    if (!starting) currentPlayer->applyLoopRange();
    refreshPanelForSettings();
}

void MainWindow::refreshPanelForSettings() {
    // While stopped the panel shows the selected entry; without one, the
    // current player, so that the new mode shows either way.
    if (playbackState() != Stopped || playlist.empty() || selectedRow() == -1) {
        redrawInfoPanel(true, true);
    } else {
        onSelectionChanged();
    }
}

}  // namespace tarnuvo
