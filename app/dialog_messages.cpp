// The main dialog's own messages: initialisation, minimising to the tray,
// dragging by the body, closing, the end of the session and the
// taskbar's restart.
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

INT_PTR MainWindow::onSysCommand(WPARAM command) {
    // Exactly SC_MINIMIZE: the low four bits carry other meanings.
    if (command != SC_MINIMIZE || !trayPresent) return 0;
    return hideToTray() ? 1 : 0;
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

void MainWindow::onTaskbarCreated() {
    // Every restart of the taskbar, while an icon record exists: one failed
    // re-add must not leave the icon gone for good.
    if (closed_ || tray.data.cbSize == 0) return;
    trayPresent = tray.addAgain() != FALSE;
    // A window hidden in the tray without an icon could never come back.
    if (!trayPresent && !IsWindowVisible(window_)) restoreWindow(*this);
}

}  // namespace tarnuvo
