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

void MainWindow::showVersionDialog() {
    mainView(*this).smallDialogs().showVersion();
}

void MainWindow::showTagInfo() {
    mainView(*this).smallDialogs().showTagInfo();
}

void MainWindow::openListDialog() {
    mainView(*this).fileDialogs().openList();
}

void MainWindow::addFilesDialog() {
    mainView(*this).fileDialogs().addFiles();
}

void MainWindow::saveListDialog() {
    mainView(*this).fileDialogs().saveList();
}

}  // namespace tarnuvo
