// Paints the information panel's record into its back buffer and finds the
// click areas on the way. Knows nothing of the window: tests paint records of
// their own.
#pragma once

#include <windows.h>

#include "app/back_buffer.h"
#include "app/panel_lines.h"
#include "ui/panel_content.h"

namespace tarnuvo {

struct PanelLook {
    COLORREF text = 0xFFFF00;
    COLORREF gray = 0x808000;
    COLORREF back = 0;
    HFONT titleFont = nullptr;
    HFONT timeFont = nullptr;
    HFONT infoFont = nullptr;
    HFONT infoBoldFont = nullptr;
    HFONT fileFont = nullptr;
    PanelLines lines;
    const char* loadingText = "";
};

// Paints everything when `full`, else only the band of the time line. The
// areas of the parts not painted are taken over from `areas`.
PanelAreas paintPanel(BackBuffer& buffer, const PanelContent& content, const PanelLook& look,
                      bool full, PanelAreas areas);

}  // namespace tarnuvo
