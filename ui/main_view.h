// The main window's parts and the routing of the window's messages to them.
// The parts' work is still done by the window's own operations, reached
// through legacy_; each part takes its share over as it is cut out.
#pragma once

#include "app/window_parts.h"
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

    Tray& tray() { return tray_; }
    HandOver& handOver() { return handOver_; }
    SmallDialogs& smallDialogs() { return smallDialogs_; }
    FileDialogs& fileDialogs() { return fileDialogs_; }

private:
    void onTimer(UINT_PTR id);
    void onLoadFinished();

    MainWindow& legacy_;
    Tray tray_;
    HandOver handOver_;
    SmallDialogs smallDialogs_;
    FileDialogs fileDialogs_;
};

// The window's parts, for tests.
MainView& mainView(MainWindow& window);

}  // namespace tarnuvo
