#include "playlist/entry_handover.h"

#include <windows.h>

#include "base/window_call.h"
#include "engine/text.h"

namespace tarnuvo {

EntryHandover::EntryHandover(WindowHandle window, Playlist& playlist, bool replace)
    : window_(window),
      playlist_(playlist),
      replacePending_(replace),
      lastHandOver_(GetTickCount64()) {}

void EntryHandover::setListAttributes(const char* album, const char* comment,
                                      int32_t relativePaths) {
    haveListAttributes_ = true;
    copyText(album_, kTextSize, album);
    copyText(comment_, kTextSize, comment);
    relativePaths_ = relativePaths;
}

void EntryHandover::setArchiveAlbum(const char* album) {
    haveArchiveAlbum_ = true;
    copyText(album_, kTextSize, album);
}

void EntryHandover::add(const TrackInfo& record) {
    batch_.push_back(record);
    handOverIfDue();
}

void EntryHandover::handOverIfDue() {
    if (GetTickCount64() - lastHandOver_ >= kHandoverIntervalMs) handOver();
}

// Window thread: until now the old list stood untouched.
void EntryHandover::applyFirstStep() {
    if (replacePending_) playlist_.clearList();
    if (haveListAttributes_) playlist_.applyListAttributes(album_, comment_, relativePaths_);
    if (haveArchiveAlbum_ && playlist_.album[0] == '\0')
        copyText(playlist_.album, kTextSize, album_);
}

void EntryHandover::handOver() {
    lastHandOver_ = GetTickCount64();
    if (batch_.empty()) return;
    const int32_t n = static_cast<int32_t>(batch_.size());
    bool taken = false;  // not when the window is gone
    callOnWindowThread(static_cast<HWND>(window_), [&] {
        if (!firstStepDone_) {
            applyFirstStep();
            firstStepDone_ = true;
        }
        playlist_.appendEntries(batch_.data(), n);
        taken = true;
    });
    if (taken) added_ += n;
    batch_.clear();
}

}  // namespace tarnuvo
