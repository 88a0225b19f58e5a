// setupDialog: the bare template becomes the working main window, in a fixed
// order of steps.
#include <windows.h>
#include <shellapi.h>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/timer_ids.h"
#include "app/window_helpers.h"
#include "resources/resource_ids.h"

namespace tarnuvo {

int MainWindow::setupDialog() {
    // The window's user data already leads every procedure to this object.
    SetTimer(window_, RefreshTimer, kRefreshIntervalMs, nullptr);
    SetTimer(window_, BlinkTimer, kBlinkIntervalMs, nullptr);
    SetTimer(window_, TrayAnimationTimer, kTrayAnimationIntervalMs, nullptr);
    env_.createFonts();
    parts_->setUp();
    windowIcon_.reset(static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_PROGRAM),
                                                    IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                    GetSystemMetrics(SM_CYICON), 0)));
    SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(windowIcon_.get()));
    accelerators_ = LoadAcceleratorsA(instance_, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    DragAcceptFiles(window_, TRUE);
    loadCommandLineFile();
    return 1;
}

void MainWindow::loadCommandLineFile() {
    std::string file = commandLineFile(commandLine_ ? commandLine_ : GetCommandLineA());
    if (file.empty()) return;
    startLoading({file}, 1);
}

}  // namespace tarnuvo
