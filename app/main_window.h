// The application object: the main dialog and its controls, the two players,
// the playlist with its loader, the play thread's record, the tray icon and
// the information panel's back buffer. Its operations live in one file per
// concern: app/ holds set-up, the dialog procedure and its small handlers
// and closing; ui/ holds the views, the subclass forwarders, the tray glue,
// the hand-over and the commands.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/app_environment.h"
#include "app/back_buffer.h"
#include "app/panel_areas.h"
#include "app/panel_lines.h"
#include "app/window_parts.h"
#include "base/handles.h"
#include "engine/directshow_player.h"
#include "engine/waveout_player.h"
#include "playlist/playlist.h"
#include "playlist/playlist_host.h"
#include "playlist/playlist_loader.h"

namespace tarnuvo {

class PlayRoad;

// The window property by which a second start finds the first window (its
// title changes with the album).
constexpr char kMainWindowProperty[] = "Tarnuvo.MainWindow";

class MainWindow : public PlaylistHost {
    // The window-wide state comes first: the members below take it in their
    // initializers.
    AppEnvironment& env_;
    WaveOutPlayer waveOut_;
    DirectShowPlayer directShow_;
    Playlist playlist_{*this};
    PlaylistLoader loader_{playlist_, *this, env_};
    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
    HACCEL accelerators_ = nullptr;
    UniqueIcon windowIcon_;

public:
    // ---- The window itself: start-up, the dialog procedure, closing.
    // A null command line stands for the process's own (tests give one).
    MainWindow(AppEnvironment& environment, const char* commandLine);
    virtual ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Start-up and the message loop (app/main_window.cpp).
    HWND createDialog(HINSTANCE module);
    int translateAccelerator(MSG& message);
    static MainWindow* fromWindow(HWND dialog);
    WindowParts& parts() { return *parts_; }

    // Set-up (app/dialog_setup.cpp); the parts' share runs in WindowParts::setUp.
    int setupDialog();
    void loadCommandLineFile();

    // The dialog procedure and the window-wide messages (app/dialog_procedure.cpp,
    // app/dialog_messages.cpp).
    static INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR onInitDialog(HWND dialog);
    void onBackgroundPress();
    INT_PTR onClose();
    INT_PTR onEndSession(WPARAM ending);

    // Closing (app/close_window.cpp).
    void closeMainWindow();
    void stopThreads();

    int32_t startLoading(std::vector<std::string> paths, int32_t replace);
    bool closing() const override { return closing_; }

    AppEnvironment& environment() { return env_; }
    WaveOutPlayer& waveOut() { return waveOut_; }
    DirectShowPlayer& directShow() { return directShow_; }
    Playlist& playlist() { return playlist_; }
    PlaylistLoader& loader() { return loader_; }
    HINSTANCE instance() const { return instance_; }
    HWND window() const { return window_; }

    // ---- The play road (ui/play_road.h); forwarders for the views not yet
    // cut out and for the playlist and the tray.
    PlayRoad& road() const;
    void playSelected();
    void stopPlayback() override;
    void togglePause(bool holdOnly);
    void restartAt(uint32_t position);
    int32_t playbackState() const;
    int32_t playerState() const override { return playbackState(); }

    // ---- The information panel (ui/info_panel.h; forwarders in ui/bridge_b.cpp).
    void rebuildPanelBuffer();
    void redrawInfoPanel(bool full, bool present, const TrackInfo* entry = nullptr);
    void refreshInfoPanel(bool full);
    void showLoading(bool on) override;
    void onRefreshTimer();
    void markPanelLoading(bool on);
    void notePanelPausedAt(uint32_t position);
    void setPanelBlink(bool visible);

    // ---- The playlist pane (ui/list_pane.cpp, ui/list_commands.cpp,
    // ui/list_setup.cpp): the window stays the playlist's host and forwards
    // the rows to it (ui/bridge_c1.cpp).
    int32_t rowCount() const override;
    void insertRows(int32_t index, const TrackInfo* tracks, int32_t count) override;
    void updateRow(int32_t index, const TrackInfo& track) override;
    void deleteRow(int32_t index) override;
    void deleteAllRows() override;
    void selectRow(int32_t index) override;
    int32_t selectedRow() const override;
    void onSelectionChanged() override;
    void resetPanelAfterClear() override;
    void updateListControls() override;
    void deleteSelected();
    void moveSelected(bool up);
    void rereadEntries();
    void setListGridLines(bool on);
    int32_t toolbarHeight();

    // ---- The layout (ui/layout.cpp; these forward to it).
    // The handles of the parts not cut out yet (ui/dialog_controls.cpp).
    void moveLayoutEntry(int32_t slot, int32_t dx, int32_t dy, int32_t dWidth, int32_t dHeight,
                         bool repaint);
    void togglePlaylist();
    // The menus' share of the stored window state (app/dialog_setup.cpp).

    // ---- The transport buttons (ui/transport_buttons.cpp; these forward to it).
    void showPauseLook();
    HWND transportButton(int32_t index);

    // ---- The seek slider (ui/seek_bar.h; forwarders in ui/bridge_b.cpp).
    void setupSeekSlider(const TrackInfo& track);
    void seekToSlider();
    void enableSeekSlider(bool on);
    void resetSeekSlider();
    void clearSeekSelection();
    void seekClassicLook();

    // ---- The volume slider and the tooltips (ui/volume_control.h; forwarders
    // in ui/bridge_b.cpp).
    void setVolumeTarget(bool isDirectShow);
    void applyVolumeSlider();

    // ---- The tray and the title (ui/window_tray.cpp; forwarders in ui/bridge_c2.cpp).
    void updateWindowTitle() override;
    void updateTrayTip();
    const char* windowTitle();
    // Shows the window again, as the tray icon's click does.
    void restoreFromTray();

    // ---- The small dialogs and the file dialogs (ui/small_dialogs.cpp,
    // ui/file_dialogs.cpp, ui/drop.cpp; forwarders in ui/bridge_c2.cpp).
    void showVersionDialog();
    void showTagInfo();
    void openListDialog();
    void addFilesDialog();
    void saveListDialog();

    // ---- The commands and the menus' modes (ui/commands.h, ui/menu_modes.h).
    void runPendingCommand();
    void toggleAlwaysOnTop();

private:
    const char* commandLine_;
    bool closing_ = false;  // refuses every command from the first close on
    bool closed_ = false;   // closeMainWindow has run
    std::unique_ptr<WindowParts> parts_;
};

}  // namespace tarnuvo
