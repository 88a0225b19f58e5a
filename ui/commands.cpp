// The command table: each id, its guards and the part operation it runs.
#include "ui/commands.h"

#include <windows.h>
#include <commctrl.h>

#include "app/window_parts.h"
#include "app/window_helpers.h"
#include "resources/resource_ids.h"
#include "ui/graph_gate.h"
#include "ui/main_view.h"
#include "ui/menu_modes.h"
#include "ui/play_road.h"

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
    void (*run)(MainView& view, uint32_t id);
};

void play(MainView& v, uint32_t) {
    v.road().playSelected();
}
void pause(MainView& v, uint32_t) {
    v.road().togglePause(false);
}
void stop(MainView& v, uint32_t) {
    // A stop overrides a track still waiting to be started.
    v.commands().clearKept();
    v.road().stopPlayback();
}
void playFromTray(MainView& v, uint32_t id) {
    if (v.road().state() == Paused) {
        v.road().togglePause(false);
    } else if (v.frame().loader().busy() || v.road().stopping()) {
        v.commands().keep(id);
    } else {
        v.road().playSelected();
    }
}
void previous(MainView& v, uint32_t) {
    v.road().playPrevious();
}
void next(MainView& v, uint32_t id) {
    v.road().playNext(id == IDM_TRAY_NEXT ? id : 0);
}
void random(MainView& v, uint32_t id) {
    v.road().playRandom(id == IDM_TRAY_RANDOM ? id : 0);
}
void jump(MainView& v, uint32_t id) {
    v.road().selectAndPlay(static_cast<int32_t>(id - IDM_JUMP_FIRST));
}
void openList(MainView& v, uint32_t) {
    v.fileDialogs().openList();
}
void addFiles(MainView& v, uint32_t) {
    v.fileDialogs().addFiles();
}
void saveList(MainView& v, uint32_t) {
    v.fileDialogs().saveList();
}
void remove(MainView& v, uint32_t) {
    v.listPane().deleteSelected();
}
void clear(MainView& v, uint32_t) {
    if (!v.frame().playlist().empty()) v.frame().playlist().clearList();
}
void reread(MainView& v, uint32_t) {
    v.listPane().rereadEntries();
}
void moveUp(MainView& v, uint32_t) {
    v.listPane().moveSelected(true);
}
void moveDown(MainView& v, uint32_t) {
    v.listPane().moveSelected(false);
}
void exitProgram(MainView& v, uint32_t) {
    SendMessageA(v.frame().window(), WM_CLOSE, 0, 0);
}
void showList(MainView& v, uint32_t) {
    v.layout().togglePlaylist();
}
void gridLines(MainView& v, uint32_t) {
    v.modes().toggleGridLines();
}
void timeMode(MainView& v, uint32_t id) {
    v.modes().setTimeMode(id);
}
void alwaysOnTop(MainView& v, uint32_t) {
    v.modes().toggleAlwaysOnTop();
}
void noWaveOut(MainView& v, uint32_t) {
    v.road().toggleWaveOut();
}
void fullScreen(MainView& v, uint32_t) {
    v.road().fullScreen();
}
void playMode(MainView& v, uint32_t id) {
    v.modes().setPlayMode(id);
}
void loopIgnore(MainView& v, uint32_t) {
    v.modes().toggleLoopIgnore();
}
void fadeOut(MainView& v, uint32_t) {
    v.modes().toggleFadeOut();
}
void fadeLength(MainView& v, uint32_t id) {
    v.modes().setFadeLength(id);
}
void versionDialog(MainView& v, uint32_t) {
    v.smallDialogs().showVersion();
}
void tagInformation(MainView& v, uint32_t) {
    v.smallDialogs().showTagInfo();
}
void showWindow(MainView& v, uint32_t) {
    // Only the restore steps: the window may be visible already, and the
    // tray menu this came from must not open again.
    v.tray().restore();
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

INT_PTR Commands::onCommand(uint32_t id, uint32_t code) {
    // From the first close on, nothing may start: the close waits serve messages.
    if (frame_.closing()) return 1;
    const Command* command = findCommand(id);
    if (!command) return 1;
    const uint8_t guards = command->guards;
    if ((guards & ClickOnly) && code != BN_CLICKED) return 1;
    if ((guards & ListShown) && !frame_.environment().showList) return 1;
    if ((guards & Playback) && (road_.stopping() || frame_.loader().busy())) {
        kept_ = id;
        return 1;
    }
    if ((guards & NoLoad) && frame_.loader().busy()) return 1;
    if ((guards & CallsGraph) && gate_.deferred()) {
        gate_.defer(id);
        return 1;
    }
    command->run(view_, id);
    return 1;
}

bool Commands::handles(uint32_t id) {
    return findCommand(id) != nullptr;
}

void Commands::runKept() {
    if (kept_ == 0 || road_.stopping() || frame_.closing() || frame_.loader().busy()) return;
    const uint32_t id = kept_;
    kept_ = 0;
    onCommand(id, BN_CLICKED);
}

}  // namespace tarnuvo
