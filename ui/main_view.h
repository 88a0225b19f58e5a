// The main window's parts: it builds them, routes the window's messages to
// them, runs their share of the set-up in a fixed order and is the
// playlist's host on their behalf. Each part owns its state and is given
// references to the few parts it calls.
#pragma once

#include "app/window_parts.h"
#include "ui/commands.h"
#include "ui/graph_gate.h"
#include "ui/menu_modes.h"
#include "ui/play_road.h"
#include "ui/info_panel.h"
#include "ui/layout.h"
#include "ui/list_pane.h"
#include "ui/transport_buttons.h"
#include "ui/seek_bar.h"
#include "ui/volume_control.h"
#include "ui/file_dialogs.h"
#include "ui/hand_over.h"
#include "ui/small_dialogs.h"
#include "ui/window_tray.h"

namespace tarnuvo {

class MainWindow;

class MainView final : public WindowParts {
public:
    explicit MainView(WindowFrame& frame);
    MainView(const MainView&) = delete;
    MainView& operator=(const MainView&) = delete;

    void bind(HWND dialog) override;
    void setUp() override;
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void runPendingCommand() override;
    void saveColumns() override;
    void removeTrayIcon() override;
    void collectPlayThread() override;

    // The playlist's host: the rows are the list pane's, the rest is told
    // to the part that shows it.
    int32_t rowCount() const override { return listPane_.rowCount(); }
    void insertRows(int32_t index, const TrackInfo* tracks, int32_t count) override {
        listPane_.insertRows(index, tracks, count);
    }
    void updateRow(int32_t index, const TrackInfo& track) override {
        listPane_.updateRow(index, track);
    }
    void deleteRow(int32_t index) override { listPane_.deleteRow(index); }
    void deleteAllRows() override { listPane_.deleteAllRows(); }
    void selectRow(int32_t index) override { listPane_.selectRow(index); }
    int32_t selectedRow() const override { return listPane_.selectedRow(); }
    void onSelectionChanged() override { listPane_.onSelectionChanged(); }
    void updateListControls() override { listPane_.updateListControls(); }
    void updateWindowTitle() override { tray_.updateWindowTitle(); }
    void stopPlayback() override { road_.stopPlayback(); }
    void resetPanelAfterClear() override { listPane_.resetPanelAfterClear(); }
    void showLoading(bool on) override;
    int32_t playerState() const override { return road_.state(); }
    bool closing() const override { return frame_.closing(); }

    // Each part, for the command table and for tests.
    WindowFrame& frame() { return frame_; }
    PlayRoad& road() { return road_; }
    GraphGate& gate() { return gate_; }
    Commands& commands() { return commands_; }
    MenuModes& modes() { return modes_; }
    InfoPanel& panel() { return panel_; }
    TransportButtons& buttons() { return buttons_; }
    ListPane& listPane() { return listPane_; }
    Layout& layout() { return layout_; }
    SeekBar& seek() { return seek_; }
    VolumeControl& volume() { return volume_; }
    Tray& tray() { return tray_; }
    HandOver& handOver() { return handOver_; }
    SmallDialogs& smallDialogs() { return smallDialogs_; }
    FileDialogs& fileDialogs() { return fileDialogs_; }

private:
    void onTimer(UINT_PTR id);
    void onLoadFinished();

    WindowFrame& frame_;
    PlayRoad road_;
    GraphGate gate_;
    Commands commands_;
    MenuModes modes_;
    InfoPanel panel_;
    TransportButtons buttons_;
    ListPane listPane_;
    Layout layout_;
    SeekBar seek_;
    VolumeControl volume_;
    Tray tray_;
    HandOver handOver_;
    SmallDialogs smallDialogs_;
    FileDialogs fileDialogs_;
};

// The window's parts, for tests.
MainView& mainView(MainWindow& window);

}  // namespace tarnuvo
