// The window title and the tray tip.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "app/main_window.h"
#include "engine/text.h"
#include "resources/resource_ids.h"
#include "ui/play_buttons.h"
#include "ui/play_road.h"

namespace tarnuvo {

void MainWindow::updateWindowTitle() {
    char title[kTextSize * 2];
    if (playlist_.album[0] != '\0')
        std::snprintf(title, sizeof title, "Tarnuvo - %s", playlist_.album);
    else
        std::snprintf(title, sizeof title, "Tarnuvo");
    copyText(windowTitle, kTextSize, title);
    SetWindowTextA(window_, windowTitle);
    updateTrayTip();
}

void MainWindow::updateTrayTip() {
    if (tray.data.cbSize == 0) return;  // no icon was ever added
    // While a track starts, the entry being opened.
    const TrackInfo& player = road().starting() ? road().entry() : road().current().info();
    if (playbackState() == Stopped) {
        tray.modify(nullptr, windowTitle);
        return;
    }
    char tip[kTextSize * 3];
    int used = std::snprintf(tip, sizeof tip, "%02d.%s", player.listIndex + 1, player.title);
    if (player.artist[0] != '\0' && used > 0 && static_cast<size_t>(used) < sizeof tip)
        std::snprintf(tip + used, sizeof tip - static_cast<size_t>(used), " / %s", player.artist);
    // The text the tip is made from is limited as the title is; the tray
    // record then keeps 63 bytes, cut on a character boundary.
    cutText(tip, kTextSize - 1);
    tray.modify(nullptr, tip);
}

}  // namespace tarnuvo
