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
    // Starts a track: refused while a load or a stop runs, and then kept as
    // the one pending playback command.
    Playback = 16,
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
    // A stop overrides a track still waiting to be started.
    w.pendingCommand = 0;
    w.stopPlayback();
}
void playFromTray(MainWindow& w, uint32_t id) {
    if (w.playbackState() == Paused) {
        w.togglePause(false);
    } else if (w.loader().busy() || w.stopping) {
        w.pendingCommand = id;
    } else {
        w.playSelected();
    }
}
void previous(MainWindow& w, uint32_t) {
    w.playPrevious();
}
void next(MainWindow& w, uint32_t id) {
    w.advancing = id == IDM_TRAY_NEXT ? id : 0;
    w.playNext();
}
void random(MainWindow& w, uint32_t id) {
    w.advancing = id == IDM_TRAY_RANDOM ? id : 0;
    w.playRandom();
}
void jump(MainWindow& w, uint32_t id) {
    w.selectAndPlay(static_cast<int32_t>(id - IDM_JUMP_FIRST));
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
void remove(MainWindow& w, uint32_t) {
    w.deleteSelected();
}
void clear(MainWindow& w, uint32_t) {
    if (!w.playlist().empty()) w.playlist().clearList();
}
void reread(MainWindow& w, uint32_t) {
    w.rereadEntries();
}
void moveUp(MainWindow& w, uint32_t) {
    w.moveSelected(true);
}
void moveDown(MainWindow& w, uint32_t) {
    w.moveSelected(false);
}
void exitProgram(MainWindow& w, uint32_t) {
    SendMessageA(w.window(), WM_CLOSE, 0, 0);
}
void showList(MainWindow& w, uint32_t) {
    w.togglePlaylist();
}
void gridLines(MainWindow& w, uint32_t) {
    w.toggleGridLines();
}
void timeMode(MainWindow& w, uint32_t id) {
    w.setTimeMode(id);
}
void alwaysOnTop(MainWindow& w, uint32_t) {
    w.toggleAlwaysOnTop();
}
void noWaveOut(MainWindow& w, uint32_t) {
    w.environment().waveOutOff = w.environment().waveOutOff ? 0 : 1;
    w.waveOut().waveOutDisabled = w.environment().waveOutOff;
}
void fullScreen(MainWindow& w, uint32_t) {
    if (!w.starting && w.currentPlayer == &w.directShow()) w.directShow().fullScreen(2, w.window());
}
void playMode(MainWindow& w, uint32_t id) {
    w.setPlayMode(id);
}
void loopIgnore(MainWindow& w, uint32_t) {
    w.toggleLoopIgnore();
}
void fadeOut(MainWindow& w, uint32_t) {
    w.toggleFadeOut();
}
void fadeLength(MainWindow& w, uint32_t id) {
    w.setFadeLength(id);
}
void versionDialog(MainWindow& w, uint32_t) {
    w.showVersionDialog();
}
void tagInformation(MainWindow& w, uint32_t) {
    w.showTagInfo();
}
void showWindow(MainWindow& w, uint32_t) {
    // Only the restore steps: the window may be visible already, and the
    // tray menu this came from must not open again.
    w.restoreFromTray();
}

constexpr uint8_t kTrackChoice = NoLoad | Playback | CallsGraph;

const Command kCommands[] = {
    {IDC_PLAY, IDC_PLAY, ClickOnly | kTrackChoice, play},
    {IDC_PAUSE, IDC_PAUSE, ClickOnly | CallsGraph, pause},
    {IDM_TRAY_PAUSE, IDM_TRAY_PAUSE, CallsGraph, pause},
    {IDC_STOP, IDC_STOP, ClickOnly | CallsGraph, stop},
    {IDM_TRAY_STOP, IDM_TRAY_STOP, CallsGraph, stop},
    {IDC_PREVIOUS, IDC_PREVIOUS, ClickOnly | kTrackChoice, previous},
    {IDM_TRAY_PREVIOUS, IDM_TRAY_PREVIOUS, kTrackChoice, previous},
    {IDC_NEXT, IDC_NEXT, ClickOnly | kTrackChoice, next},
    {IDM_TRAY_NEXT, IDM_TRAY_NEXT, kTrackChoice, next},
    {IDC_RANDOM, IDC_RANDOM, ClickOnly | kTrackChoice, random},
    {IDM_TRAY_RANDOM, IDM_TRAY_RANDOM, kTrackChoice, random},
    {IDC_OPEN, IDC_OPEN, ClickOnly | NoLoad, openList},
    {IDM_OPEN_LIST, IDM_OPEN_LIST, NoLoad, openList},
    {IDM_ADD_FILES, IDM_ADD_FILES, NoLoad, addFiles},
    // The entries must not grow while they are written.
    {IDM_SAVE_LIST, IDM_SAVE_LIST, NoLoad, saveList},
    {IDM_DELETE, IDM_DELETE, NoLoad | ListShown, remove},
    {IDM_CLEAR, IDM_CLEAR, NoLoad | ListShown, clear},
    {IDM_PROPERTIES, IDM_PROPERTIES, NoLoad, reread},
    {IDM_MOVE_UP, IDM_MOVE_UP, NoLoad | ListShown, moveUp},
    {IDM_MOVE_DOWN, IDM_MOVE_DOWN, NoLoad | ListShown, moveDown},
    {IDM_EXIT, IDM_EXIT, NoGuard, exitProgram},
    {IDM_SHOW_LIST, IDM_SHOW_LIST, NoGuard, showList},
    {IDM_GRID_LINES, IDM_GRID_LINES, NoGuard, gridLines},
    {IDM_TIME_ELAPSED, IDM_TIME_REMAINING, NoGuard, timeMode},
    {IDM_ALWAYS_ON_TOP, IDM_ALWAYS_ON_TOP, NoGuard, alwaysOnTop},
    {IDM_NO_WAVEOUT, IDM_NO_WAVEOUT, NoGuard, noWaveOut},
    {IDM_FULL_SCREEN, IDM_FULL_SCREEN, CallsGraph, fullScreen},
    {IDM_MODE_SINGLE, IDM_MODE_RANDOM, NoGuard, playMode},
    {IDM_LOOP_IGNORE, IDM_LOOP_IGNORE, NoGuard, loopIgnore},
    {IDM_FADE_OUT, IDM_FADE_OUT, NoGuard, fadeOut},
    {IDM_FADE_5S, IDM_FADE_20S, NoGuard, fadeLength},
    {IDM_VERSION, IDM_VERSION, NoGuard, versionDialog},
    {IDM_MP3INFP, IDM_MP3INFP, NoGuard, tagInformation},
    {IDM_TRAY_SHOW, IDM_TRAY_SHOW, NoGuard, showWindow},
    {IDM_TRAY_PLAY, IDM_TRAY_PLAY, CallsGraph, playFromTray},
    {IDM_JUMP_FIRST, IDM_JUMP_LAST, kTrackChoice, jump},
};

const Command* findCommand(uint32_t id) {
    for (const Command& command : kCommands) {
        if (id >= command.first && id <= command.last) return &command;
    }
    return nullptr;
}

}  // namespace

INT_PTR MainWindow::onCommand(uint32_t id, uint32_t code, LPARAM) {
    // From the first close on, nothing may start: the close waits serve messages.
    if (closing_) return 1;
    const Command* command = findCommand(id);
    if (!command) return 1;
    const uint8_t guards = command->guards;
    if ((guards & ClickOnly) && code != BN_CLICKED) return 1;
    if ((guards & ListShown) && !env_.showList) return 1;
    if ((guards & Playback) && (stopping || loader_.busy())) {
        pendingCommand = id;
        return 1;
    }
    if ((guards & NoLoad) && loader_.busy()) return 1;
    if ((guards & CallsGraph) && graphCallsDeferred()) {
        deferredCommand = id;
        return 1;
    }
    command->run(*this, id);
    return 1;
}

void MainWindow::runPendingCommand() {
    if (pendingCommand == 0 || stopping || closing_ || loader_.busy()) return;
    const uint32_t id = pendingCommand;
    pendingCommand = 0;
    onCommand(id, BN_CLICKED, 0);
}

}  // namespace tarnuvo
