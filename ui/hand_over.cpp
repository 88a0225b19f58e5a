// The first instance's side of a second start: the path arrives by
// WM_COPYDATA and is appended once no load runs.
#include "app/main_window.h"
#include "app/single_instance.h"
#include "base/window_messages.h"

namespace tarnuvo {

INT_PTR MainWindow::onCopyData(const COPYDATASTRUCT* data) {
    char path[kTextSize];
    if (!data || !readHandOver(*data, path)) return 0;
    // A closing window refuses; the second start then waits to become the first.
    BOOL taken = closing_ ? FALSE : TRUE;
    if (taken) {
        if (path[0] != '\0') pendingHandOvers.emplace_back(path);
        // The sender waits for this reply: the load starts later.
        PostMessageA(window_, kHandOverMessage, 0, 0);
    }
    SetWindowLongPtrA(window_, DWLP_MSGRESULT, taken);
    return 1;
}

void MainWindow::onHandOver() {
    if (closing_) return;
    restoreFromTray();
    // Explorer starts one process per selected file: each is appended. A
    // running load keeps them until its end-of-load message, an open file
    // dialog until it closes.
    if (pendingHandOvers.empty() || loader_.busy() || fileDialogOpen) return;
    std::vector<std::string> paths;
    paths.swap(pendingHandOvers);
    startLoading(std::move(paths), 0);
}

void MainWindow::onLoadFinished() {
    // A load started since (a drop handled before this message) is not the
    // one that ended: collecting it would stop it.
    if (!loader_.busy()) loader_.collect();
    // A list that was empty while a track played now gives the panel a title.
    refreshInfoPanel(true);
    // A track refused during the load (an end-of-track advance among them).
    runPendingCommand();
    if (!pendingHandOvers.empty()) PostMessageA(window_, kHandOverMessage, 0, 0);
}

}  // namespace tarnuvo
