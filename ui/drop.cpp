// Files dropped on the window go to the loader, appended.
#include <windows.h>
#include <shellapi.h>

#include "app/window_parts.h"
#include "ui/file_dialogs.h"

namespace tarnuvo {

void FileDialogs::onDropFiles(HDROP drop) {
    // While a load runs the loader is the list's only writer.
    if (frame_.loader().busy() || frame_.closing()) {
        DragFinish(drop);
        return;
    }
    PathIntake intake;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // The length first: a path that does not fit is left out, never cut.
        if (DragQueryFileA(drop, i, nullptr, 0) > kMaxPathBytes) {
            ++intake.tooLong;
            continue;
        }
        char path[kMaxPathBytes + 1] = {};
        if (DragQueryFileA(drop, i, path, sizeof path) > 0) takePath(intake, path);
    }
    DragFinish(drop);
    handOverPaths(std::move(intake), 0);
}

}  // namespace tarnuvo
