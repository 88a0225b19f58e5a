#include "playlist/playlist.h"

#include <cstdint>
#include <functional>
#include <utility>

#include "engine/text.h"

namespace tarnuvo {

void Playlist::appendEntries(const TrackInfo* records, int32_t n) {
    if (!records || n <= 0) return;
    const int32_t at = count();
    if (n > kMaxListEntries - at) n = kMaxListEntries - at;
    if (n <= 0) return;
    const std::less<const TrackInfo*> before;
    if (!entries_.empty() && !before(records, entries_.data()) &&
        before(records, entries_.data() + entries_.size())) {
        // Growing the sequence would move the records being copied.
        const std::vector<TrackInfo> copies(records, records + n);
        appendEntries(copies.data(), n);
        return;
    }
    // Rows first: an entry exists only once its row does. Whatever the view
    // refused to take is not added either, so entry i stays row i.
    host_.insertRows(at, records, n);
    int32_t added = host_.rowCount() - at;
    if (added < 0) added = 0;
    if (added > n) added = n;
    entries_.insert(entries_.end(), records, records + added);
}

void Playlist::removeEntry(int32_t index) {
    if (!entryAt(index)) return;
    host_.deleteRow(index);
    entries_.erase(entries_.begin() + index);
    // Keep the number on the entry that was playing; when that entry goes,
    // point just before its place so that "next" plays its successor.
    if (index < currentIndex) {
        --currentIndex;
    } else if (index == currentIndex) {
        currentIndex = index - 1;
    }
}

bool Playlist::swapEntries(int32_t i) {
    if (i < 0 || i >= count() - 1) return false;
    std::swap(entries_[static_cast<size_t>(i)], entries_[static_cast<size_t>(i) + 1]);
    // The lower row moves up by itself once the upper one is gone; the record
    // that now stands lower gets a fresh row, showing exactly what a new row
    // for it would.
    host_.deleteRow(i);
    host_.insertRows(i + 1, &entries_[static_cast<size_t>(i) + 1], 1);
    if (currentIndex == i) {
        currentIndex = i + 1;
    } else if (currentIndex == i + 1) {
        currentIndex = i;
    }
    return true;
}

void Playlist::updateEntry(int32_t index, const TrackInfo& probed) {
    if (!entryAt(index)) return;
    TrackInfo& entry = entries_[static_cast<size_t>(index)];
    copyText(entry.title, kTextSize, probed.title, kTextSize - 1);
    copyText(entry.artist, kTextSize, probed.artist, kTextSize - 1);
    copyTiming(entry, probed);
    entry.infoKnown = probed.infoKnown;
    host_.updateRow(index, entry);
}

void Playlist::clearList() {
    // Rows deleted by hand leave entries == rows == 0, but the attributes of
    // the former list must go all the same.
    if (host_.rowCount() > 0) host_.deleteAllRows();
    std::vector<TrackInfo>().swap(entries_);
    currentIndex = -1;
    if (host_.playerState() == Stopped) host_.resetPanelAfterClear();
    host_.updateListControls();
    relativePaths = 0;
    album[0] = '\0';
    comment[0] = '\0';
    host_.updateWindowTitle();
}

void Playlist::applyListAttributes(const char* listAlbum, const char* listComment,
                                   int32_t listRelativePaths) {
    if (album[0] == '\0') {
        copyText(album, kTextSize, listAlbum ? listAlbum : "");
        copyText(comment, kTextSize, listComment ? listComment : "");
    }
    relativePaths = listRelativePaths != 0 ? 1 : 0;
}

}  // namespace tarnuvo
