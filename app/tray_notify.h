// Clicks on the tray icon: restoring the window and the tray menu.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/handles.h"

namespace tarnuvo {

constexpr UINT kTrayMenuResource = 110;
constexpr UINT kCmdShowWindow = 41000;  // the tray menu's default item

// What the tray icon's mouse messages need from the main window.
class TrayOwner {
public:
    virtual HWND trayWindow() const = 0;
    // The current player's state (Stopped, Playing, Paused).
    virtual int32_t trayPlayerState() const = 0;
    virtual void setWindowShown(int32_t shown) = 0;
    // Menu resource 110; empty when it cannot be loaded.
    virtual UniqueMenu loadTrayMenu() const = 0;

protected:
    ~TrayOwner() = default;
};

// Shows the window again, restored and in front, with its refresh and blink
// timers running. Returns whether it was visible before.
bool restoreWindow(TrayOwner& owner);

// The tray icon's callback: a left click restores the window (and opens the
// menu when the window was already visible and a track is loaded in the
// player), a right click opens the menu, anything else is ignored.
void onTrayNotify(TrayOwner& owner, UINT id, UINT mouseMessage);

// Shows the first popup of `menu` at the cursor with "show window" as its
// default item; the choice arrives at `window` as WM_COMMAND.
void showTrayMenu(HWND window, UniqueMenu menu);

}  // namespace tarnuvo
