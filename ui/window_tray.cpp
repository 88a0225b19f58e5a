// The main window's side of the tray icon: the icon and its menu, hiding into
// the tray, the animation while a track plays, the taskbar's restart, and the
// window title with the tip that follows it.
#include "ui/window_tray.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "app/window_parts.h"
#include "app/timer_ids.h"
#include "engine/text.h"
#include "resources/resource_ids.h"
#include "ui/play_road.h"

namespace tarnuvo {

void Tray::bind(HWND dialog) {
    taskbarCreatedMessage_ =
        icon_.init(frame_.instance(), dialog, kTrayIconId, kTrayCallbackMessage);
}

void Tray::setUp() {
    images_.reset(ImageList_LoadImageA(frame_.instance(), MAKEINTRESOURCEA(IDB_TRAY), 16, 10,
                                       RGB(0, 255, 0), IMAGE_BITMAP, LR_CREATEDIBSECTION));
    for (int32_t i = 0; i < 2 && images_; ++i)
        icons_[i].reset(ImageList_GetIcon(images_.get(), i, ILD_TRANSPARENT));
    if (icons_[0]) present_ = icon_.add(icons_[0].get(), title_) != FALSE;
}

void Tray::onTaskbarCreated() {
    // Every restart of the taskbar, while an icon record exists: one failed
    // re-add must not leave the icon gone for good.
    if (removed_ || icon_.data.cbSize == 0) return;
    present_ = icon_.addAgain() != FALSE;
    // A window hidden in the tray without an icon could never come back.
    if (!present_ && !IsWindowVisible(frame_.window())) restore();
}

INT_PTR Tray::onSysCommand(WPARAM command) {
    // Exactly SC_MINIMIZE: the low four bits carry other meanings.
    if (command != SC_MINIMIZE || !present_) return 0;
    return hideToTray() ? 1 : 0;
}

void Tray::remove() {
    icon_.remove();
    present_ = false;
    removed_ = true;
}

void Tray::useShell(TrayIcon::ShellNotify notify, DWORD retryDelayMs) {
    icon_.shellNotify = notify;
    icon_.retryDelayMs = retryDelayMs;
}

HWND Tray::trayWindow() const {
    return frame_.window();
}

int32_t Tray::trayPlayerState() const {
    return road_.state();
}

void Tray::setWindowShown(int32_t shown) {
    frame_.environment().windowShown = shown;
}

UniqueMenu Tray::loadTrayMenu() const {
    return UniqueMenu(LoadMenuA(frame_.instance(), MAKEINTRESOURCEA(IDR_TRAY_MENU)));
}

bool Tray::hideToTray() {
    const HWND window = frame_.window();
    ShowWindow(window, SW_HIDE);
    // The tray animation (timer 3) goes on.
    KillTimer(window, RefreshTimer);
    KillTimer(window, BlinkTimer);
    frame_.environment().windowShown = 0;
    return true;
}

void Tray::animate() {
    if (road_.starting() || road_.current().state != Playing || icon_.data.cbSize == 0) return;
    lit_ = !lit_;
    icon_.modify(icons_[lit_ ? 0 : 1].get(), nullptr);
}

void Tray::updateWindowTitle() {
    char title[kTextSize * 2];
    const Playlist& playlist = frame_.playlist();
    if (playlist.album[0] != '\0')
        std::snprintf(title, sizeof title, "Tarnuvo - %s", playlist.album);
    else
        std::snprintf(title, sizeof title, "Tarnuvo");
    copyText(title_, kTextSize, title);
    SetWindowTextA(frame_.window(), title_);
    updateTip();
}

void Tray::updateTip() {
    if (icon_.data.cbSize == 0) return;  // no icon was ever added
    // While a track starts, the entry being opened.
    const TrackInfo& player = road_.starting() ? road_.entry() : road_.current().info();
    if (road_.state() == Stopped) {
        icon_.modify(nullptr, title_);
        return;
    }
    char tip[kTextSize * 3];
    int used = std::snprintf(tip, sizeof tip, "%02d.%s", player.listIndex + 1, player.title);
    if (player.artist[0] != '\0' && used > 0 && static_cast<size_t>(used) < sizeof tip)
        std::snprintf(tip + used, sizeof tip - static_cast<size_t>(used), " / %s", player.artist);
    // The text the tip is made from is limited as the title is; the tray
    // record then keeps 63 bytes, cut on a character boundary.
    cutText(tip, kTextSize - 1);
    icon_.modify(nullptr, tip);
}

}  // namespace tarnuvo
