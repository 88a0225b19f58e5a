// The main window's two sides. WindowFrame is what the window keeps for
// itself and lends to its parts: the dialog, the module, the closing state,
// the environment, the players, the playlist and its loader. WindowParts is
// what the window asks of its parts (the views, the play road, the tray
// glue, the dialogs and the commands), which live in ui/, above app/. The
// window owns them through this interface; the factory is declared here and
// defined with the parts (ui/main_view.cpp), the one place where app/ relies
// on ui/, through a declaration rather than an include.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/app_environment.h"
#include "engine/directshow_player.h"
#include "engine/waveout_player.h"
#include "playlist/playlist.h"
#include "playlist/playlist_host.h"
#include "playlist/playlist_loader.h"

namespace tarnuvo {

class WindowFrame {
public:
    virtual HWND window() const = 0;
    virtual HINSTANCE instance() const = 0;
    // From the first close on, nothing may start.
    virtual bool closing() const = 0;
    virtual AppEnvironment& environment() = 0;
    virtual WaveOutPlayer& waveOut() = 0;
    virtual DirectShowPlayer& directShow() = 0;
    virtual Playlist& playlist() = 0;
    virtual PlaylistLoader& loader() = 0;
    // 1 when a load started; the pending command runs when none did.
    virtual int32_t startLoading(std::vector<std::string> paths, int32_t replace) = 0;

protected:
    ~WindowFrame() = default;
};

class WindowParts : public PlaylistHost {
public:
    virtual ~WindowParts() = default;

    // The dialog exists: the parts find their controls (no side effects
    // beyond the tray's registered message).
    virtual void bind(HWND dialog) = 0;
    // The parts' share of the dialog's set-up, in a fixed order.
    virtual void setUp() = 0;
    // Every message the window does not handle itself; 0 when not handled.
    virtual INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // The command kept during a load or a stop runs now.
    virtual void runPendingCommand() = 0;
    // Closing: the list's columns into the settings, the tray icon away, the
    // play thread stopped and collected.
    virtual void saveColumns() = 0;
    virtual void removeTrayIcon() = 0;
    virtual void collectPlayThread() = 0;
};

std::unique_ptr<WindowParts> makeWindowParts(WindowFrame& frame);

}  // namespace tarnuvo
