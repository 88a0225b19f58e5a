// The ordered entries of the one playlist and the attributes of the list as a
// whole. Platform-free: the rows and the window are reached through the host.
// Only the window thread calls these operations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/track_info.h"
#include "playlist/playlist_host.h"

namespace tarnuvo {

// The most entries a list holds, so that whatever it holds a list file can
// give back whole. Only damage comes near it when reading (a section
// "Track1999999998" alone, or megabytes of bare headers); it keeps a damaged
// file from asking for gigabytes of records.
constexpr int32_t kMaxListEntries = 100000;

class Playlist {
public:
    explicit Playlist(PlaylistHost& host) : host_(host) {}
    Playlist(const Playlist&) = delete;
    Playlist& operator=(const Playlist&) = delete;

    int32_t count() const { return static_cast<int32_t>(entries_.size()); }
    bool empty() const { return entries_.empty(); }
    // Null when `index` names no entry.
    const TrackInfo* entryAt(int32_t index) const {
        return index >= 0 && index < count() ? &entries_[static_cast<size_t>(index)] : nullptr;
    }
    const std::vector<TrackInfo>& entries() const { return entries_; }

    // Appends copies of the records at the end, each together with its row,
    // as far as the list has room.
    void appendEntries(const TrackInfo* records, int32_t n);
    // Erases the entry and its row. currentIndex stays on the same entry; when
    // that entry itself is erased it becomes index - 1, so that "next" plays
    // the entry that took its place.
    void removeEntry(int32_t index);
    // Exchanges entries i and i + 1 and refreshes their rows; currentIndex
    // moves with its entry. False when either index names no entry.
    bool swapEntries(int32_t i);
    // Rewrites the fields of entry `index` that a probe of its file gives
    // (title, artist, length, rate, frame count, loop values, infoKnown) and
    // its row.
    void updateEntry(int32_t index, const TrackInfo& probed);
    // Removes every entry and row (rows only when there are any), resets
    // currentIndex, album, comment and relativePaths, then brings the window
    // up to date (panel reset while stopped, list controls, title).
    void clearList();
    // The attributes of a list file read into this list: album and comment
    // only when the list has no album yet; relativePaths always.
    void applyListAttributes(const char* listAlbum, const char* listComment,
                             int32_t listRelativePaths);

    char album[kTextSize] = {};
    char comment[kTextSize] = {};
    int32_t relativePaths = 0;
    int32_t currentIndex = -1;  // entry last started for playback; -1 when none

private:
    PlaylistHost& host_;
    std::vector<TrackInfo> entries_;
};

}  // namespace tarnuvo
