// The list commands: delete, move up and down, and the re-read of every
// entry's length and loop data.
#include <windows.h>

#include <string>
#include <vector>

#include "app/window_parts.h"
#include "ui/list_pane.h"
#include "ui/play_road.h"
#include "ui/info_panel.h"

namespace tarnuvo {

void ListPane::deleteSelected() {
    Playlist& playlist = frame_.playlist();
    const int32_t mark = selectedRow();
    if (!playlist.entryAt(mark)) return;
    const int32_t before = playlist.currentIndex;
    playlist.removeEntry(mark);
    // The player's number follows its entry; when that entry itself goes,
    // the panel keeps showing the number it had.
    if (mark != before) road_.renumberAfterMove(before);
    if (!playlist.empty()) {
        const int32_t rows = rowCount();
        selectRow(mark < rows ? mark : rows - 1);
        onSelectionChanged();
    }
    // The selection shows only while stopped; a playing entry's number moved.
    if (road_.state() != Stopped) panel_.redraw(true, true);
    if (road_.state() == Stopped && playlist.empty()) resetPanelAfterClear();
    updateListControls();
}

void ListPane::moveSelected(bool up) {
    Playlist& playlist = frame_.playlist();
    const int32_t mark = selectedRow();
    if (playlist.empty() || !playlist.entryAt(mark)) return;
    const int32_t upper = up ? mark - 1 : mark;
    if (!playlist.entryAt(upper) || !playlist.entryAt(upper + 1)) return;
    const int32_t before = playlist.currentIndex;
    // The exchange rewrites both rows itself.
    playlist.swapEntries(upper);
    road_.renumberAfterMove(before);
    selectRow(up ? mark - 1 : mark + 1);
    onSelectionChanged();
    // The selection shows only while stopped; a playing entry's number moved.
    if (road_.state() != Stopped) panel_.redraw(true, true);
}

void ListPane::rereadEntries() {
    Playlist& playlist = frame_.playlist();
    if (playlist.empty() || frame_.closing()) return;
    std::vector<std::string> locations;
    locations.reserve(static_cast<size_t>(playlist.count()));
    for (const TrackInfo& entry : playlist.entries()) locations.emplace_back(entry.location);
    frame_.loader().startRereading(std::move(locations));
}

}  // namespace tarnuvo
