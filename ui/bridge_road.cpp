// The window's forwarders to the play road, the commands and the menus'
// modes, for the code that still reaches them through the window.
#include "app/main_window.h"
#include "ui/main_view.h"

namespace tarnuvo {

PlayRoad& MainWindow::road() const {
    return static_cast<MainView&>(*parts_).road();
}
void MainWindow::playSelected() {
    road().playSelected();
}
void MainWindow::stopPlayback() {
    road().stopPlayback();
}
void MainWindow::togglePause(bool holdOnly) {
    road().togglePause(holdOnly);
}
void MainWindow::restartAt(uint32_t position) {
    road().restartAt(position);
}
int32_t MainWindow::playbackState() const {
    return road().state();
}
void MainWindow::runPendingCommand() {
    mainView(*this).commands().runKept();
}
void MainWindow::toggleAlwaysOnTop() {
    mainView(*this).modes().toggleAlwaysOnTop();
}

}  // namespace tarnuvo
