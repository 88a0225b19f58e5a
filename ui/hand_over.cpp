// The first instance's side of a second start: the path arrives by
// WM_COPYDATA and is appended once no load runs.
#include "ui/hand_over.h"

#include "app/window_parts.h"
#include "app/single_instance.h"
#include "base/window_messages.h"
#include "ui/window_tray.h"

namespace tarnuvo {

INT_PTR HandOver::onCopyData(const COPYDATASTRUCT* data) {
    char path[kTextSize];
    if (!data || !readHandOver(*data, path)) return 0;
    // A closing window refuses; the second start then waits to become the first.
    BOOL taken = frame_.closing() ? FALSE : TRUE;
    if (taken) {
        if (path[0] != '\0') pending_.emplace_back(path);
        // The sender waits for this reply: the load starts later.
        PostMessageA(frame_.window(), kHandOverMessage, 0, 0);
    }
    SetWindowLongPtrA(frame_.window(), DWLP_MSGRESULT, taken);
    return 1;
}

void HandOver::onHandOver() {
    if (frame_.closing()) return;
    tray_.restore();
    // Explorer starts one process per selected file: each is appended. A
    // running load keeps them until its end-of-load message, an open file
    // dialog until it closes.
    if (pending_.empty() || frame_.loader().busy() || held_) return;
    std::vector<std::string> paths;
    paths.swap(pending_);
    frame_.startLoading(std::move(paths), 0);
}

void HandOver::afterLoad() {
    if (!pending_.empty()) PostMessageA(frame_.window(), kHandOverMessage, 0, 0);
}

void HandOver::release() {
    held_ = false;
    if (!pending_.empty()) PostMessageA(frame_.window(), kHandOverMessage, 0, 0);
}

}  // namespace tarnuvo
