#include "app/window_helpers.h"

#include "engine/track_info.h"

namespace tarnuvo {
namespace {

// Finds the menu and position of the item with command `id`, depth first.
bool findItem(HMENU menu, UINT id, HMENU& owner, UINT& position) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            if (findItem(sub, id, owner, position)) return true;
        } else if (GetMenuItemID(menu, i) == id) {
            owner = menu;
            position = static_cast<UINT>(i);
            return true;
        }
    }
    return false;
}

bool appendCopy(HMENU popup, HMENU source, UINT id) {
    HMENU owner = nullptr;
    UINT position = 0;
    if (!findItem(source, id, owner, position)) return false;
    char text[kTextSize] = {};
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING;
    item.dwTypeData = text;
    item.cch = sizeof text;
    if (!GetMenuItemInfoA(owner, position, TRUE, &item)) return false;
    item.dwTypeData = text;
    return InsertMenuItemA(popup, static_cast<UINT>(GetMenuItemCount(popup)), TRUE, &item) != 0;
}

}  // namespace

void centerWindow(HWND window, HWND parent) {
    if (!parent) parent = GetParent(window);
    if (!parent) parent = GetDesktopWindow();
    RECT outer, inner;
    if (!GetWindowRect(parent, &outer) || !GetWindowRect(window, &inner)) return;
    const LONG width = inner.right - inner.left;
    const LONG height = inner.bottom - inner.top;
    LONG x = outer.left + ((outer.right - outer.left) - width) / 2;
    LONG y = outer.top + ((outer.bottom - outer.top) - height) / 2;
    if (x < 0) x = 0;
    if (y < 0) y = 0;
    MoveWindow(window, x, y, width, height, FALSE);
}

void setMenuCheck(HMENU menu, UINT id, bool checked) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STATE;
    if (!GetMenuItemInfoA(menu, id, FALSE, &item)) return;
    if (checked)
        item.fState |= MFS_CHECKED;
    else
        item.fState &= ~static_cast<UINT>(MFS_CHECKED);
    SetMenuItemInfoA(menu, id, FALSE, &item);
}

void trackPopup(HWND window, HMENU menu, const POINT* point, UINT flags) {
    POINT at = {0, 0};
    if (point)
        at = *point;
    else
        GetCursorPos(&at);
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(window);
    TrackPopupMenu(menu, flags | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
}

UniqueMenu popupMenuFromItems(HWND window, HMENU sourceMenu, const int32_t* ids, int32_t count) {
    if (!sourceMenu) sourceMenu = GetMenu(window);
    UniqueMenu popup(CreatePopupMenu());
    if (!popup) return popup;
    for (int32_t i = 0; i < count; ++i) {
        if (ids[i] == 0) continue;
        if (ids[i] == -1)
            AppendMenuA(popup.get(), MF_SEPARATOR, 0, nullptr);
        else if (sourceMenu)
            appendCopy(popup.get(), sourceMenu, static_cast<UINT>(ids[i]));
    }
    return popup;
}

int popupFromMenuItems(HWND window, HMENU sourceMenu, const int32_t* ids, int32_t count) {
    UniqueMenu popup = popupMenuFromItems(window, sourceMenu, ids, count);
    if (!popup) return 0;
    trackPopup(window, popup.get(), nullptr, 0);
    return 1;
}

}  // namespace tarnuvo
