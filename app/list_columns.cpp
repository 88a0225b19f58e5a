// The playlist's column order and widths, given to and taken from the list view.
#include <windows.h>
#include <commctrl.h>

#include "app/app_environment.h"
#include "app/column_order.h"

namespace tarnuvo {
namespace {

// The members hold four columns; a view with more keeps its own for the rest.
int32_t columnsOf(HWND listView) {
    int32_t n = Header_GetItemCount(ListView_GetHeader(listView));
    if (n < 0) return 0;
    return n < kColumnCount ? n : kColumnCount;
}

}  // namespace

void AppEnvironment::applyColumns(HWND listView) const {
    int32_t n = columnsOf(listView);
    // A broken stored order ("2:0" gives 2,0,2,3) would hide a column and be
    // saved again at exit; the view keeps its own order then.
    if (n > 0 && isColumnPermutation(columnOrder, n)) {
        int order[kColumnCount];
        for (int32_t i = 0; i < n; ++i) order[i] = columnOrder[i];
        ListView_SetColumnOrderArray(listView, n, order);
    }
    for (int32_t i = 0; i < n; ++i)
        ListView_SetColumnWidth(listView, i, LOWORD(static_cast<uint32_t>(columnWidth[i])));
}

void AppEnvironment::readColumns(HWND listView) {
    int32_t n = columnsOf(listView);
    int order[kColumnCount];
    if (n > 0 && ListView_GetColumnOrderArray(listView, n, order)) {
        for (int32_t i = 0; i < n; ++i) columnOrder[i] = order[i];
    }
    for (int32_t i = 0; i < n; ++i) columnWidth[i] = ListView_GetColumnWidth(listView, i);
}

}  // namespace tarnuvo
