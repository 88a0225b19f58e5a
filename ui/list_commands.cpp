// The list commands: delete, move up and down, and the re-read of every
// entry's length and loop data.
#include <windows.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "ui/list_pane.h"
#include "ui/play_road.h"

namespace tarnuvo {

void ListPane::deleteSelected() {
    Playlist& playlist = legacy_.playlist();
    const int32_t mark = selectedRow();
    if (!playlist.entryAt(mark)) return;
    const int32_t before = playlist.currentIndex;
    playlist.removeEntry(mark);
    // The player's number follows its entry; when that entry itself goes,
    // the panel keeps showing the number it had.
    if (mark != before) legacy_.road().renumberAfterMove(before);
    if (!playlist.empty()) {
        const int32_t rows = rowCount();
        selectRow(mark < rows ? mark : rows - 1);
        onSelectionChanged();
    }
    // The selection shows only while stopped; a playing entry's number moved.
    if (legacy_.playbackState() != Stopped) legacy_.redrawInfoPanel(true, true);
    if (legacy_.playbackState() == Stopped && playlist.empty()) resetPanelAfterClear();
    updateListControls();
}

void ListPane::moveSelected(bool up) {
    Playlist& playlist = legacy_.playlist();
    const int32_t mark = selectedRow();
    if (playlist.empty() || !playlist.entryAt(mark)) return;
    const int32_t upper = up ? mark - 1 : mark;
    if (!playlist.entryAt(upper) || !playlist.entryAt(upper + 1)) return;
    const int32_t before = playlist.currentIndex;
    // The exchange rewrites both rows itself.
    playlist.swapEntries(upper);
    legacy_.road().renumberAfterMove(before);
    selectRow(up ? mark - 1 : mark + 1);
    onSelectionChanged();
    // The selection shows only while stopped; a playing entry's number moved.
    if (legacy_.playbackState() != Stopped) legacy_.redrawInfoPanel(true, true);
}

void ListPane::rereadEntries() {
    Playlist& playlist = legacy_.playlist();
    if (playlist.empty() || legacy_.closing()) return;
    std::vector<std::string> locations;
    locations.reserve(static_cast<size_t>(playlist.count()));
    for (const TrackInfo& entry : playlist.entries()) locations.emplace_back(entry.location);
    legacy_.loader().startRereading(std::move(locations));
}

}  // namespace tarnuvo
