// The window procedures put in front of four controls: each forwards what it
// handles to the main window and passes everything on to the control's own
// procedure, except where the main window consumes the message.
#include "app/main_window.h"

namespace tarnuvo {
namespace {

MainWindow* ownerOf(HWND control) {
    return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(control, GWLP_USERDATA));
}

LRESULT CALLBACK listViewProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    MainWindow* self = ownerOf(control);
    if (!self) return DefWindowProcA(control, message, wParam, lParam);
    // Keyboard moves of the selection update the toolbar and the panel.
    if (message == WM_KEYUP) self->onSelectionChanged();
    return self->callFormer(SubclassList, control, message, wParam, lParam);
}

LRESULT CALLBACK videoAreaProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    MainWindow* self = ownerOf(control);
    if (!self) return DefWindowProcA(control, message, wParam, lParam);
    // Messages meant for a full-screen video window.
    Player& player = *self->currentPlayer;
    if (!self->starting && player.isDirectShow() && player.state != Stopped &&
        self->directShow().filterMessage(control, message, wParam, lParam))
        return 0;
    return self->callFormer(SubclassVideo, control, message, wParam, lParam);
}

}  // namespace

void MainWindow::subclassControls() {
    const struct {
        SubclassSlot slot;
        HWND control;
        WNDPROC procedure;
    } controls[] = {
        {SubclassList, listView, listViewProcedure},
        {SubclassVideo, videoArea, videoAreaProcedure},
    };
    for (const auto& c : controls) {
        if (!c.control) continue;
        SetWindowLongPtrA(c.control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        formerProcedures[c.slot] = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(c.control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(c.procedure)));
    }
}

LRESULT MainWindow::callFormer(SubclassSlot slot, HWND control, UINT message, WPARAM wParam,
                               LPARAM lParam) {
    WNDPROC former = formerProcedures[slot];
    if (!former) return DefWindowProcA(control, message, wParam, lParam);
    return CallWindowProcA(former, control, message, wParam, lParam);
}

}  // namespace tarnuvo
