#include "app/tray_icon.h"

#include <cstddef>

#include "engine/text.h"

namespace tarnuvo {
namespace {

// The first layout ends with a tip of 64 bytes; a 32-bit build sends 88.
constexpr size_t kFirstLayoutTipSize = 64;
static_assert(NOTIFYICONDATAA_V1_SIZE == offsetof(NOTIFYICONDATAA, szTip) + kFirstLayoutTipSize);
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88);

void storeTip(NOTIFYICONDATAA& data, const char* tip) {
    copyText(data.szTip, kFirstLayoutTipSize, tip ? tip : "");
}

}  // namespace

UINT TrayIcon::init(HINSTANCE module, HWND owner, UINT iconId, UINT callbackMessage) {
    instance = module;
    window = owner;
    id = iconId;
    message = callbackMessage;
    data = NOTIFYICONDATAA{};
    return RegisterWindowMessageA("TaskbarCreated");
}

BOOL TrayIcon::add(HICON icon, const char* tip) {
    data = NOTIFYICONDATAA{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = id;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = message;
    data.hIcon = icon;
    storeTip(data, tip);
    const DWORD begun = GetTickCount();
    for (int retries = 0;; ++retries) {
        if (BOOL added = shellNotify(NIM_ADD, &data)) return added;
        // A shell busy starting up times out; it may have taken the icon anyway.
        if (GetLastError() != ERROR_TIMEOUT) return FALSE;
        if (shellNotify(NIM_MODIFY, &data)) return TRUE;
        if (retries >= retryLimit) return FALSE;
        // No pause that ends past the budget: the next calls may block again.
        if (GetTickCount() - begun + retryDelayMs > kTrayRetryBudgetMs) return FALSE;
        Sleep(retryDelayMs);
    }
}

BOOL TrayIcon::modify(HICON icon, const char* tip) {
    data.uFlags = 0;
    if (icon) {
        data.uFlags |= NIF_ICON;
        data.hIcon = icon;
    }
    if (tip) {
        data.uFlags |= NIF_TIP;
        storeTip(data, tip);
    }
    if (data.uFlags == 0) return TRUE;
    return shellNotify(NIM_MODIFY, &data);
}

BOOL TrayIcon::remove() {
    if (data.cbSize == 0) return TRUE;
    NOTIFYICONDATAA gone = {};
    gone.cbSize = NOTIFYICONDATAA_V1_SIZE;
    gone.hWnd = data.hWnd;
    gone.uID = data.uID;
    return shellNotify(NIM_DELETE, &gone);
}

BOOL TrayIcon::addAgain() {
    if (data.cbSize == 0) return FALSE;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    return shellNotify(NIM_ADD, &data);
}

}  // namespace tarnuvo
