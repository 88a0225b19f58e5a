#include "app/tray_notify.h"

#include "app/timer_ids.h"
#include "app/window_helpers.h"
#include "engine/track_info.h"

namespace tarnuvo {

bool restoreWindow(TrayOwner& owner) {
    HWND window = owner.trayWindow();
    owner.setWindowShown(1);
    SetTimer(window, RefreshTimer, kRefreshIntervalMs, nullptr);
    SetTimer(window, BlinkTimer, kBlinkIntervalMs, nullptr);
    bool wasVisible = IsWindowVisible(window) != FALSE;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (GetWindowPlacement(window, &placement)) {
        placement.showCmd = SW_SHOWNORMAL;
        SetWindowPlacement(window, &placement);
    }
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    return wasVisible;
}

void showTrayMenu(HWND window, UniqueMenu menu) {
    if (!menu) return;
    if (HMENU popup = GetSubMenu(menu.get(), 0)) {
        SetMenuDefaultItem(popup, kCmdShowWindow, FALSE);
        trackPopup(window, popup, nullptr, 0);
    }
    // Lets the menu close properly when the user clicks elsewhere.
    PostMessageA(window, WM_NULL, 0, 0);
    // The popup belongs to the loaded menu and goes with it; destroying it
    // on its own first would destroy it twice.
}

void onTrayNotify(TrayOwner& owner, UINT id, UINT mouseMessage) {
    (void)id;
    switch (mouseMessage) {
        case WM_LBUTTONDOWN:
            if (!restoreWindow(owner)) return;
            if (owner.trayPlayerState() == Stopped) return;
            showTrayMenu(owner.trayWindow(), owner.loadTrayMenu());
            return;
        case WM_RBUTTONDOWN:
            showTrayMenu(owner.trayWindow(), owner.loadTrayMenu());
            return;
        default:
            return;
    }
}

}  // namespace tarnuvo
