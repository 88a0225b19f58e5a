// The main window's side of the tray icon: its menu, hiding into the tray and
// the animation while a track plays.
#include "app/main_window.h"
#include "app/timer_ids.h"
#include "resources/resource_ids.h"
#include "ui/play_road.h"

namespace tarnuvo {

UniqueMenu MainWindow::loadTrayMenu() const {
    return UniqueMenu(LoadMenuA(instance_, MAKEINTRESOURCEA(IDR_TRAY_MENU)));
}

bool MainWindow::hideToTray() {
    ShowWindow(window_, SW_HIDE);
    // The tray animation (timer 3) goes on.
    KillTimer(window_, RefreshTimer);
    KillTimer(window_, BlinkTimer);
    env_.windowShown = 0;
    return true;
}

void MainWindow::animateTray() {
    if (road().starting() || road().current().state != Playing || tray.data.cbSize == 0) return;
    trayFrame = !trayFrame;
    tray.modify(trayIcons[trayFrame ? 0 : 1].get(), nullptr);
}

}  // namespace tarnuvo
