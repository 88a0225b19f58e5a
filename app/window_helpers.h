// Small helpers shared by the windows: placement, menu checks, popup menus.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/handles.h"

namespace tarnuvo {

// Centres `window` over `parent` (null: its own parent, or the desktop),
// keeping it inside the screen's left and top edges; size unchanged, no repaint.
void centerWindow(HWND window, HWND parent);

// Sets or clears the check mark of the item with command `id`; its other
// state stays as it was.
void setMenuCheck(HMENU menu, UINT id, bool checked);

// Shows `menu` at `point` (null: the cursor) for `window`; the chosen command
// arrives later as WM_COMMAND.
void trackPopup(HWND window, HMENU menu, const POINT* point, UINT flags);

// A popup of copies of the items of `sourceMenu` (null: the window's menu
// bar) named by `ids`: 0 is skipped, -1 is a separator, any other value the
// item with that command id, found in submenus too. Ids that name no item are
// left out.
UniqueMenu popupMenuFromItems(HWND window, HMENU sourceMenu, const int32_t* ids, int32_t count);

// Builds that popup and shows it at the cursor. 0 when no popup could be made.
int popupFromMenuItems(HWND window, HMENU sourceMenu, const int32_t* ids, int32_t count);

}  // namespace tarnuvo
