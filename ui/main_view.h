// The main window's parts and the routing of the window's messages to them.
// The parts' work is still done by the window's own operations, reached
// through legacy_; each part takes its share over as it is cut out.
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

class MainView final : public WindowParts {
public:
    explicit MainView(MainWindow& legacy);

    void bind(HWND dialog) override;
    void setUp() override;
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void runPendingCommand() override;
    void saveColumns() override;
    void removeTrayIcon() override;
    void collectPlayThread() override;

    PlayRoad& road() { return road_; }
    GraphGate& gate() { return gate_; }
    Commands& commands() { return commands_; }
    MenuModes& modes() { return modes_; }
    MainWindow& legacy() { return legacy_; }
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

    MainWindow& legacy_;
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
