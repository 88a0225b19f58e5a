// Stand-in until the playlist view's rows land.
#include "ui/list_rows.h"

#include <commctrl.h>

#include <cstdio>

namespace tarnuvo {
namespace {

void setCell(HWND listView, int32_t row, int subItem, const char* text) {
    LVITEMA item = {};
    item.iSubItem = subItem;
    item.pszText = const_cast<char*>(text);
    SendMessageA(listView, LVM_SETITEMTEXTA, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
}

void formatLength(uint32_t bytes, char (&out)[32]) {
    uint32_t hundredths = static_cast<uint32_t>(bytes * (1.0 / 176400.0) * 100.0);
    std::snprintf(out, sizeof out, "%02u:%02u.%02u", hundredths / 6000, (hundredths / 100) % 60,
                  hundredths % 100);
}

}  // namespace

int32_t insertRow(HWND listView, int32_t index, const TrackInfo& entry) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(entry.title);
    int32_t row = static_cast<int32_t>(
        SendMessageA(listView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return index;
    setCell(listView, row, 3, entry.artist);
    if (entry.length != 0) {
        char time[32];
        formatLength(entry.length, time);
        setCell(listView, row, 1, time);
    }
    setCell(listView, row, 2, entry.hasLoop ? "Loop" : "");
    return row + 1;
}

void insertRows(HWND listView, int32_t index, const TrackInfo* tracks, int32_t count) {
    SendMessageA(listView, WM_SETREDRAW, FALSE, 0);
    for (int32_t i = 0; i < count; ++i) index = insertRow(listView, index, tracks[i]);
    SendMessageA(listView, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listView, nullptr, TRUE);
}

void updateRow(HWND listView, int32_t index, const TrackInfo& track) {
    char time[32];
    formatLength(track.length, time);
    setCell(listView, index, 0, track.title);
    setCell(listView, index, 3, track.artist);
    setCell(listView, index, 1, time);
    setCell(listView, index, 2, track.hasLoop ? "Loop" : "");
}

void selectRow(HWND listView, int32_t index) {
    ListView_SetItemState(listView, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(listView, index, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetSelectionMark(listView, index);
    InvalidateRect(listView, nullptr, FALSE);
}

int32_t selectedRow(HWND listView) {
    if (ListView_GetSelectedCount(listView) == 0) return -1;
    return ListView_GetSelectionMark(listView);
}

int32_t rowCount(HWND listView) {
    return ListView_GetItemCount(listView);
}

void deleteRow(HWND listView, int32_t index) {
    ListView_DeleteItem(listView, index);
}

void deleteAllRows(HWND listView) {
    ListView_DeleteAllItems(listView);
}

}  // namespace tarnuvo
