#include "ui/list_rows.h"

#include <commctrl.h>

#include "playlist/track_text.h"

namespace tarnuvo {

namespace {

void setCell(HWND listView, int32_t index, int32_t subItem, const char* text) {
    // The view copies the text; it never writes through the pointer.
    ListView_SetItemText(listView, index, subItem, const_cast<char*>(text));
}

}  // namespace

int32_t insertRow(HWND listView, int32_t index, const TrackInfo& track) {
    RowCells cells;
    rowCellsOf(track, ZeroLength::Blank, cells);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = cells.title;
    const int32_t row = static_cast<int32_t>(
        SendMessageA(listView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return 0;
    setCell(listView, row, kArtistColumn, cells.artist);
    if (cells.time[0]) setCell(listView, row, kTimeColumn, cells.time);
    setCell(listView, row, kLoopColumn, cells.loop);
    return row + 1;
}

int32_t insertRows(HWND listView, int32_t index, const TrackInfo* tracks, int32_t count) {
    if (!tracks || count <= 0) return 0;
    // A visible view repaints after every inserted row; a batch goes in
    // unseen and is painted once. Turning redrawing back on makes a view
    // visible, so a hidden one (the playlist hidden) is left alone: it
    // paints nothing anyway.
    const bool shown = (GetWindowLongPtrA(listView, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown) SendMessageA(listView, WM_SETREDRAW, FALSE, 0);
    int32_t inserted = 0;
    int32_t at = index;
    for (int32_t k = 0; k < count; ++k) {
        const int32_t next = insertRow(listView, at, tracks[k]);
        if (next == 0) break;
        at = next;
        ++inserted;
    }
    if (shown) {
        SendMessageA(listView, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(listView, nullptr, TRUE);
    }
    return inserted;
}

void updateRow(HWND listView, int32_t index, const TrackInfo& track) {
    RowCells cells;
    rowCellsOf(track, ZeroLength::Shown, cells);
    setCell(listView, index, kTitleColumn, cells.title);
    setCell(listView, index, kArtistColumn, cells.artist);
    setCell(listView, index, kTimeColumn, cells.time);
    setCell(listView, index, kLoopColumn, cells.loop);
}

void selectRow(HWND listView, int32_t index) {
    if (ListView_GetSelectedCount(listView) > 0) {
        const int32_t mark = ListView_GetSelectionMark(listView);
        if (mark >= 0) ListView_SetItemState(listView, mark, 0, LVIS_SELECTED | LVIS_FOCUSED);
    }
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
