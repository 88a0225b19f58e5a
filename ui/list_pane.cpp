// The playlist's list view: the rows the playlist asks for, the selection,
// the view's notifications and its keyboard, and the toolbar's states.
#include "ui/list_pane.h"

#include <windows.h>
#include <commctrl.h>

#include "app/window_parts.h"
#include "app/window_helpers.h"
#include "resources/resource_ids.h"
#include "ui/list_rows.h"
#include "ui/transport_buttons.h"
#include "ui/play_road.h"
#include "ui/info_panel.h"
#include "ui/seek_bar.h"

namespace tarnuvo {

LRESULT CALLBACK ListPane::procedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    ListPane* self = SubclassedControl::ownerOf<ListPane>(control);
    if (!self) return DefWindowProcA(control, message, wParam, lParam);
    // Keyboard moves of the selection update the toolbar and the panel.
    if (message == WM_KEYUP) self->onSelectionChanged();
    return self->former_.callFormer(control, message, wParam, lParam);
}

void ListPane::bind(HWND dialog) {
    listView_ = GetDlgItem(dialog, IDC_PLAYLIST);
}

void ListPane::subclass() {
    former_.install(listView_, procedure, this);
}

int32_t ListPane::rowCount() const {
    return tarnuvo::rowCount(listView_);
}

void ListPane::insertRows(int32_t index, const TrackInfo* tracks, int32_t count) {
    tarnuvo::insertRows(listView_, index, tracks, count);
}

void ListPane::updateRow(int32_t index, const TrackInfo& track) {
    tarnuvo::updateRow(listView_, index, track);
}

void ListPane::deleteRow(int32_t index) {
    tarnuvo::deleteRow(listView_, index);
}

void ListPane::deleteAllRows() {
    tarnuvo::deleteAllRows(listView_);
}

void ListPane::selectRow(int32_t index) {
    tarnuvo::selectRow(listView_, index);
}

int32_t ListPane::selectedRow() const {
    return tarnuvo::selectedRow(listView_);
}

void ListPane::onSelectionChanged() {
    int32_t selected = selectedRow();
    if (toolbar_) {
        for (int command : {IDM_MOVE_UP, IDM_MOVE_DOWN, IDM_DELETE})
            SendMessageA(toolbar_, TB_ENABLEBUTTON, command, selected != -1);
    }
    const TrackInfo* entry = frame_.playlist().entryAt(selected);
    if (!entry || road_.state() != Stopped) return;
    TrackInfo shown = *entry;
    shown.listIndex = selected;
    seek_.setUpFor(shown);
    panel_.redraw(true, true, &shown);
}

void ListPane::resetPanelAfterClear() {
    road_.forgetUnknownLength();
    seek_.clearSelection();
    panel_.redraw(true, true);
}

void ListPane::updateListControls() {
    BOOL filled = frame_.playlist().empty() ? FALSE : TRUE;
    if (toolbar_) {
        SendMessageA(toolbar_, TB_ENABLEBUTTON, IDM_CLEAR, filled);
        SendMessageA(toolbar_, TB_ENABLEBUTTON, IDM_SAVE_LIST, filled);
        if (!filled) {
            for (int command : {IDM_MOVE_UP, IDM_MOVE_DOWN, IDM_DELETE})
                SendMessageA(toolbar_, TB_ENABLEBUTTON, command, FALSE);
        }
    }
    buttons_.enableForList(filled != FALSE);
}

INT_PTR ListPane::onNotify(const NMHDR& header) {
    if (header.idFrom != IDC_PLAYLIST) return 0;
    switch (header.code) {
        case NM_CLICK:
            onSelectionChanged();
            return 0;
        case NM_RCLICK: {
            onSelectionChanged();
            const int32_t items[] = {IDM_DELETE, IDM_CLEAR, -1, IDM_PROPERTIES};
            popupFromMenuItems(frame_.window(), nullptr, items, 4);
            return 0;
        }
        case NM_DBLCLK:
            if (frame_.closing() || reinterpret_cast<const NMITEMACTIVATE&>(header).iItem == -1 ||
                frame_.loader().busy())
                return 0;
            road_.stopPlayback();
            road_.playSelected();
            return 0;
        default:
            return 0;
    }
}

void ListPane::setGridLines(bool on) {
    SendMessageA(listView_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES,
                 on ? LVS_EX_GRIDLINES : 0);
}

void ListPane::show(bool shown) {
    int command = shown ? SW_SHOW : SW_HIDE;
    ShowWindow(listView_, command);
    if (toolbar_) ShowWindow(toolbar_, command);
    if (!shown) moveFocusOffHiddenList();
}

void ListPane::placeToolbar(int32_t width) {
    if (toolbar_) MoveWindow(toolbar_, 0, 0, width, toolbarHeight_, TRUE);
}

void ListPane::moveFocusOffHiddenList() {
    // A hidden control keeps the focus, and the arrow keys would then move
    // the selection unseen.
    HWND focus = GetFocus();
    bool hidden = false;
    for (HWND control : {listView_, toolbar_})
        hidden = hidden || (control && (focus == control || IsChild(control, focus)));
    if (!hidden) return;
    const HWND window = frame_.window();
    HWND next = GetNextDlgTabItem(window, listView_, FALSE);
    if (next && next != listView_ && IsWindowVisible(next))
        SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
    else
        SetFocus(window);
}

void ListPane::saveColumns() {
    frame_.environment().readColumns(listView_);
}

}  // namespace tarnuvo
