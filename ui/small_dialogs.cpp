// The small dialogs of the main window: a box with one of the program's
// strings, the version dialog and the box that tells which tag library is
// installed.
#include "ui/small_dialogs.h"

#include <cstdio>

#include "app/centering_hook.h"
#include "app/window_parts.h"
#include "app/small_dialog.h"
#include "playlist/tag_reader.h"
#include "resources/resource_ids.h"
#include "ui/window_tray.h"

namespace tarnuvo {

void SmallDialogs::showStringBox(UINT textId, UINT style) const {
    char text[1024] = {};
    LoadStringA(frame_.instance(), textId, text, sizeof text);
    centeredMessageBox(frame_.window(), text, tray_.title(), style);
}

void SmallDialogs::showVersion() const {
    DialogBoxParamA(frame_.instance(), MAKEINTRESOURCEA(IDD_VERSION), frame_.window(),
                    smallDialogProcedure, 0);
}

void SmallDialogs::showTagInfo() const {
    const HINSTANCE instance = frame_.instance();
    char text[kTextSize] = {};
    char caption[kTextSize] = {};
    LoadStringA(instance, IDS_MP3INFP_CAPTION, caption, sizeof caption);
    TagReader reader;
    if (reader.load(0)) {
        char format[kTextSize] = {};
        LoadStringA(instance, IDS_MP3INFP_VERSION, format, sizeof format);
        const uint32_t version = reader.version();
        std::snprintf(text, sizeof text, format, (version >> 8) & 0xFF, version & 0xFF);
    } else {
        LoadStringA(instance, IDS_MP3INFP_MISSING, text, sizeof text);
    }
    centeredMessageBox(frame_.window(), text, caption, MB_ICONINFORMATION);
}

}  // namespace tarnuvo
