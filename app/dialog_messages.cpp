// The main dialog's own messages: initialisation, dragging by the body,
// closing and the end of the session.
#include "app/main_window.h"
#include "base/worker_stop.h"
#include "resources/resource_ids.h"

namespace tarnuvo {

INT_PTR MainWindow::onInitDialog(HWND dialog) {
    window_ = dialog;
    parts_->bind(dialog);
    waveOut_.attach(dialog, &env_);
    directShow_.attach(dialog, &env_);
    loader_.setWindow(dialog);
    SetPropA(dialog, kMainWindowProperty, reinterpret_cast<HANDLE>(this));
    return setupDialog();
}

void MainWindow::onBackgroundPress() {
    // A press on the dialog's own body (controls take their own) drags the window.
    POINT at = {};
    GetCursorPos(&at);
    SendMessageA(window_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(at.x, at.y));
}

INT_PTR MainWindow::onClose() {
    // From the first close on every command is refused, a second close too:
    // the loader's wait below serves messages.
    if (closing_) return 1;
    closing_ = true;
    loader_.collect();
    DestroyWindow(window_);
    return 1;
}

INT_PTR MainWindow::onEndSession(WPARAM ending) {
    if (!ending) return 1;
    closing_ = true;
    closeMainWindow();
    return 0;
}

}  // namespace tarnuvo
