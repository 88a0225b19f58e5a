// The window's layout: the layout records, resizing, and hiding and showing
// the playlist (command 40100).
#include "app/main_window.h"
#include "app/window_helpers.h"
#include "resources/resource_ids.h"
#include "ui/list_pane.h"
#include "ui/main_view.h"
#include "ui/play_buttons.h"

namespace tarnuvo {

void MainWindow::refreshLayoutEntry(int32_t slot) {
    LayoutEntry& entry = layoutTable[slot];
    if (!entry.control) return;
    RECT r = {};
    GetWindowRect(entry.control, &r);
    MapWindowPoints(HWND_DESKTOP, entry.parent, reinterpret_cast<POINT*>(&r), 2);
    entry.x = r.left;
    entry.y = r.top;
    entry.width = r.right - r.left;
    entry.height = r.bottom - r.top;
}

void MainWindow::moveLayoutEntry(int32_t slot, int32_t dx, int32_t dy, int32_t dWidth,
                                 int32_t dHeight, bool repaint) {
    LayoutEntry& entry = layoutTable[slot];
    if (!entry.control) return;
    MoveWindow(entry.control, entry.x + dx, entry.y + dy, entry.width + dWidth,
               entry.height + dHeight, repaint);
    refreshLayoutEntry(slot);
}

void MainWindow::redrawWholeWindow() {
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void MainWindow::onSize(uint32_t type, int32_t width, int32_t height) {
    // A minimised window reports a client of 0 x 0 (without a tray icon, or
    // from "show desktop"): the deltas would fold every control to nothing,
    // and the restore brings back the size the controls were laid out for.
    if (type == SIZE_MINIMIZED) return;
    mainView(*this).listPane().placeToolbar(width);
    if (etchedLine) {
        RECT line = {};
        GetWindowRect(etchedLine, &line);
        int32_t h = line.bottom - line.top;
        MoveWindow(etchedLine, 0, env_.showList ? h + toolbarHeight() : 0, width, h, TRUE);
    }
    if (previousWidth == 0 && previousHeight == 0) return;  // set-up still runs
    if (collapsePending) {
        // The resize that followed a playlist toggle: its controls are placed.
        RECT outer = {};
        GetWindowRect(window_, &outer);
        locked = {outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top};
        collapsePending = false;
        previousWidth = width;
        previousHeight = height;
        return;
    }
    int32_t dW = width - previousWidth;
    int32_t dH = height - previousHeight;
    moveLayoutEntry(LayoutList, 0, 0, dW, dH, false);
    moveLayoutEntry(LayoutPanel, 0, dH, dW, 0, false);
    moveLayoutEntry(LayoutSeek, 0, dH, dW, 0, false);
    moveLayoutEntry(LayoutVolume, dW, dH, 0, 0, false);
    moveLayoutEntry(LayoutVolumeLabel, dW, dH, 0, 0, false);
    for (int32_t i = 0; i < kButtonCount; ++i)
        moveLayoutEntry(LayoutFirstButton + i, 0, dH, 0, 0, false);
    rebuildPanelBuffer();
    redrawInfoPanel(true, false);
    onSelectionChanged();
    redrawWholeWindow();
    previousWidth = width;
    previousHeight = height;
}

void MainWindow::togglePlaylist() {
    env_.showList = env_.showList ? 0 : 1;
    setMenuCheck(GetMenu(window_), IDM_SHOW_LIST, env_.showList != 0);
    mainView(*this).listPane().show(env_.showList != 0);
    if (etchedLine) ShowWindow(etchedLine, SW_HIDE);
    const LayoutEntry& list = layoutTable[LayoutList];
    int32_t d = list.y + list.height;
    if (!env_.showList) d = -d;
    for (int32_t slot = LayoutPanel; slot < kLayoutEntries; ++slot)
        moveLayoutEntry(slot, 0, d, 0, 0, false);
    redrawWholeWindow();
    // The resize below locks the window's height while the list is hidden.
    locked.width = 0;
    collapsePending = true;
    RECT outer = {};
    GetWindowRect(window_, &outer);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top + d,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (etchedLine) ShowWindow(etchedLine, SW_SHOW);
}

}  // namespace tarnuvo
