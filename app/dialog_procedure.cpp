// The main dialog procedure: a dispatcher from messages to small handlers.
#include "app/main_window.h"
#include "base/window_call.h"
#include "base/window_messages.h"

namespace tarnuvo {

INT_PTR CALLBACK MainWindow::dialogProcedure(HWND dialog, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<MainWindow*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        return self->onInitDialog(dialog);
    }
    MainWindow* self = fromWindow(dialog);
    if (!self) return 0;  // before WM_INITDIALOG
    return self->handleMessage(message, wParam, lParam);
}

INT_PTR MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            return onCommand(LOWORD(wParam), HIWORD(wParam), lParam);
        case WM_NOTIFY:
            // Tooltip texts first.
            if (onToolTipText(*reinterpret_cast<NMHDR*>(lParam))) return 0;
            return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_DRAWITEM:
            onDrawItem(static_cast<UINT>(wParam), *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return 0;
        case WM_SETCURSOR:
            onSetCursor(reinterpret_cast<HWND>(wParam));
            break;  // then as any other message
        case WM_SIZE:
            onSize(static_cast<uint32_t>(wParam), LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_THEMECHANGED:
            onThemeChanged();
            break;  // then as any other message
        case WM_GETMINMAXINFO:
            onGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_HSCROLL:
            onScroll(LOWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_TIMER:
            onTimer(wParam);
            return 0;
        case WM_DROPFILES:
            onDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_LBUTTONDOWN:
            onBackgroundPress();
            return 0;
        case WM_SYSCOMMAND:
            return onSysCommand(wParam);
        case kTrayCallbackMessage:
            onTrayNotify(*this, static_cast<UINT>(wParam), static_cast<UINT>(lParam));
            return 1;
        case WM_CLOSE:
            return onClose();
        case WM_DESTROY:
            closeMainWindow();
            return 0;
        case WM_ENDSESSION:
            return onEndSession(wParam);
        case WM_COPYDATA:
            return onCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case kWindowCallMessage:
            SetWindowLongPtrA(window, DWLP_MSGRESULT, receiveWindowCall(wParam, lParam));
            return 1;
        case kLoadFinishedMessage:
            onLoadFinished();
            return 1;
        case kPlayUpdateMessage:
            onPlayUpdate(wParam, lParam);
            return 1;
        case kHandOverMessage:
            onHandOver();
            return 1;
        default:
            break;
    }
    if (taskbarCreatedMessage != 0 && message == taskbarCreatedMessage) onTaskbarCreated();
    return 0;
}

}  // namespace tarnuvo
