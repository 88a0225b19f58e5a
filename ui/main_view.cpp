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

void MainView::bind(HWND dialog) {
    MainWindow& w = legacy_;
    w.taskbarCreatedMessage = w.tray.init(w.instance(), dialog, kTrayIconId, kTrayCallbackMessage);
    panel_.bind(dialog);
    seek_.bind(dialog);
    volume_.bind(dialog);
}

void MainView::setUp() {
    MainWindow& w = legacy_;
    w.bindControls();
    w.toolbar = w.createToolbar();
    volume_.createTooltips();
    w.setupListView();
    w.setupButtons();
    for (int32_t slot = 0; slot < kLayoutEntries; ++slot)
        w.moveLayoutEntry(slot, 0, w.toolbarHeight + 2, 0, 0, true);
    volume_.setUp();
    panel_.measure();
    panel_.fitToLines();
    w.subclassControls();
    seek_.subclass();
    panel_.subclass();
    panel_.rebuild();
    w.playlist().currentIndex = -1;
    panel_.redraw(true, true);
    w.setupMenus();
    w.setupTray();
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
            if (volume_.onToolTipText(*reinterpret_cast<NMHDR*>(lParam))) return 0;
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
            // The volume slider or the seek slider, by the sender's handle.
            if (const auto slider = reinterpret_cast<HWND>(lParam); slider == volume_.handle())
                volume_.onScroll(LOWORD(wParam));
            else if (slider && slider == seek_.handle())
                seek_.onScroll(LOWORD(wParam));
            return 0;
        case WM_TIMER:
            onTimer(wParam);
            return 0;
        case WM_DROPFILES:
            w.onDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_SYSCOMMAND:
            return w.onSysCommand(wParam);
        case kTrayCallbackMessage:
            onTrayNotify(w, static_cast<UINT>(wParam), static_cast<UINT>(lParam));
            return 1;
        case WM_COPYDATA:
            return w.onCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case kLoadFinishedMessage:
            w.onLoadFinished();
            return 1;
        case kPlayUpdateMessage:
            w.onPlayUpdate(wParam, lParam);
            return 1;
        case kHandOverMessage:
            w.onHandOver();
            return 1;
        default:
            break;
    }
    if (w.taskbarCreatedMessage != 0 && message == w.taskbarCreatedMessage) w.onTaskbarCreated();
    return 0;
}

void MainView::onTimer(UINT_PTR id) {
    MainWindow& w = legacy_;
    w.noteSteadyApartment();
    switch (id) {
        case RefreshTimer:
            if (!w.graphCallsDeferred()) panel_.onRefreshTimer();
            return;
        case BlinkTimer:
            if (!w.graphCallsDeferred()) panel_.onBlinkTimer();
            return;
        case TrayAnimationTimer:
            // Runs while the window is hidden in the tray too.
            w.animateTray();
            w.openFailedCheck();
            w.runDeferredCommand();
            return;
        default:
            return;
    }
}

void MainView::runPendingCommand() {
    legacy_.runPendingCommand();
}

void MainView::saveColumns() {
    legacy_.environment().readColumns(legacy_.listView);
}

void MainView::removeTrayIcon() {
    legacy_.tray.remove();
    legacy_.trayPresent = false;
}

void MainView::collectPlayThread() {
    legacy_.collectPlayThread();
}

}  // namespace tarnuvo
