// The list commands: delete, move up and down, and the re-read of every
// entry's length and loop data.
#include <windows.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "ui/play_road.h"

namespace tarnuvo {

void MainWindow::deleteSelected() {
    const int32_t mark = selectedRow();
    if (!playlist_.entryAt(mark)) return;
    const int32_t before = playlist_.currentIndex;
    playlist_.removeEntry(mark);
    // The player's number follows its entry; when that entry itself goes,
    // the panel keeps showing the number it had.
    if (mark != before) road().renumberAfterMove(before);
    if (!playlist_.empty()) {
        const int32_t rows = rowCount();
        selectRow(mark < rows ? mark : rows - 1);
        onSelectionChanged();
    }
    // The selection shows only while stopped; a playing entry's number moved.
    if (playbackState() != Stopped) redrawInfoPanel(true, true);
    if (playbackState() == Stopped && playlist_.empty()) resetPanelAfterClear();
    updateListControls();
}

void MainWindow::moveSelected(bool up) {
    const int32_t mark = selectedRow();
    if (playlist_.empty() || !playlist_.entryAt(mark)) return;
    const int32_t upper = up ? mark - 1 : mark;
    if (!playlist_.entryAt(upper) || !playlist_.entryAt(upper + 1)) return;
    const int32_t before = playlist_.currentIndex;
    // The exchange rewrites both rows itself.
    playlist_.swapEntries(upper);
    road().renumberAfterMove(before);
    selectRow(up ? mark - 1 : mark + 1);
    onSelectionChanged();
    // The selection shows only while stopped; a playing entry's number moved.
    if (playbackState() != Stopped) redrawInfoPanel(true, true);
}

void MainWindow::rereadEntries() {
    if (playlist_.empty() || closing()) return;
    std::vector<std::string> locations;
    locations.reserve(static_cast<size_t>(playlist_.count()));
    for (const TrackInfo& entry : playlist_.entries()) locations.emplace_back(entry.location);
    loader_.startRereading(std::move(locations));
}

}  // namespace tarnuvo
