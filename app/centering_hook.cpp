#include "app/centering_hook.h"

#include "base/handles.h"

namespace tarnuvo {
namespace {

// One hook armed at a time, for the user-interface thread.
UniqueHook g_hook;
HWND g_owner = nullptr;
HookInstaller g_installer = nullptr;

void disarm() {
    g_owner = nullptr;
    g_hook.reset();
}

LRESULT CALLBACK centeringHook(int code, WPARAM wParam, LPARAM lParam) {
    HWND activated = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && activated != g_owner) {
        RECT owner, box;
        if (g_owner && GetWindowRect(g_owner, &owner) && GetWindowRect(activated, &box)) {
            // Not clamped: a box over an owner at the screen's edge stays with it.
            LONG x = owner.left + (owner.right - owner.left) / 2 - (box.right - box.left) / 2;
            LONG y = owner.top + (owner.bottom - owner.top) / 2 - (box.bottom - box.top) / 2;
            SetWindowPos(activated, nullptr, x, y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        disarm();
        return 0;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void setHookInstaller(HookInstaller installer) {
    g_installer = installer;
}

int centerNextDialog(HWND owner) {
    disarm();
    HookInstaller install = g_installer ? g_installer : SetWindowsHookExA;
    g_hook.reset(install(WH_CBT, centeringHook, nullptr, GetCurrentThreadId()));
    if (!g_hook) return 0;
    g_owner = owner;
    return 1;
}

int centeredMessageBox(HWND owner, const char* text, const char* caption, UINT style) {
    centerNextDialog(owner);
    int result = MessageBoxA(owner, text, caption, style);
    // A box that never activated (no display, say) must not leave the hook
    // waiting for some later window.
    disarm();
    return result;
}

}  // namespace tarnuvo
