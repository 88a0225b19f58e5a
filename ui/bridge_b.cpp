// The window's former operations of the information panel, the seek bar and
// the volume control, kept for the callers that still go through the window.
#include "app/main_window.h"
#include "ui/main_view.h"

namespace tarnuvo {

void MainWindow::rebuildPanelBuffer() {
    mainView(*this).panel().rebuild();
}
void MainWindow::redrawInfoPanel(bool full, bool present, const TrackInfo* entry) {
    mainView(*this).panel().redraw(full, present, entry);
}
void MainWindow::refreshInfoPanel(bool full) {
    mainView(*this).panel().refresh(full);
}
void MainWindow::onRefreshTimer() {
    mainView(*this).panel().onRefreshTimer();
}
void MainWindow::markPanelLoading(bool on) {
    mainView(*this).panel().markLoading(on);
}
void MainWindow::notePanelPausedAt(uint32_t position) {
    mainView(*this).panel().notePausedAt(position);
}
void MainWindow::setPanelBlink(bool visible) {
    mainView(*this).panel().setBlink(visible);
}

void MainWindow::setupSeekSlider(const TrackInfo& track) {
    mainView(*this).seek().setUpFor(track);
}
void MainWindow::seekToSlider() {
    mainView(*this).seek().seekToSlider();
}
void MainWindow::enableSeekSlider(bool on) {
    mainView(*this).seek().enable(on);
}
void MainWindow::resetSeekSlider() {
    mainView(*this).seek().reset();
}
void MainWindow::clearSeekSelection() {
    mainView(*this).seek().clearSelection();
}
void MainWindow::seekClassicLook() {
    mainView(*this).seek().useClassicLook();
}

void MainWindow::setVolumeTarget(bool isDirectShow) {
    mainView(*this).volume().setTarget(isDirectShow);
}
void MainWindow::applyVolumeSlider() {
    mainView(*this).volume().apply();
}

}  // namespace tarnuvo
