// The window procedures put in front of three controls: each forwards what it
// handles to the main window and passes everything on to the control's own
// procedure, except where the main window consumes the message.
#include "app/main_window.h"

namespace tarnuvo {
namespace {

MainWindow* ownerOf(HWND control) {
    return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(control, GWLP_USERDATA));
}

LRESULT CALLBACK seekSliderProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    MainWindow* self = ownerOf(control);
    if (!self) return DefWindowProcA(control, message, wParam, lParam);
    if (message == WM_LBUTTONDOWN && self->seekSliderTakesPress(lParam)) return 0;
    return self->callFormer(SubclassSeek, control, message, wParam, lParam);
}

}  // namespace

void MainWindow::subclassControls() {
    const struct {
        SubclassSlot slot;
        HWND control;
        WNDPROC procedure;
    } controls[] = {
        {SubclassSeek, seekSlider, seekSliderProcedure},
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
