// The parts' share of the dialog's set-up and the dispatch of the window's
// messages to them.
#include "ui/main_view.h"

#include "app/main_window.h"
#include "app/timer_ids.h"
#include "app/visual_styles.h"
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
}

void MainView::setUp() {
    MainWindow& w = legacy_;
    buttons_.bind(w.window());
    listPane_.bind(w.window());
    w.bindControls();
    layout_.bind(w.window());
    listPane_.createToolbar();
    w.tooltips = w.createTooltips();
    listPane_.setUp();
    buttons_.setUp();
    layout_.placeAll(listPane_.toolbarHeight() + 2);
    w.setupVolumeSlider();
    w.measurePanel();
    w.fitPanelToLines();
    listPane_.subclass();
    w.subclassControls();
    w.rebuildPanelBuffer();
    w.playlist().currentIndex = -1;
    w.redrawInfoPanel(true, true);
    w.setupMenus();
    w.setupTray();
    layout_.notePlaced();
    layout_.restoreListHidden();
    w.restoreAlwaysOnTop();
    layout_.restorePlacement();
    listPane_.updateListControls();
    if (buttons_.themesWanted()) {
        // The seek slider keeps the classic look, which shows its selection.
        setWindowTheme(w.seekSlider, L" ", L" ");
        buttons_.applyTheme();
    }
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
            return listPane_.onNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_DRAWITEM:
            buttons_.onDrawItem(static_cast<UINT>(wParam),
                                *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return 0;
        case WM_SETCURSOR:
            buttons_.onSetCursor(reinterpret_cast<HWND>(wParam));
            return 0;
        case WM_SIZE:
            layout_.onSize(static_cast<uint32_t>(wParam), LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_THEMECHANGED:
            buttons_.applyTheme();
            if (buttons_.themed()) setWindowTheme(w.seekSlider, L" ", L" ");
            return 0;
        case WM_GETMINMAXINFO:
            layout_.onGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_HSCROLL:
            w.onScroll(LOWORD(wParam), reinterpret_cast<HWND>(lParam));
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
            if (!w.graphCallsDeferred()) w.onRefreshTimer();
            return;
        case BlinkTimer:
            if (!w.graphCallsDeferred()) w.onBlinkTimer();
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
    listPane_.saveColumns();
}

void MainView::removeTrayIcon() {
    legacy_.tray.remove();
    legacy_.trayPresent = false;
}

void MainView::collectPlayThread() {
    legacy_.collectPlayThread();
}

}  // namespace tarnuvo
