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
    RemovePropA(window_, kMainWindowProperty);
    KillTimer(window_, RefreshTimer);
    KillTimer(window_, BlinkTimer);
    KillTimer(window_, TrayAnimationTimer);
    // The settings and the tray icon first: at logoff the system ends a
    // process that takes too long, and the waits below can take a while.
    parts_->saveColumns();
    env_.saveSettings(window_);
    parts_->removeTrayIcon();
    stopThreads();
    // Not stopPlayback: a close served inside its wait would find that stop
    // under way and the players still running. A stopped WAV keeps its
    // mapping until reset.
    for (Player* player : {static_cast<Player*>(&waveOut_), static_cast<Player*>(&directShow_)}) {
        if (player->state != Stopped) player->stop();
        player->reset();
    }
    // The file is open while it plays; let go now, it can go.
    env_.rememberTempFile("");
    PostQuitMessage(0);
}

void MainWindow::stopThreads() {
    // stopPlayback alone returns at once while the player is Stopped, which
    // it is during a slow open: collect both records whatever the state.
    loader_.collect();
    parts_->collectPlayThread();
}

}  // namespace tarnuvo
