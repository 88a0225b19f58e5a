// The playlist's host calls, passed on to the window's parts.
#include "app/main_window.h"

namespace tarnuvo {

int32_t MainWindow::rowCount() const {
    return parts_->rowCount();
}
void MainWindow::insertRows(int32_t index, const TrackInfo* tracks, int32_t count) {
    parts_->insertRows(index, tracks, count);
}
void MainWindow::updateRow(int32_t index, const TrackInfo& track) {
    parts_->updateRow(index, track);
}
void MainWindow::deleteRow(int32_t index) {
    parts_->deleteRow(index);
}
void MainWindow::deleteAllRows() {
    parts_->deleteAllRows();
}
void MainWindow::selectRow(int32_t index) {
    parts_->selectRow(index);
}
int32_t MainWindow::selectedRow() const {
    return parts_->selectedRow();
}
void MainWindow::onSelectionChanged() {
    parts_->onSelectionChanged();
}
void MainWindow::updateListControls() {
    parts_->updateListControls();
}
void MainWindow::updateWindowTitle() {
    parts_->updateWindowTitle();
}
void MainWindow::stopPlayback() {
    parts_->stopPlayback();
}
void MainWindow::resetPanelAfterClear() {
    parts_->resetPanelAfterClear();
}
void MainWindow::showLoading(bool on) {
    parts_->showLoading(on);
}
int32_t MainWindow::playerState() const {
    return parts_->playerState();
}

}  // namespace tarnuvo
