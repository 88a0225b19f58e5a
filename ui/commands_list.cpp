// The list commands: delete, move up and down, and the re-read of every
// entry's length and loop data.
#include <windows.h>

#include <string>
#include <vector>

#include "app/main_window.h"

namespace tarnuvo {

void MainWindow::deleteSelected() {
    const int32_t mark = selectedRow();
    if (!playlist.entryAt(mark)) return;
    const int32_t before = playlist.currentIndex;
    playlist.removeEntry(mark);
    // The player's number follows its entry; when that entry itself goes,
    // the panel keeps showing the number it had.
    // A track being started takes its number once it has started.
    if (!starting && mark != before && currentPlayer->listIndex == before)
        currentPlayer->listIndex = playlist.currentIndex;
    if (!playlist.empty()) {
        const int32_t rows = rowCount();
        selectRow(mark < rows ? mark : rows - 1);
        onSelectionChanged();
    }
    // The selection shows only while stopped; a playing entry's number moved.
    if (playbackState() != Stopped) redrawInfoPanel(true, true);
    if (playbackState() == Stopped && playlist.empty()) resetPanelAfterClear();
    updateListControls();
}

void MainWindow::moveSelected(bool up) {
    const int32_t mark = selectedRow();
    if (playlist.empty() || !playlist.entryAt(mark)) return;
    const int32_t upper = up ? mark - 1 : mark;
    if (!playlist.entryAt(upper) || !playlist.entryAt(upper + 1)) return;
    const int32_t before = playlist.currentIndex;
    // The exchange rewrites both rows itself.
    playlist.swapEntries(upper);
    if (!starting && currentPlayer->listIndex == before)
        currentPlayer->listIndex = playlist.currentIndex;
    selectRow(up ? mark - 1 : mark + 1);
    onSelectionChanged();
    // The selection shows only while stopped; a playing entry's number moved.
    if (playbackState() != Stopped) redrawInfoPanel(true, true);
}

void MainWindow::rereadEntries() {
    if (playlist.empty() || closing()) return;
    std::vector<std::string> locations;
    locations.reserve(static_cast<size_t>(playlist.count()));
    for (const TrackInfo& entry : playlist.entries()) locations.emplace_back(entry.location);
    loader.startRereading(std::move(locations));
}

}  // namespace tarnuvo
