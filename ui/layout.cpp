// The window's layout: the layout records, resizing, hiding and showing the
// playlist (command 40100), the size limits and the stored placement.
#include "ui/layout.h"

#include "app/window_parts.h"
#include "app/settings_rules.h"
#include "app/window_helpers.h"
#include "resources/resource_ids.h"
#include "ui/list_pane.h"
#include "ui/play_buttons.h"
#include "ui/info_panel.h"

namespace tarnuvo {

void Layout::bind(HWND dialog) {
    etchedLine_ = GetDlgItem(dialog, IDC_ETCHED_LINE);
    const int ids[kLayoutEntries] = {IDC_PLAYLIST, IDC_INFO_PANEL, IDC_SEEK_SLIDER,
                                     IDC_VOLUME_SLIDER, IDC_VOLUME_LABEL};
    for (int32_t slot = 0; slot < kLayoutEntries; ++slot) {
        const int id = slot < LayoutFirstButton ? ids[slot] : IDC_PLAY + slot - LayoutFirstButton;
        table_[slot].control = GetDlgItem(dialog, id);
        table_[slot].parent = dialog;
        refresh(slot);
    }
}

void Layout::refresh(int32_t slot) {
    LayoutEntry& entry = table_[slot];
    if (!entry.control) return;
    RECT r = {};
    GetWindowRect(entry.control, &r);
    MapWindowPoints(HWND_DESKTOP, entry.parent, reinterpret_cast<POINT*>(&r), 2);
    entry.x = r.left;
    entry.y = r.top;
    entry.width = r.right - r.left;
    entry.height = r.bottom - r.top;
}

void Layout::placeAll(int32_t dy) {
    for (int32_t slot = 0; slot < kLayoutEntries; ++slot) move(slot, 0, dy, 0, 0, true);
}

void Layout::move(int32_t slot, int32_t dx, int32_t dy, int32_t dWidth, int32_t dHeight,
                  bool repaint) {
    LayoutEntry& entry = table_[slot];
    if (!entry.control) return;
    MoveWindow(entry.control, entry.x + dx, entry.y + dy, entry.width + dWidth,
               entry.height + dHeight, repaint);
    refresh(slot);
}

void Layout::notePlaced() {
    RECT client = {};
    GetClientRect(frame_.window(), &client);
    previousWidth_ = client.right;
    previousHeight_ = client.bottom;
}

void Layout::redrawWholeWindow() {
    RedrawWindow(frame_.window(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void Layout::onSize(uint32_t type, int32_t width, int32_t height) {
    // A minimised window reports a client of 0 x 0 (without a tray icon, or
    // from "show desktop"): the deltas would fold every control to nothing,
    // and the restore brings back the size the controls were laid out for.
    if (type == SIZE_MINIMIZED) return;
    list_.placeToolbar(width);
    if (etchedLine_) {
        RECT line = {};
        GetWindowRect(etchedLine_, &line);
        int32_t h = line.bottom - line.top;
        MoveWindow(etchedLine_, 0, frame_.environment().showList ? h + list_.toolbarHeight() : 0,
                   width, h, TRUE);
    }
    if (previousWidth_ == 0 && previousHeight_ == 0) return;  // set-up still runs
    if (collapsePending_) {
        // The resize that followed a playlist toggle: its controls are placed.
        RECT outer = {};
        GetWindowRect(frame_.window(), &outer);
        locked_ = {outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top};
        collapsePending_ = false;
        previousWidth_ = width;
        previousHeight_ = height;
        return;
    }
    int32_t dW = width - previousWidth_;
    int32_t dH = height - previousHeight_;
    move(LayoutList, 0, 0, dW, dH, false);
    move(LayoutPanel, 0, dH, dW, 0, false);
    move(LayoutSeek, 0, dH, dW, 0, false);
    move(LayoutVolume, dW, dH, 0, 0, false);
    move(LayoutVolumeLabel, dW, dH, 0, 0, false);
    for (int32_t i = 0; i < kButtonCount; ++i) move(LayoutFirstButton + i, 0, dH, 0, 0, false);
    panel_.rebuild();
    panel_.redraw(true, false);
    list_.onSelectionChanged();
    redrawWholeWindow();
    previousWidth_ = width;
    previousHeight_ = height;
}

void Layout::onGetMinMaxInfo(MINMAXINFO& info) const {
    // Not during set-up: its own resizes would widen the window past the
    // controls, which are laid out to the template's width until then.
    if (previousWidth_ == 0 && previousHeight_ == 0) return;
    if (frame_.environment().showList) {
        info.ptMinTrackSize.x = kMinimumWindowWidth;
        info.ptMinTrackSize.y = kMinimumWindowHeight;
    } else if (locked_.width != 0) {
        // Wider, but neither taller nor shorter, while the playlist is hidden.
        info.ptMinTrackSize.x = kMinimumWindowWidth;
        info.ptMinTrackSize.y = locked_.height;
        info.ptMaxTrackSize.y = locked_.height;
    }
}

void Layout::togglePlaylist() {
    AppEnvironment& env = frame_.environment();
    const HWND window = frame_.window();
    env.showList = env.showList ? 0 : 1;
    setMenuCheck(GetMenu(window), IDM_SHOW_LIST, env.showList != 0);
    list_.show(env.showList != 0);
    if (etchedLine_) ShowWindow(etchedLine_, SW_HIDE);
    const LayoutEntry& list = table_[LayoutList];
    int32_t d = list.y + list.height;
    if (!env.showList) d = -d;
    for (int32_t slot = LayoutPanel; slot < kLayoutEntries; ++slot) move(slot, 0, d, 0, 0, false);
    redrawWholeWindow();
    // The resize below locks the window's height while the list is hidden.
    locked_.width = 0;
    collapsePending_ = true;
    RECT outer = {};
    GetWindowRect(window, &outer);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top + d,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (etchedLine_) ShowWindow(etchedLine_, SW_SHOW);
}

void Layout::restoreListHidden() {
    AppEnvironment& env = frame_.environment();
    if (env.showList) return;
    // The toggle inverts the setting, so it starts from the other value.
    env.showList = 1;
    togglePlaylist();
}

void Layout::restorePlacement() {
    const AppEnvironment& env = frame_.environment();
    const HWND window = frame_.window();
    if (IsRectEmpty(&env.windowPos)) {
        // The template is narrower than the window's minimum width: the
        // window takes its final size first, so that it is centred with it.
        RECT outer = {};
        GetWindowRect(window, &outer);
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        centerWindow(window, nullptr);
        return;
    }
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement)) return;
    placement.rcNormalPosition = env.windowPos;
    SetWindowPlacement(window, &placement);
}

}  // namespace tarnuvo
