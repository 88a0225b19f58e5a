// The information panel's image. This draws its background and title line;
// the time, loop and file lines and the click areas come with the panel's
// own work.
#include <cstdio>

#include "app/main_window.h"

namespace tarnuvo {

void MainWindow::redrawInfoPanel(bool full, bool present, const TrackInfo* entry) {
    HDC dc = panelBuffer.dc();
    if (!dc) return;
    const TrackInfo& shown = entry ? *entry : *currentPlayer;
    const int32_t width = panelBuffer.width();
    RECT band = {0, panelLines.timeLine, width, panelLines.loopLine - 1};
    if (full) {
        panelBuffer.fill();
        if (!playlist.empty()) {
            char title[kTextSize * 3];
            int used =
                std::snprintf(title, sizeof title, "%02d.%s", shown.listIndex + 1, shown.title);
            if (shown.artist[0] != '\0' && used > 0 && static_cast<size_t>(used) < sizeof title)
                std::snprintf(title + used, sizeof title - static_cast<size_t>(used), " / %s",
                              shown.artist);
            SetTextColor(dc, env.colorText);
            SetBkColor(dc, env.colorBack);
            panelBuffer.selectFont(env.titleFont.get());
            RECT line = {4, panelLines.titleTop, width - 4,
                         panelLines.titleTop + panelLines.timeLine};
            DrawTextA(dc, title, -1, &line, DT_LEFT | DT_NOPREFIX | DT_SINGLELINE);
        }
    } else if (panelBuffer.brush()) {
        FillRect(dc, &band, panelBuffer.brush());
    }
    if (!present || !infoPanel) return;
    InvalidateRect(infoPanel, full ? nullptr : &band, FALSE);
    UpdateWindow(infoPanel);
}

void MainWindow::onPanelPress(UINT, int32_t, int32_t) {
    // The panel's click areas (mode, loop, time, counter, title) open their
    // menus once the panel draws them; until then a press does nothing.
}

}  // namespace tarnuvo
