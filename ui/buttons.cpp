// The transport buttons when set-up makes them owner-drawn (a theme is
// active): a push button with its icon. The themed look and the hot
// tracking come with the window's button work.
#include "app/main_window.h"
#include "resources/resource_ids.h"

namespace tarnuvo {

void MainWindow::onDrawItem(UINT id, const DRAWITEMSTRUCT& item) {
    int32_t index = static_cast<int32_t>(id) - IDC_PLAY;
    if (index < 0 || index >= kButtonCount) return;
    RECT face = item.rcItem;
    bool pressed = item.itemState & ODS_SELECTED;
    DrawFrameControl(item.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    int offset = pressed ? 1 : 0;
    int x = (item.rcItem.right - 16) / 2 + offset;
    int y = (item.rcItem.bottom - 16) / 2 + offset;
    if (item.itemState & ODS_DISABLED)
        DrawStateA(item.hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(buttonIcons[index].get()),
                   0, x, y, 16, 16, DST_ICON | DSS_DISABLED);
    else
        DrawIconEx(item.hDC, x, y, buttonIcons[index].get(), 16, 16, 0, nullptr, DI_NORMAL);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = {face.left + 3, face.top + 2, face.right - 3, face.bottom - 3};
        DrawFocusRect(item.hDC, &focus);
    }
}

void MainWindow::onSetCursor(HWND) {
    // The hot look of themed buttons comes with the window's button work.
}

}  // namespace tarnuvo
