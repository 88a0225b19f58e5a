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

MainView::MainView(MainWindow& legacy)
    : legacy_(legacy),
      road_(legacy, legacy.environment(), legacy.waveOut(), legacy.directShow(), legacy.playlist(),
            commands_),
      gate_(legacy, road_),
      commands_(*this, legacy, road_, gate_),
      modes_(legacy, legacy.environment(), legacy.playlist(), road_),
      panel_(legacy, seek_),
      buttons_(legacy),
      listPane_(legacy, buttons_),
      layout_(legacy, listPane_),
      seek_(legacy),
      volume_(legacy) {}

MainView& mainView(MainWindow& window) {
    return static_cast<MainView&>(window.parts());
}

void MainView::bind(HWND dialog) {
    MainWindow& w = legacy_;
    w.taskbarCreatedMessage = w.tray.init(w.instance(), dialog, kTrayIconId, kTrayCallbackMessage);
    road_.bind(dialog);
    panel_.bind(dialog);
    seek_.bind(dialog);
    volume_.bind(dialog);
}

void MainView::setUp() {
    MainWindow& w = legacy_;
    buttons_.bind(w.window());
    listPane_.bind(w.window());
    seek_.enable(false);
    layout_.bind(w.window());
    listPane_.createToolbar();
    volume_.createTooltips();
    listPane_.setUp();
    buttons_.setUp();
    layout_.placeAll(listPane_.toolbarHeight() + 2);
    volume_.setUp();
    panel_.measure();
    panel_.fitToLines();
    listPane_.subclass();
    seek_.subclass();
    panel_.subclass();
    road_.subclassVideoArea();
    panel_.rebuild();
    w.playlist().currentIndex = -1;
    panel_.redraw(true, true);
    modes_.setUp();
    w.setupTray();
    layout_.notePlaced();
    layout_.restoreListHidden();
    modes_.restoreAlwaysOnTop();
    layout_.restorePlacement();
    listPane_.updateListControls();
    if (buttons_.themesWanted()) {
        // The seek slider keeps the classic look, which shows its selection.
        seek_.useClassicLook();
        buttons_.applyTheme();
    }
    gate_.noteSteadyApartment();
}

INT_PTR MainView::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    MainWindow& w = legacy_;
    switch (message) {
        case WM_COMMAND:
            return commands_.onCommand(LOWORD(wParam), HIWORD(wParam));
        case WM_NOTIFY:
            // Tooltip texts first.
            if (volume_.onToolTipText(*reinterpret_cast<NMHDR*>(lParam))) return 0;
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
            if (buttons_.themed()) seek_.useClassicLook();
            return 0;
        case WM_GETMINMAXINFO:
            layout_.onGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
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
            road_.onPlayUpdate(wParam, lParam);
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
    gate_.noteSteadyApartment();
    switch (id) {
        case RefreshTimer:
            if (!gate_.deferred()) panel_.onRefreshTimer();
            return;
        case BlinkTimer:
            if (!gate_.deferred()) panel_.onBlinkTimer();
            return;
        case TrayAnimationTimer:
            // Runs while the window is hidden in the tray too.
            w.animateTray();
            road_.openFailedCheck();
            gate_.runDeferred();
            return;
        default:
            return;
    }
}

void MainView::runPendingCommand() {
    commands_.runKept();
}

void MainView::saveColumns() {
    listPane_.saveColumns();
}

void MainView::removeTrayIcon() {
    legacy_.tray.remove();
    legacy_.trayPresent = false;
}

void MainView::collectPlayThread() {
    road_.collectPlayThread();
}

}  // namespace tarnuvo
