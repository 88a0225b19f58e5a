// The shut-down work of the main window, from WM_DESTROY or the end of the
// session, and the threads' collection before the objects go.
#include "app/main_window.h"
#include "app/timer_ids.h"
#include "base/worker_stop.h"

namespace tarnuvo {

void MainWindow::closeMainWindow() {
    if (closed_) return;
    closed_ = true;
    closing_ = true;
    // A later start must not hand its file to a window that is going away.
    RemovePropA(window, kMainWindowProperty);
    KillTimer(window, RefreshTimer);
    KillTimer(window, BlinkTimer);
    KillTimer(window, TrayAnimationTimer);
    // The settings and the tray icon first: at logoff the system ends a
    // process that takes too long, and the waits below can take a while.
    env.readColumns(listView);
    env.saveSettings(window);
    tray.remove();
    trayPresent = false;
    stopThreads();
    stopPlayback();
    // The file is open while it plays; stopped now, it can go.
    env.rememberTempFile("");
    PostQuitMessage(0);
}

void MainWindow::stopThreads() {
    // stopPlayback alone returns at once while the player is Stopped, which
    // it is during a slow open: collect both records whatever the state.
    loader.collect();
    playWorker.stopRequested = 1;
    stopWorker(playWorker);
}

}  // namespace tarnuvo
