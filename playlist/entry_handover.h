// Hands finished records from a worker thread to the window thread, which
// alone changes the entries, the rows and the list attributes. Records go in
// batches (what came in the last ~50 ms), one synchronous call each, so rows
// appear progressively while the window is never repainted per row.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/track_info.h"
#include "playlist/playlist.h"

namespace tarnuvo {

constexpr uint32_t kHandoverIntervalMs = 50;

class EntryHandover {
public:
    // With `replace`, the list is cleared in the same window-thread step that
    // appends the first record; a load that adds nothing leaves it alone.
    EntryHandover(WindowHandle window, Playlist& playlist, bool replace);

    // A list file's attributes, applied in the step that appends the first
    // record: album and comment only to a list without an album.
    void setListAttributes(const char* album, const char* comment, int32_t relativePaths);
    // An archive's name, made the album in that step when the list has none.
    void setArchiveAlbum(const char* album);

    void add(const TrackInfo& record);
    // Hands over what was collected once the interval has passed.
    void handOverIfDue();
    void handOver();

    // Records handed over so far.
    int32_t added() const { return added_; }

private:
    void applyFirstStep();

    WindowHandle window_;
    Playlist& playlist_;
    bool replacePending_;
    bool firstStepDone_ = false;
    bool haveListAttributes_ = false;
    bool haveArchiveAlbum_ = false;
    char album_[kTextSize] = {};
    char comment_[kTextSize] = {};
    int32_t relativePaths_ = 0;
    std::vector<TrackInfo> batch_;
    uint64_t lastHandOver_ = 0;
    int32_t added_ = 0;
};

}  // namespace tarnuvo
