// Stand-in until the playlist model lands: the contract's operations in
// their plainest form.
#include <cstddef>  // the header uses size_t

#include "playlist/playlist.h"

#include <utility>

#include "engine/text.h"

namespace tarnuvo {

void Playlist::appendEntries(const TrackInfo* records, int32_t n) {
    if (n <= 0) return;
    int32_t first = count();
    entries_.insert(entries_.end(), records, records + n);
    host_.insertRows(first, records, n);
}

void Playlist::removeEntry(int32_t index) {
    if (!entryAt(index)) return;
    entries_.erase(entries_.begin() + index);
    host_.deleteRow(index);
    if (currentIndex >= index) --currentIndex;
}

bool Playlist::swapEntries(int32_t i) {
    if (!entryAt(i) || !entryAt(i + 1)) return false;
    std::swap(entries_[static_cast<size_t>(i)], entries_[static_cast<size_t>(i) + 1]);
    host_.updateRow(i, entries_[static_cast<size_t>(i)]);
    host_.updateRow(i + 1, entries_[static_cast<size_t>(i) + 1]);
    if (currentIndex == i)
        currentIndex = i + 1;
    else if (currentIndex == i + 1)
        currentIndex = i;
    return true;
}

void Playlist::updateEntry(int32_t index, const TrackInfo& probed) {
    if (!entryAt(index)) return;
    TrackInfo& entry = entries_[static_cast<size_t>(index)];
    copyText(entry.title, kTextSize, probed.title);
    copyText(entry.artist, kTextSize, probed.artist);
    entry.length = probed.length;
    entry.hasLoop = probed.hasLoop;
    entry.loopStart = probed.loopStart;
    entry.loopEnd = probed.loopEnd;
    entry.infoKnown = probed.infoKnown;
    host_.updateRow(index, entry);
}

void Playlist::clearList() {
    if (host_.rowCount() > 0) host_.deleteAllRows();
    entries_.clear();
    currentIndex = -1;
    album[0] = comment[0] = '\0';
    relativePaths = 0;
    if (host_.playerState() == Stopped) host_.resetPanelAfterClear();
    host_.updateListControls();
    host_.updateWindowTitle();
}

void Playlist::applyListAttributes(const char* listAlbum, const char* listComment,
                                   int32_t listRelativePaths) {
    if (album[0] == '\0') {
        copyText(album, kTextSize, listAlbum ? listAlbum : "");
        copyText(comment, kTextSize, listComment ? listComment : "");
    }
    relativePaths = listRelativePaths;
}

}  // namespace tarnuvo
