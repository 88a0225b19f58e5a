// The transport buttons with a theme: owner-drawn with the theme's push
// button and their icon, and a hot look under the mouse. Without a theme
// (or once themes are switched off) they are ordinary icon buttons.
#include <windows.h>
#include <commctrl.h>
#include <vssym32.h>

#include "ui/transport_buttons.h"

#include "app/window_parts.h"
#include "resources/resource_ids.h"
#include "ui/image_strip.h"
#include "ui/play_road.h"

namespace tarnuvo {
namespace {

// The item state by which the program asks for the hot look.
constexpr UINT kHotMarker = 0x20;
constexpr int kIconSize = 16;
constexpr UINT_PTR kButtonSubclassId = 1;

constexpr COLORREF kButtonMask = RGB(192, 192, 192);

int themeState(UINT state, bool hot, bool held) {
    if (held) return PBS_PRESSED;  // the pause button while paused
    if (state & kHotMarker) return PBS_HOT;
    if (state & ODS_SELECTED) return PBS_PRESSED;
    if (state & ODS_DISABLED) return PBS_DISABLED;
    return hot ? PBS_HOT : PBS_NORMAL;
}

}  // namespace

LRESULT CALLBACK TransportButtons::procedure(HWND button, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
    auto* self = reinterpret_cast<TransportButtons*>(data);
    switch (message) {
        case WM_MOUSELEAVE:
            // Out of the window past the button: no WM_SETCURSOR reaches the dialog.
            if (self->hot_ == button) self->clearHotButton();
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(button, procedure, id);
            break;
        default:
            break;
    }
    return DefSubclassProc(button, message, wParam, lParam);
}

void TransportButtons::bind(HWND dialog) {
    for (int32_t i = 0; i < kButtonCount; ++i) buttons_[i] = GetDlgItem(dialog, IDC_PLAY + i);
}

void TransportButtons::setUp() {
    images_.reset(loadImageStrip(frame_.instance(), IDB_BUTTONS, kButtonMask));
    for (int32_t i = 0; i < kButtonCount; ++i) {
        if (images_) icons_[i].reset(ImageList_GetIcon(images_.get(), i, ILD_TRANSPARENT));
        SendMessageA(buttons_[i], BM_SETIMAGE, IMAGE_ICON,
                     reinterpret_cast<LPARAM>(icons_[i].get()));
    }
    EnableWindow(buttons_[0], TRUE);
    EnableWindow(buttons_[1], FALSE);
    EnableWindow(buttons_[2], FALSE);
}

void TransportButtons::enableForList(bool filled) {
    for (int32_t i : {kPlayButton, kPreviousButton, kNextButton, kRandomButton})
        EnableWindow(buttons_[i], filled ? TRUE : FALSE);
}

bool TransportButtons::themesWanted() const {
    return (frame_.environment().osFlags & WinXP) && themesActive_();
}

void TransportButtons::applyTheme() {
    hot_ = nullptr;
    theme_.reset();
    if (themesWanted()) theme_.reset(openThemeData(frame_.window(), L"Button"));
    for (HWND button : buttons_) {
        if (!button) continue;
        LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
        if (theme_) {
            SetWindowLongPtrA(button, GWL_STYLE, style | BS_OWNERDRAW);
            SetWindowSubclass(button, procedure, kButtonSubclassId,
                              reinterpret_cast<DWORD_PTR>(this));
        } else {
            SetWindowLongPtrA(button, GWL_STYLE, (style & ~LONG_PTR{BS_TYPEMASK}) | BS_PUSHBUTTON);
            RemoveWindowSubclass(button, procedure, kButtonSubclassId);
        }
        InvalidateRect(button, nullptr, TRUE);
    }
    showPauseLook();
}

void TransportButtons::showPauseLook() {
    // The button's own pushed state: classic buttons draw it, owner-drawn
    // ones are told it as selected; paintButton keeps it under the mouse.
    if (HWND pause = buttons_[kPauseButton])
        SendMessageA(pause, BM_SETSTATE, road_.current().state == Paused, 0);
}

void TransportButtons::onDrawItem(UINT id, const DRAWITEMSTRUCT& item) {
    int32_t index = static_cast<int32_t>(id) - IDC_PLAY;
    if (index < 0 || index >= kButtonCount) return;
    paintButton(index, item.hDC, item.rcItem, item.itemState);
}

void TransportButtons::paintButton(int32_t index, HDC dc, const RECT& face, UINT state) {
    HWND button = buttons_[index];
    // The button's own redraws carry no marker: under the mouse it stays hot.
    const bool held = index == kPauseButton && road_.current().state == Paused;
    const int look = themeState(state, button == hot_, held);
    if (theme_) {
        drawThemeParentBackground(button, dc, face);
        drawThemeBackground(theme_.get(), dc, BP_PUSHBUTTON, look, face);
    } else {
        RECT frame = face;
        DrawFrameControl(dc, &frame, DFC_BUTTON,
                         DFCS_BUTTONPUSH | (look == PBS_PRESSED ? DFCS_PUSHED : 0));
    }
    const int offset = look == PBS_PRESSED ? 1 : 0;
    const int x = (face.right - kIconSize) / 2 + offset;
    const int y = (face.bottom - kIconSize) / 2 + offset;
    HICON icon = icons_[index].get();
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

void TransportButtons::drawButton(HWND button, bool hot) {
    int32_t index = 0;
    while (index < kButtonCount && buttons_[index] != button) ++index;
    if (index == kButtonCount || !IsWindowEnabled(button)) return;
    WindowDc dc(button);
    if (!dc) return;
    RECT face = {};
    GetClientRect(button, &face);
    UINT state = hot ? kHotMarker : 0;
    if (GetFocus() == button) state |= ODS_FOCUS;
    paintButton(index, dc.get(), face, state);
}

void TransportButtons::clearHotButton() {
    HWND previous = hot_;
    hot_ = nullptr;
    if (previous) drawButton(previous, false);
}

void TransportButtons::onSetCursor(HWND under) {
    if (!theme_) return;
    bool isButton = false;
    for (HWND button : buttons_) isButton = isButton || (under && under == button);
    if (isButton) {
        if (under == hot_) return;
        clearHotButton();
        hot_ = under;
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
