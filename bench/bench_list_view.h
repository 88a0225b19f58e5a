// A visible window with the playlist's list view for the benchmarks, the
// playlist host over it, and the window thread's message service.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "base/handles.h"
#include "base/window_call.h"
#include "base/window_messages.h"
#include "tests/playlist/list_view_host.h"
#include "ui/list_rows.h"

namespace tarnuvo::bench {

inline LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kWindowCallMessage) return receiveWindowCall(wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

struct View {
    UniqueWindow window;
    HWND list = nullptr;
    View() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = procedure;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TarnuvoRowsBench";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassA(&wc);
        window.reset(CreateWindowExA(0, wc.lpszClassName, "Rows", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     0, 0, 640, 480, nullptr, nullptr, wc.hInstance, nullptr));
        list = CreateWindowExA(0, WC_LISTVIEWA, "",
                               WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SINGLESEL |
                                   LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                               0, 0, 620, 440, window.get(), nullptr, wc.hInstance, nullptr);
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
        const char* names[] = {"Title", "Time", "Loop", "Artist"};
        for (int i = 0; i < 4; ++i) {
            LVCOLUMNA column = {};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
            column.cx = i == 0 ? 160 : 80;
            column.pszText = const_cast<char*>(names[i]);
            column.iSubItem = i;
            SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&column));
        }
        UpdateWindow(window.get());
    }
};

inline void serveMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace tarnuvo::bench
