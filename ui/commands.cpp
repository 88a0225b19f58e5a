// The command dispatcher: one table from command ids to handlers, with the
// guards the table gives each id. Every WM_COMMAND counts as handled.
#include <windows.h>
#include <commctrl.h>

#include "app/main_window.h"
#include "app/window_helpers.h"
#include "resources/resource_ids.h"

namespace tarnuvo {
namespace {

enum Guard : uint8_t {
    NoGuard = 0,
    ClickOnly = 1,   // a transport button: only its click (BN_CLICKED) acts
    NoLoad = 2,      // refused while a load runs
    ListShown = 4,   // refused while the playlist is hidden
    CallsGraph = 8,  // may call the DirectShow graph: waits while it may not
};

struct Command {
    uint32_t first;
    uint32_t last;
    uint8_t guards;
    void (*run)(MainWindow& window, uint32_t id);
};

void play(MainWindow& w, uint32_t) {
    w.playSelected();
}
void pause(MainWindow& w, uint32_t) {
    w.togglePause(false);
}
void stop(MainWindow& w, uint32_t) {
    w.stopPlayback();
}
void playFromTray(MainWindow& w, uint32_t) {
    if (w.currentPlayer->state == Paused)
        w.togglePause(false);
    else if (!w.loader.busy())
        w.playSelected();
}
void exitProgram(MainWindow& w, uint32_t) {
    SendMessageA(w.window, WM_CLOSE, 0, 0);
}
void showList(MainWindow& w, uint32_t) {
    w.togglePlaylist();
}
void gridLines(MainWindow& w, uint32_t) {
    w.toggleGridLines();
}
void alwaysOnTop(MainWindow& w, uint32_t) {
    w.toggleAlwaysOnTop();
}
void versionDialog(MainWindow& w, uint32_t) {
    w.showVersionDialog();
}
void showWindow(MainWindow& w, uint32_t) {
    restoreWindow(w);
}
void openList(MainWindow& w, uint32_t) {
    w.openListDialog();
}
void addFiles(MainWindow& w, uint32_t) {
    w.addFilesDialog();
}
void saveList(MainWindow& w, uint32_t) {
    w.saveListDialog();
}
void tagInfo(MainWindow& w, uint32_t) {
    w.showTagInfo();
}

const Command kCommands[] = {
    {IDC_PLAY, IDC_PLAY, ClickOnly | NoLoad | CallsGraph, play},
    {IDC_PAUSE, IDC_PAUSE, ClickOnly | CallsGraph, pause},
    {IDM_TRAY_PAUSE, IDM_TRAY_PAUSE, CallsGraph, pause},
    {IDC_STOP, IDC_STOP, ClickOnly | CallsGraph, stop},
    {IDM_TRAY_STOP, IDM_TRAY_STOP, CallsGraph, stop},
    {IDM_TRAY_PLAY, IDM_TRAY_PLAY, CallsGraph, playFromTray},
    {IDM_EXIT, IDM_EXIT, NoGuard, exitProgram},
    {IDM_SHOW_LIST, IDM_SHOW_LIST, NoGuard, showList},
    {IDM_GRID_LINES, IDM_GRID_LINES, NoGuard, gridLines},
    {IDM_ALWAYS_ON_TOP, IDM_ALWAYS_ON_TOP, NoGuard, alwaysOnTop},
    {IDM_VERSION, IDM_VERSION, NoGuard, versionDialog},
    {IDM_TRAY_SHOW, IDM_TRAY_SHOW, NoGuard, showWindow},
    {IDC_OPEN, IDC_OPEN, ClickOnly | NoLoad, openList},
    {IDM_OPEN_LIST, IDM_OPEN_LIST, NoLoad, openList},
    {IDM_ADD_FILES, IDM_ADD_FILES, NoLoad, addFiles},
    {IDM_SAVE_LIST, IDM_SAVE_LIST, NoGuard, saveList},
    {IDM_MP3INFP, IDM_MP3INFP, NoGuard, tagInfo},
};

}  // namespace

INT_PTR MainWindow::onCommand(uint32_t id, uint32_t code, LPARAM) {
    // From the first close on, nothing may start: the close waits serve messages.
    if (closing_) return 1;
    for (const Command& command : kCommands) {
        if (id < command.first || id > command.last) continue;
        if ((command.guards & ClickOnly) && code != BN_CLICKED) return 1;
        if ((command.guards & NoLoad) && loader.busy()) return 1;
        if ((command.guards & ListShown) && !env.showList) return 1;
        if ((command.guards & CallsGraph) && graphCallsDeferred()) {
            deferredCommand = id;
            return 1;
        }
        command.run(*this, id);
        return 1;
    }
    return 1;
}

void MainWindow::toggleAlwaysOnTop() {
    env.alwaysOnTop = env.alwaysOnTop ? 0 : 1;
    setMenuCheck(GetMenu(window), IDM_ALWAYS_ON_TOP, env.alwaysOnTop != 0);
    SetWindowPos(window, env.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
}

void MainWindow::toggleGridLines() {
    env.gridLine = env.gridLine ? 0 : 1;
    setMenuCheck(GetMenu(window), IDM_GRID_LINES, env.gridLine != 0);
    SendMessageA(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES,
                 env.gridLine ? LVS_EX_GRIDLINES : 0);
}

}  // namespace tarnuvo
