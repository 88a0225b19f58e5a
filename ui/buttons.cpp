// The transport buttons with a theme: owner-drawn with the theme's push
// button and their icon, and a hot look under the mouse. Without a theme
// (or once themes are switched off) they are ordinary icon buttons.
#include <windows.h>
#include <commctrl.h>
#include <vssym32.h>

#include "app/main_window.h"
#include "resources/resource_ids.h"
#include "ui/play_buttons.h"

namespace tarnuvo {
namespace {

// The item state by which the program asks for the hot look.
constexpr UINT kHotMarker = 0x20;
constexpr int kIconSize = 16;
constexpr UINT_PTR kButtonSubclassId = 1;

LRESULT CALLBACK buttonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR id, DWORD_PTR data) {
    auto* self = reinterpret_cast<MainWindow*>(data);
    switch (message) {
        case WM_MOUSELEAVE:
            // Out of the window past the button: no WM_SETCURSOR reaches the dialog.
            if (self->hotButton == button) self->clearHotButton();
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(button, buttonProcedure, id);
            break;
        default:
            break;
    }
    return DefSubclassProc(button, message, wParam, lParam);
}

int themeState(UINT state, bool hot, bool held) {
    if (held) return PBS_PRESSED;  // the pause button while paused
    if (state & kHotMarker) return PBS_HOT;
    if (state & ODS_SELECTED) return PBS_PRESSED;
    if (state & ODS_DISABLED) return PBS_DISABLED;
    return hot ? PBS_HOT : PBS_NORMAL;
}

}  // namespace

void MainWindow::applyButtonTheme() {
    hotButton = nullptr;
    buttonTheme.reset();
    if ((env_.osFlags & WinXP) && themesActive())
        buttonTheme.reset(openThemeData(window_, L"Button"));
    for (HWND button : buttons) {
        if (!button) continue;
        if (buttonTheme) {
            ownerDrawButton(button);
            SetWindowSubclass(button, buttonProcedure, kButtonSubclassId,
                              reinterpret_cast<DWORD_PTR>(this));
        } else {
            LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
            SetWindowLongPtrA(button, GWL_STYLE, (style & ~LONG_PTR{BS_TYPEMASK}) | BS_PUSHBUTTON);
            RemoveWindowSubclass(button, buttonProcedure, kButtonSubclassId);
        }
        InvalidateRect(button, nullptr, TRUE);
    }
    showPauseLook();
}

void MainWindow::showPauseLook() {
    // The button's own pushed state: classic buttons draw it, owner-drawn
    // ones are told it as selected; paintButton keeps it under the mouse.
    if (HWND pause = buttons[kPauseButton])
        SendMessageA(pause, BM_SETSTATE, currentPlayer->state == Paused, 0);
}

void MainWindow::onThemeChanged() {
    applyButtonTheme();
    if (buttonTheme) seekClassicLook();
}

void MainWindow::onDrawItem(UINT id, const DRAWITEMSTRUCT& item) {
    int32_t index = static_cast<int32_t>(id) - IDC_PLAY;
    if (index < 0 || index >= kButtonCount) return;
    paintButton(index, item.hDC, item.rcItem, item.itemState);
}

void MainWindow::paintButton(int32_t index, HDC dc, const RECT& face, UINT state) {
    HWND button = buttons[index];
    // The button's own redraws carry no marker: under the mouse it stays hot.
    const bool held = index == kPauseButton && currentPlayer->state == Paused;
    const int look = themeState(state, button == hotButton, held);
    if (buttonTheme) {
        drawThemeParentBackground(button, dc, face);
        drawThemeBackground(buttonTheme.get(), dc, BP_PUSHBUTTON, look, face);
    } else {
        RECT frame = face;
        DrawFrameControl(dc, &frame, DFC_BUTTON,
                         DFCS_BUTTONPUSH | (look == PBS_PRESSED ? DFCS_PUSHED : 0));
    }
    const int offset = look == PBS_PRESSED ? 1 : 0;
    const int x = (face.right - kIconSize) / 2 + offset;
    const int y = (face.bottom - kIconSize) / 2 + offset;
    HICON icon = buttonIcons[index].get();
    if (state & ODS_DISABLED)
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, kIconSize,
                   kIconSize, DST_ICON | DSS_DISABLED);
    else
        DrawIconEx(dc, x, y, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
    if (state & ODS_FOCUS) {
        RECT focus = {face.left + 3, face.top + 2, face.right - 3, face.bottom - 3};
        DrawFocusRect(dc, &focus);
    }
}

void MainWindow::drawButton(HWND button, bool hot) {
    int32_t index = 0;
    while (index < kButtonCount && buttons[index] != button) ++index;
    if (index == kButtonCount || !IsWindowEnabled(button)) return;
    WindowDc dc(button);
    if (!dc) return;
    RECT face = {};
    GetClientRect(button, &face);
    UINT state = hot ? kHotMarker : 0;
    if (GetFocus() == button) state |= ODS_FOCUS;
    paintButton(index, dc.get(), face, state);
}

void MainWindow::clearHotButton() {
    HWND previous = hotButton;
    hotButton = nullptr;
    if (previous) drawButton(previous, false);
}

void MainWindow::onSetCursor(HWND under) {
    if (!buttonTheme) return;
    bool isButton = false;
    for (HWND button : buttons) isButton = isButton || (under && under == button);
    if (isButton) {
        if (under == hotButton) return;
        clearHotButton();
        hotButton = under;
        drawButton(under, true);
        // The leave is noted even when the mouse goes straight out of the window.
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = under;
        TrackMouseEvent(&track);
        return;
    }
    if (under && GetDlgCtrlID(under) != 0) clearHotButton();
}

}  // namespace tarnuvo
