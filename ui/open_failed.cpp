// Work that timer 3 does besides the tray animation and the report of a track
// that could not be started (it also runs while the window is hidden in the
// tray): player commands that had to wait for the multithreaded apartment.
#include "app/main_window.h"

namespace tarnuvo {

void MainWindow::noteSteadyApartment() {
    // A modal dialog owned by the window disables it: that is no steady state.
    if (window_ && IsWindowEnabled(window_)) steadySingleThreaded = apartmentIsSingleThreaded();
}

bool MainWindow::graphCallsDeferred() const {
    return currentPlayer->isDirectShow() && !steadySingleThreaded && apartmentIsSingleThreaded();
}

void MainWindow::runDeferredCommand() {
    if (deferredCommand == 0 || graphCallsDeferred()) return;
    uint32_t id = deferredCommand;
    deferredCommand = 0;
    PostMessageA(window_, WM_COMMAND, id, 0);
}

}  // namespace tarnuvo
