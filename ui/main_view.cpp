// The parts' share of the dialog's set-up and the dispatch of the window's
// messages to them.
#include "ui/main_view.h"

#include "app/main_window.h"
#include "app/timer_ids.h"
#include "app/visual_styles.h"
#include "base/window_messages.h"

namespace tarnuvo {

std::unique_ptr<WindowParts> makeWindowParts(WindowFrame& frame) {
    return std::make_unique<MainView>(frame);
}

// Every part stores its references only, so the order below is free of
// cycles: a part may name one built after it.
MainView::MainView(WindowFrame& frame)
    : frame_(frame),
      road_(frame, commands_, listPane_, panel_, seek_, volume_, buttons_, tray_),
      gate_(frame, road_),
      commands_(*this, frame, road_, gate_),
      modes_(frame, road_, listPane_, panel_),
      panel_(frame, road_, listPane_, layout_, seek_),
      buttons_(frame, road_),
      listPane_(frame, road_, panel_, seek_, buttons_),
      layout_(frame, listPane_, panel_),
      seek_(frame, road_, buttons_),
      volume_(frame, road_, buttons_),
      tray_(frame, road_),
      handOver_(frame, tray_),
      smallDialogs_(frame, tray_),
      fileDialogs_(frame, handOver_, smallDialogs_) {}

MainView& mainView(MainWindow& window) {
    return static_cast<MainView&>(window.parts());
}

void MainView::bind(HWND dialog) {
    tray_.bind(dialog);
    road_.bind(dialog);
    panel_.bind(dialog);
    seek_.bind(dialog);
    volume_.bind(dialog);
}

void MainView::setUp() {
    WindowFrame& w = frame_;
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
    tray_.setUp();
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
            road_.onPlayUpdate(wParam, lParam);
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
            tray_.animate();
            road_.openFailedCheck();
            gate_.runDeferred();
            return;
        default:
            return;
    }
}

void MainView::onLoadFinished() {
    // A load started since (a drop handled before this message) is not the
    // one that ended: collecting it would stop it.
    if (!frame_.loader().busy()) frame_.loader().collect();
    // A list that was empty while a track played now gives the panel a title.
    panel_.refresh(true);
    // A track refused during the load (an end-of-track advance among them).
    commands_.runKept();
    handOver_.afterLoad();
}

void MainView::showLoading(bool on) {
    panel_.markLoading(on);
    panel_.redraw(true, true);
}

void MainView::runPendingCommand() {
    commands_.runKept();
}

void MainView::saveColumns() {
    listPane_.saveColumns();
}

void MainView::removeTrayIcon() {
    tray_.remove();
}

void MainView::collectPlayThread() {
    road_.collectPlayThread();
}

}  // namespace tarnuvo
