// The window's operations that code outside the tray, hand-over and dialog
// parts still calls, passed on to those parts.
#include "app/main_window.h"
#include "ui/main_view.h"

namespace tarnuvo {

void MainWindow::updateWindowTitle() {
    mainView(*this).tray().updateWindowTitle();
}

void MainWindow::updateTrayTip() {
    mainView(*this).tray().updateTip();
}

const char* MainWindow::windowTitle() {
    return mainView(*this).tray().title();
}

void MainWindow::restoreFromTray() {
    mainView(*this).tray().restore();
}

}  // namespace tarnuvo
