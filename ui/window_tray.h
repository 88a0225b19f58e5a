// The tray icon's glue and the window title. It owns the icon's record, its
// two animation frames and the title text; the tip follows the title or the
// track, which it asks of the play road.
#pragma once

#include <windows.h>

#include "app/tray_icon.h"
#include "app/tray_notify.h"
#include "base/handles.h"
#include "engine/track_info.h"

namespace tarnuvo {

class PlayRoad;
class WindowFrame;

class Tray final : public TrayOwner {
public:
    Tray(WindowFrame& frame, PlayRoad& road) : frame_(frame), road_(road) {}
    Tray(const Tray&) = delete;
    Tray& operator=(const Tray&) = delete;

    // The dialog exists: the record takes its owner, and the taskbar's
    // restart message is registered.
    void bind(HWND dialog);
    // The icon with the title as its tip.
    void setUp();
    bool present() const { return present_; }
    bool isTaskbarCreated(UINT message) const {
        return taskbarCreatedMessage_ != 0 && message == taskbarCreatedMessage_;
    }
    void onTaskbarCreated();
    INT_PTR onSysCommand(WPARAM command);
    void onNotify(UINT id, UINT mouseMessage) { onTrayNotify(*this, id, mouseMessage); }
    // Timer 3: the icon's next frame while a track plays.
    void animate();
    void updateWindowTitle();
    void updateTip();
    const char* title() const { return title_; }
    // Shows the window again (the tray menu's default item).
    void restore() { restoreWindow(*this); }
    // Closing: the icon goes, and a later taskbar restart leaves it gone.
    void remove();

    // Tests: the record as the shell was last given it, and the shell call.
    const NOTIFYICONDATAA& record() const { return icon_.data; }
    void useShell(TrayIcon::ShellNotify notify, DWORD retryDelayMs = kTrayRetryDelayMs);

private:
    HWND trayWindow() const override;
    int32_t trayPlayerState() const override;
    void setWindowShown(int32_t shown) override;
    UniqueMenu loadTrayMenu() const override;
    bool hideToTray();

    WindowFrame& frame_;
    PlayRoad& road_;
    TrayIcon icon_;
    bool present_ = false;
    bool removed_ = false;
    UINT taskbarCreatedMessage_ = 0;
    bool lit_ = false;  // the animation's frame
    UniqueImageList images_;
    UniqueIcon icons_[2];
    char title_[kTextSize] = "Tarnuvo";
};

}  // namespace tarnuvo
