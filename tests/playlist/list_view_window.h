// A visible top-level window with the playlist's list view (four report
// columns), which also serves window calls; and a playlist host over it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "base/handles.h"
#include "base/window_call.h"
#include "base/window_messages.h"
#include "tests/playlist/list_view_host.h"
#include "ui/list_rows.h"

namespace tarnuvo::test {

// UTF-8 source text in code page 932.
inline std::string sjis(const char* utf8) {
    wchar_t wide[512];
    char out[1024];
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 512);
    WideCharToMultiByte(932, 0, wide, -1, out, sizeof out, nullptr, nullptr);
    return out;
}

class ListViewWindow {
public:
    explicit ListViewWindow(bool visible = true) {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = procedure;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TarnuvoListTestWindow";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassA(&wc);
        const DWORD shown = visible ? WS_VISIBLE : 0;
        window_.reset(CreateWindowExA(0, wc.lpszClassName, "Tarnuvo list test",
                                      WS_OVERLAPPEDWINDOW | shown, 0, 0, 640, 480, nullptr, nullptr,
                                      wc.hInstance, nullptr));
        SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        list_ = CreateWindowExA(0, WC_LISTVIEWA, "",
                                WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT |
                                    LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                                0, 0, 620, 440, window_.get(),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(1000)), wc.hInstance,
                                nullptr);
        ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
        const char* names[] = {"Title", "Time", "Loop", "Artist"};
        const int formats[] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER, LVCFMT_LEFT};
        const int widths[] = {160, 60, 40, 90};
        for (int i = 0; i < 4; ++i) {
            LVCOLUMNA column = {};
            column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
            column.fmt = formats[i];
            column.cx = widths[i];
            column.pszText = const_cast<char*>(names[i]);
            column.iSubItem = i;
            SendMessageA(list_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&column));
        }
        if (visible) UpdateWindow(window_.get());
    }
    HWND window() const { return window_.get(); }
    HWND list() const { return list_; }

    std::string cell(int32_t row, int32_t subItem) const {
        char text[1024] = {};
        LVITEMA item = {};
        item.iSubItem = subItem;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        return text;
    }
    UINT state(int32_t row) const {
        return ListView_GetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED);
    }

    int calls = 0;  // window calls that arrived as messages

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kWindowCallMessage) {
            auto* self =
                reinterpret_cast<ListViewWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            if (self) ++self->calls;
            return receiveWindowCall(wParam, lParam);
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    UniqueWindow window_;
    HWND list_ = nullptr;  // destroyed with its parent
};

// Dispatches this thread's messages until `done`; a hang is left to the test
// runner's time limit rather than a guess of how slow the machine may be.
template <typename Done>
void pumpUntil(Done done) {
    while (!done()) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

}  // namespace tarnuvo::test
