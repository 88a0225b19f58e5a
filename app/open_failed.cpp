// Work that timer 3 does besides the tray animation (it also runs while the
// window is hidden in the tray): the one report of a track that could not be
// started, and player commands that had to wait for the multithreaded apartment.
#include "app/centering_hook.h"
#include "app/main_window.h"
#include "base/worker_stop.h"
#include "resources/resource_ids.h"

namespace tarnuvo {

void MainWindow::openFailedCheck() {
    // The play thread stores its result (0: nothing could be opened or
    // started) before it marks itself finished. A timer, not any message,
    // brings the report: a box may not open inside a window-position or
    // colour message.
    if (!playWorker.thread || playWorker.finished == 0 || playWorker.parameter != 0) return;
    stopWorker(playWorker);
    EnableWindow(buttons[0], TRUE);
    char text[4096] = {};
    LoadStringA(instance, IDS_OPEN_FAILED, text, sizeof text);
    centeredMessageBox(window, text, windowTitle, MB_ICONEXCLAMATION);
}

void MainWindow::noteSteadyApartment() {
    // A modal dialog owned by the window disables it: that is no steady state.
    if (window && IsWindowEnabled(window)) steadySingleThreaded = apartmentIsSingleThreaded();
}

bool MainWindow::graphCallsDeferred() const {
    return currentPlayer->isDirectShow() && !steadySingleThreaded && apartmentIsSingleThreaded();
}

void MainWindow::runDeferredCommand() {
    if (deferredCommand == 0 || graphCallsDeferred()) return;
    uint32_t id = deferredCommand;
    deferredCommand = 0;
    PostMessageA(window, WM_COMMAND, id, 0);
}

}  // namespace tarnuvo
