// What the main window asks of its parts: the views, the play road, the tray
// glue and the commands, which live in ui/, above app/. The window owns them
// through this interface; the factory is declared here and defined with the
// parts (ui/main_view.cpp), the one place where app/ relies on ui/, through
// a declaration rather than an include.
#pragma once

#include <windows.h>

#include <memory>

namespace tarnuvo {

class MainWindow;

class WindowParts {
public:
    virtual ~WindowParts() = default;

    // The dialog exists: the parts that must know it before anything else
    // (the tray's registered message) take it.
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

std::unique_ptr<WindowParts> makeWindowParts(MainWindow& window);

}  // namespace tarnuvo
