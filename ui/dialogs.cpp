// The small dialogs of the main window: the version dialog and the box that
// tells which tag library is installed.
#include <cstdio>

#include "app/centering_hook.h"
#include "app/main_window.h"
#include "app/small_dialog.h"
#include "playlist/tag_reader.h"
#include "resources/resource_ids.h"

namespace tarnuvo {

void MainWindow::showVersionDialog() {
    DialogBoxParamA(instance_, MAKEINTRESOURCEA(IDD_VERSION), window_, smallDialogProcedure, 0);
}

void MainWindow::showTagInfo() {
    char text[kTextSize] = {};
    char caption[kTextSize] = {};
    LoadStringA(instance_, IDS_MP3INFP_CAPTION, caption, sizeof caption);
    TagReader reader;
    if (reader.load(0)) {
        char format[kTextSize] = {};
        LoadStringA(instance_, IDS_MP3INFP_VERSION, format, sizeof format);
        const uint32_t version = reader.version();
        std::snprintf(text, sizeof text, format, (version >> 8) & 0xFF, version & 0xFF);
    } else {
        LoadStringA(instance_, IDS_MP3INFP_MISSING, text, sizeof text);
    }
    centeredMessageBox(window_, text, caption, MB_ICONINFORMATION);
}

}  // namespace tarnuvo
