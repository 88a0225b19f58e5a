// Files dropped on the window go to the loader, appended.
#include <windows.h>
#include <shellapi.h>

#include "app/main_window.h"

namespace tarnuvo {

void MainWindow::onDropFiles(HDROP drop) {
    if (loader.busy() || closing()) {
        DragFinish(drop);
        return;
    }
    std::vector<std::string> paths;
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[kTextSize] = {};
        // A name that does not fit is skipped, never cut.
        if (DragQueryFileA(drop, i, nullptr, 0) >= kTextSize) continue;
        if (DragQueryFileA(drop, i, path, kTextSize) > 0) paths.emplace_back(path);
    }
    DragFinish(drop);
    if (!paths.empty()) startLoading(std::move(paths), 0);
}

}  // namespace tarnuvo
