// The main window's icon in the notification area.
#pragma once

#include <windows.h>
#include <shellapi.h>

namespace tarnuvo {

constexpr UINT kTrayIconId = 2000;
constexpr UINT kTrayCallbackMessage = WM_USER;
constexpr DWORD kTrayRetryDelayMs = 1000;
// A shell that keeps timing out (at logon) is given 5 s in all, however long
// each of its calls blocks; set-up must not hang before the window appears.
// "TaskbarCreated" adds the icon later.
constexpr int kTrayRetryLimit = 5;
constexpr DWORD kTrayRetryBudgetMs = 5000;

class TrayIcon {
public:
    using ShellNotify = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAA data);

    // Stores the owner and forgets any earlier icon; returns the message
    // number of "TaskbarCreated".
    UINT init(HINSTANCE instance, HWND window, UINT id, UINT message);
    // Adds the icon, retrying once a second while the shell times out, at most
    // retryLimit times and never past 5 s from the first try. Non-zero on
    // success. The record is filled either way.
    BOOL add(HICON icon, const char* tip);
    // Changes the icon, the tip or both (a null argument is left alone).
    BOOL modify(HICON icon, const char* tip);
    // Takes the icon away; 1 when none was ever added.
    BOOL remove();
    // Adds the stored icon and tip again, after the taskbar was re-created.
    BOOL addAgain();

    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    UINT id = kTrayIconId;
    UINT message = kTrayCallbackMessage;
    // The first layout of the record (tip of 63 characters); a size of 0
    // means that no icon was ever added.
    NOTIFYICONDATAA data = {};

    // Seams for tests: the shell call and the pause between retries.
    ShellNotify shellNotify = Shell_NotifyIconA;
    DWORD retryDelayMs = kTrayRetryDelayMs;
    int retryLimit = kTrayRetryLimit;
};

}  // namespace tarnuvo
