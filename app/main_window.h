// The main window's frame: the dialog, the environment, the two players, the
// playlist with its loader and the closing state, and the parts it owns
// (ui/main_view.h) to which it routes every message that is not its own.
// The window stays the playlist's host, because the playlist exists before
// the parts do; the host calls are passed on to them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/app_environment.h"
#include "app/window_parts.h"
#include "base/handles.h"
#include "engine/directshow_player.h"
#include "engine/waveout_player.h"
#include "playlist/playlist.h"
#include "playlist/playlist_host.h"
#include "playlist/playlist_loader.h"

namespace tarnuvo {

// The window property by which a second start finds the first window (its
// title changes with the album).
constexpr char kMainWindowProperty[] = "Tarnuvo.MainWindow";

class MainWindow final : public PlaylistHost, public WindowFrame {
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
    // A null command line stands for the process's own (tests give one).
    MainWindow(AppEnvironment& environment, const char* commandLine);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND createDialog(HINSTANCE module);
    int translateAccelerator(MSG& message);
    static MainWindow* fromWindow(HWND dialog);
    WindowParts& parts() { return *parts_; }
    // Closing: the loader and the play thread stopped and collected.
    void stopThreads();

    // The frame the parts are lent.
    HWND window() const override { return window_; }
    HINSTANCE instance() const override { return instance_; }
    bool closing() const override { return closing_; }
    AppEnvironment& environment() override { return env_; }
    WaveOutPlayer& waveOut() override { return waveOut_; }
    DirectShowPlayer& directShow() override { return directShow_; }
    Playlist& playlist() override { return playlist_; }
    PlaylistLoader& loader() override { return loader_; }
    int32_t startLoading(std::vector<std::string> paths, int32_t replace) override;

    // The playlist's host, passed on to the parts (app/playlist_host_relay.cpp).
    int32_t rowCount() const override;
    void insertRows(int32_t index, const TrackInfo* tracks, int32_t count) override;
    void updateRow(int32_t index, const TrackInfo& track) override;
    void deleteRow(int32_t index) override;
    void deleteAllRows() override;
    void selectRow(int32_t index) override;
    int32_t selectedRow() const override;
    void onSelectionChanged() override;
    void updateListControls() override;
    void updateWindowTitle() override;
    void stopPlayback() override;
    void resetPanelAfterClear() override;
    void showLoading(bool on) override;
    int32_t playerState() const override;

private:
    // The dialog procedure and the window-wide messages (app/dialog_procedure.cpp,
    // app/dialog_messages.cpp, app/dialog_setup.cpp, app/close_window.cpp).
    static INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR onInitDialog(HWND dialog);
    int setupDialog();
    void loadCommandLineFile();
    void onBackgroundPress();
    INT_PTR onClose();
    INT_PTR onEndSession(WPARAM ending);
    void closeMainWindow();

    const char* commandLine_;
    bool closing_ = false;  // refuses every command from the first close on
    bool closed_ = false;   // closeMainWindow has run
    std::unique_ptr<WindowParts> parts_;
};

}  // namespace tarnuvo
