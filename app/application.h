// Start-up, the message loop and shut-down, each in its fixed order.
#pragma once

#include <windows.h>

#include <memory>

#include "app/app_environment.h"
#include "app/main_window.h"
#include "engine/output_lock.h"

namespace tarnuvo {

// Where a start finds its files (tests point them at scratch folders) and the
// command line it reads (null: the process's own).
struct StartOptions {
    EnvironmentPaths paths;
    const char* commandLine = nullptr;
};

class Application {
public:
    explicit Application(HINSTANCE module, const StartOptions& options = {});
    // The exit order: the threads are collected, a dialog that still exists
    // is destroyed, then the main window, the output lock and the environment.
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Creates the objects, reads the settings and creates the main dialog;
    // the window, or null when it could not be made.
    HWND start() {
        prepare();
        return open();
    }
    // The two halves of start: the objects and the settings, then the dialog
    // (tests adjust the main window in between).
    void prepare();
    HWND open();
    // Runs the message loop until the quit message (or an error).
    void run();

    AppEnvironment& environment() { return *environment_; }
    MainWindow& mainWindow() { return *mainWindow_; }

private:
    HINSTANCE module_;
    StartOptions options_;
    std::unique_ptr<AppEnvironment> environment_;
    std::unique_ptr<OutputLock> lock_;
    std::unique_ptr<MainWindow> mainWindow_;
};

// The whole program: a second start hands its file over and ends; the first
// starts, runs and shuts down. Returns 0 in every case.
int runProgram(HINSTANCE module);

}  // namespace tarnuvo
