// The window's operations that now belong to the layout, the transport
// buttons and the list pane, for the code that still calls them on the window.
#include "app/main_window.h"
#include "ui/main_view.h"

namespace tarnuvo {
namespace {

// The host's const questions reach the pane through the same window.
ListPane& pane(const MainWindow& window) {
    return mainView(const_cast<MainWindow&>(window)).listPane();
}

}  // namespace

void MainWindow::moveLayoutEntry(int32_t slot, int32_t dx, int32_t dy, int32_t dWidth,
                                 int32_t dHeight, bool repaint) {
    mainView(*this).layout().move(slot, dx, dy, dWidth, dHeight, repaint);
}

void MainWindow::togglePlaylist() {
    mainView(*this).layout().togglePlaylist();
}

void MainWindow::showPauseLook() {
    mainView(*this).buttons().showPauseLook();
}

HWND MainWindow::transportButton(int32_t index) {
    return mainView(*this).buttons().handle(index);
}

int32_t MainWindow::rowCount() const {
    return pane(*this).rowCount();
}

void MainWindow::insertRows(int32_t index, const TrackInfo* tracks, int32_t count) {
    pane(*this).insertRows(index, tracks, count);
}

void MainWindow::updateRow(int32_t index, const TrackInfo& track) {
    pane(*this).updateRow(index, track);
}

void MainWindow::deleteRow(int32_t index) {
    pane(*this).deleteRow(index);
}

void MainWindow::deleteAllRows() {
    pane(*this).deleteAllRows();
}

void MainWindow::selectRow(int32_t index) {
    pane(*this).selectRow(index);
}

int32_t MainWindow::selectedRow() const {
    return pane(*this).selectedRow();
}

void MainWindow::onSelectionChanged() {
    pane(*this).onSelectionChanged();
}

void MainWindow::resetPanelAfterClear() {
    pane(*this).resetPanelAfterClear();
}

void MainWindow::updateListControls() {
    pane(*this).updateListControls();
}

void MainWindow::deleteSelected() {
    pane(*this).deleteSelected();
}

void MainWindow::moveSelected(bool up) {
    pane(*this).moveSelected(up);
}

void MainWindow::rereadEntries() {
    pane(*this).rereadEntries();
}

void MainWindow::setListGridLines(bool on) {
    pane(*this).setGridLines(on);
}

int32_t MainWindow::toolbarHeight() {
    return pane(*this).toolbarHeight();
}

}  // namespace tarnuvo
