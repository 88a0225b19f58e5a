// Windows and popup menus for the window tests: a top-level window that notes
// the commands and timers it receives, and a way to act on a popup menu while
// its modal loop runs.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "base/handles.h"

namespace tarnuvo::test {

class TestWindow {
public:
    TestWindow(int x, int y, int width, int height, DWORD style = WS_POPUP | WS_VISIBLE,
               HWND owner = nullptr) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = procedure;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TarnuvoTestWindow";
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        RegisterClassA(&wc);
        window_.reset(CreateWindowExA(0, wc.lpszClassName, "Tarnuvo test", style, x, y, width,
                                      height, owner, nullptr, wc.hInstance, nullptr));
        SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    HWND get() const { return window_.get(); }
    RECT rect() const {
        RECT r = {};
        GetWindowRect(window_.get(), &r);
        return r;
    }

    std::vector<WPARAM> commands;
    std::vector<WPARAM> timers;
    int nulls = 0;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self) {
            if (message == WM_COMMAND) self->commands.push_back(LOWORD(wParam));
            if (message == WM_TIMER) self->timers.push_back(wParam);
            if (message == WM_NULL) ++self->nulls;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    UniqueWindow window_;
};

// What the menu looked like while it was open, and what was done to it.
struct MenuVisit {
    enum Action { Close, ChooseFirst } action = Close;
    bool seen = false;
    HMENU menu = nullptr;
    UINT defaultItem = static_cast<UINT>(-1);
    int itemCount = 0;
    RECT where = {};
    std::vector<UINT> ids;
    std::vector<UINT> states;
};

inline MenuVisit* g_visit = nullptr;

inline void CALLBACK visitMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (!popup || !IsWindowVisible(popup) || !g_visit) return;
    KillTimer(nullptr, timer);
    MenuVisit& visit = *g_visit;
    visit.seen = true;
    GetWindowRect(popup, &visit.where);
    visit.menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    if (visit.menu) {
        visit.defaultItem = GetMenuDefaultItem(visit.menu, FALSE, 0);
        visit.itemCount = GetMenuItemCount(visit.menu);
        for (int i = 0; i < visit.itemCount; ++i) {
            visit.ids.push_back(GetMenuItemID(visit.menu, i));
            visit.states.push_back(GetMenuState(visit.menu, static_cast<UINT>(i), MF_BYPOSITION));
        }
    }
    if (visit.action == MenuVisit::ChooseFirst) {
        PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
    } else {
        EndMenu();
    }
}

inline void CALLBACK closeAnyMenu(HWND, UINT, UINT_PTR, DWORD) {
    EndMenu();
}

// Runs `show` (which opens a popup menu and returns when it closes) while a
// timer looks at the menu and then closes it or chooses its first item.
// A safety timer ends a menu that never showed.
template <typename Show>
MenuVisit whileMenuOpen(MenuVisit::Action action, Show show) {
    MenuVisit visit;
    visit.action = action;
    g_visit = &visit;
    UINT_PTR look = SetTimer(nullptr, 0, 50, visitMenu);
    UINT_PTR guard = SetTimer(nullptr, 0, 3000, closeAnyMenu);
    show();
    KillTimer(nullptr, look);
    KillTimer(nullptr, guard);
    g_visit = nullptr;
    return visit;
}

// Lets posted messages (a chosen command, WM_NULL) arrive.
inline void drainMessages() {
    MSG message;
    for (int round = 0; round < 5; ++round) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

}  // namespace tarnuvo::test
