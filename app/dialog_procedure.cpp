// The main dialog procedure: the window-wide messages here, the rest to the
// parts.
#include "app/main_window.h"
#include "base/window_call.h"
#include "base/window_messages.h"

namespace tarnuvo {

INT_PTR CALLBACK MainWindow::dialogProcedure(HWND dialog, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<MainWindow*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        return self->onInitDialog(dialog);
    }
    MainWindow* self = fromWindow(dialog);
    if (!self) return 0;  // before WM_INITDIALOG
    return self->handleMessage(message, wParam, lParam);
}

INT_PTR MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            onBackgroundPress();
            return 0;
        case WM_CLOSE:
            return onClose();
        case WM_DESTROY:
            closeMainWindow();
            return 0;
        case WM_ENDSESSION:
            return onEndSession(wParam);
        case kWindowCallMessage:
            SetWindowLongPtrA(window_, DWLP_MSGRESULT, receiveWindowCall(wParam, lParam));
            return 1;
        default:
            return parts_->onMessage(message, wParam, lParam);
    }
}

}  // namespace tarnuvo
