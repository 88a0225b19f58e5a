// The parts' share of the dialog's set-up and the dispatch of the window's
// messages to them.
#include "ui/main_view.h"

#include "app/main_window.h"
#include "app/timer_ids.h"
#include "base/window_messages.h"

namespace tarnuvo {

std::unique_ptr<WindowParts> makeWindowParts(MainWindow& window) {
    return std::make_unique<MainView>(window);
}

MainView& mainView(MainWindow& window) {
    return static_cast<MainView&>(window.parts());
}

MainView::MainView(MainWindow& legacy)
    : legacy_(legacy),
      tray_(legacy),
      handOver_(legacy, tray_),
      smallDialogs_(legacy, tray_),
      fileDialogs_(legacy, handOver_, smallDialogs_) {}

void MainView::bind(HWND dialog) {
    tray_.bind(dialog);
}

void MainView::setUp() {
    MainWindow& w = legacy_;
    w.bindControls();
    w.toolbar = w.createToolbar();
    w.tooltips = w.createTooltips();
    w.setupListView();
    w.setupButtons();
    for (int32_t slot = 0; slot < kLayoutEntries; ++slot)
        w.moveLayoutEntry(slot, 0, w.toolbarHeight + 2, 0, 0, true);
    w.setupVolumeSlider();
    w.measurePanel();
    w.fitPanelToLines();
    w.subclassControls();
    w.rebuildPanelBuffer();
    w.playlist().currentIndex = -1;
    w.redrawInfoPanel(true, true);
    w.setupMenus();
    tray_.setUp();
    GetClientRect(w.window(), &w.dialogClient);
    w.previousWidth = w.dialogClient.right;
    w.previousHeight = w.dialogClient.bottom;
    w.applyStoredWindowState();
    w.updateListControls();
    w.setupVisualStyles();
    w.noteSteadyApartment();
}

INT_PTR MainView::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    MainWindow& w = legacy_;
    switch (message) {
        case WM_COMMAND:
            return w.onCommand(LOWORD(wParam), HIWORD(wParam), lParam);
        case WM_NOTIFY:
            // Tooltip texts first.
            if (w.onToolTipText(*reinterpret_cast<NMHDR*>(lParam))) return 0;
            return w.onNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_DRAWITEM:
            w.onDrawItem(static_cast<UINT>(wParam),
                         *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return 0;
        case WM_SETCURSOR:
            w.onSetCursor(reinterpret_cast<HWND>(wParam));
            return 0;
        case WM_SIZE:
            w.onSize(static_cast<uint32_t>(wParam), LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_THEMECHANGED:
            w.onThemeChanged();
            return 0;
        case WM_GETMINMAXINFO:
            w.onGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_HSCROLL:
            w.onScroll(LOWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_TIMER:
            onTimer(wParam);
            return 0;
        case WM_DROPFILES:
            fileDialogs_.onDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_SYSCOMMAND:
            return tray_.onSysCommand(wParam);
        case kTrayCallbackMessage:
            tray_.onNotify(static_cast<UINT>(wParam), static_cast<UINT>(lParam));
            return 1;
        case WM_COPYDATA:
            return handOver_.onCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case kLoadFinishedMessage:
            onLoadFinished();
            return 1;
        case kPlayUpdateMessage:
            w.onPlayUpdate(wParam, lParam);
            return 1;
        case kHandOverMessage:
            handOver_.onHandOver();
            return 1;
        default:
            break;
    }
    if (tray_.isTaskbarCreated(message)) tray_.onTaskbarCreated();
    return 0;
}

void MainView::onTimer(UINT_PTR id) {
    MainWindow& w = legacy_;
    w.noteSteadyApartment();
    switch (id) {
        case RefreshTimer:
            if (!w.graphCallsDeferred()) w.onRefreshTimer();
            return;
        case BlinkTimer:
            if (!w.graphCallsDeferred()) w.onBlinkTimer();
            return;
        case TrayAnimationTimer:
            // Runs while the window is hidden in the tray too.
            tray_.animate();
            w.openFailedCheck();
            w.runDeferredCommand();
            return;
        default:
            return;
    }
}

void MainView::onLoadFinished() {
    // A load started since (a drop handled before this message) is not the
    // one that ended: collecting it would stop it.
    if (!legacy_.loader().busy()) legacy_.loader().collect();
    // A list that was empty while a track played now gives the panel a title.
    legacy_.refreshInfoPanel(true);
    // A track refused during the load (an end-of-track advance among them).
    legacy_.runPendingCommand();
    handOver_.afterLoad();
}

void MainView::runPendingCommand() {
    legacy_.runPendingCommand();
}

void MainView::saveColumns() {
    legacy_.environment().readColumns(legacy_.listView);
}

void MainView::removeTrayIcon() {
    tray_.remove();
}

void MainView::collectPlayThread() {
    legacy_.collectPlayThread();
}

}  // namespace tarnuvo
