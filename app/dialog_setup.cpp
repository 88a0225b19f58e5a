// setupDialog: the bare template becomes the working main window, in a fixed
// order of steps.
#include <windows.h>
#include <shellapi.h>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/timer_ids.h"
#include "app/visual_styles.h"
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

void MainWindow::setupMenus() {
    HMENU menu = GetMenu(window_);
    int32_t mode = env_.playMode >= Single && env_.playMode <= Random ? env_.playMode : Single;
    setMenuCheck(menu, IDM_MODE_SINGLE + mode, true);
    int32_t time = env_.timeMode >= 0 && env_.timeMode <= 2 ? env_.timeMode : 0;
    setMenuCheck(menu, IDM_TIME_ELAPSED + time, true);
    if (env_.loopIgnore) setMenuCheck(menu, IDM_LOOP_IGNORE, true);
    if (env_.showList) setMenuCheck(menu, IDM_SHOW_LIST, true);
    checkFadeItems();
    // No control offers "do not use waveOut"; the command itself stays.
    DeleteMenu(menu, IDM_NO_WAVEOUT, MF_BYCOMMAND);
    DrawMenuBar(window_);
}

void MainWindow::applyStoredWindowState() {
    if (!env_.showList) {
        // The toggles invert their setting, so each starts from the other value.
        env_.showList = 1;
        togglePlaylist();
    }
    if (env_.alwaysOnTop == 1) {
        env_.alwaysOnTop = 0;
        toggleAlwaysOnTop();
    }
    if (IsRectEmpty(&env_.windowPos)) {
        // The template is narrower than the window's minimum width: the
        // window takes its final size first, so that it is centred with it.
        RECT outer = {};
        GetWindowRect(window_, &outer);
        SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        centerWindow(window_, nullptr);
        return;
    }
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window_, &placement)) return;
    placement.rcNormalPosition = env_.windowPos;
    SetWindowPlacement(window_, &placement);
}

void MainWindow::setupVisualStyles() {
    if (!(env_.osFlags & WinXP) || !themesActive()) return;
    // The seek slider keeps the classic look, which shows its selection.
    setWindowTheme(seekSlider, L" ", L" ");
    applyButtonTheme();
}

void MainWindow::loadCommandLineFile() {
    std::string file = commandLineFile(commandLine_ ? commandLine_ : GetCommandLineA());
    if (file.empty()) return;
    startLoading({file}, 1);
}

}  // namespace tarnuvo
