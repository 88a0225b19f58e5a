#include "app/single_instance.h"

#include <cstdio>
#include <cstring>

#include "app/main_window.h"
#include "engine/text.h"
#include "resources/resource_ids.h"

namespace tarnuvo {
namespace {

BOOL CALLBACK takeWindowWithProperty(HWND candidate, LPARAM result) {
    if (!GetPropA(candidate, kMainWindowProperty)) return TRUE;
    *reinterpret_cast<HWND*>(result) = candidate;
    return FALSE;
}

}  // namespace

InstanceClaim::~InstanceClaim() {
    if (owned_) ReleaseMutex(mutex_.get());
}

bool InstanceClaim::claim(const char* name) {
    SetLastError(ERROR_SUCCESS);
    mutex_.reset(CreateMutexA(nullptr, TRUE, name));
    // Without a mutex there is no way to coordinate: run as the first.
    if (!mutex_) return owned_ = true;
    owned_ = GetLastError() != ERROR_ALREADY_EXISTS;
    return owned_;
}

bool InstanceClaim::takeOver(DWORD ms) {
    if (owned_) return true;
    DWORD waited = WaitForSingleObject(mutex_.get(), ms);
    // An abandoned mutex belongs to the waiter as well: the first instance ended.
    owned_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    return owned_;
}

HWND findRunningWindow() {
    HWND found = nullptr;
    EnumWindows(takeWindowWithProperty, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool sendHandOver(HWND target, const char* path, DWORD timeoutMs) {
    COPYDATASTRUCT data = {};
    data.dwData = kHandOverTag;
    data.cbData = static_cast<DWORD>(std::strlen(path) + 1);
    data.lpData = const_cast<char*>(path);
    DWORD_PTR answer = 0;
    LRESULT sent = SendMessageTimeoutA(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                       SMTO_ABORTIFHUNG, timeoutMs, &answer);
    return sent != 0 && answer == TRUE;
}

bool readHandOver(const COPYDATASTRUCT& data, char (&path)[kTextSize]) {
    path[0] = '\0';
    if (data.dwData != kHandOverTag || data.cbData > kTextSize) return false;
    if (data.cbData == 0) return true;
    if (!data.lpData) return false;
    const char* bytes = static_cast<const char*>(data.lpData);
    // Only a whole, terminated path: a cut one could name another file.
    if (!std::memchr(bytes, '\0', data.cbData)) return false;
    std::memcpy(path, bytes, data.cbData);
    return true;
}

bool handOverToRunningInstance(InstanceClaim& claim, const std::string& file, DWORD patienceMs) {
    char full[kTextSize] = {};
    if (!file.empty()) {
        DWORD length = GetFullPathNameA(file.c_str(), kTextSize, full, nullptr);
        if (length == 0 || length >= kTextSize) full[0] = '\0';  // skipped, never cut
    }
    DWORD start = GetTickCount();
    while (GetTickCount() - start < patienceMs) {
        if (HWND target = findRunningWindow()) {
            DWORD process = 0;
            GetWindowThreadProcessId(target, &process);
            // Lets the running instance come to the front.
            AllowSetForegroundWindow(process);
            if (sendHandOver(target, full, kHandOverTimeoutMs)) return true;
        }
        // No window yet (still starting) or one that is closing: perhaps the
        // first instance ends, and this one takes its place.
        if (claim.takeOver(100)) return false;
    }
    // The running instance is hung or has been closing all this while. The
    // user asked for a file: say it was not taken, with no window to own the
    // box (the running one may never answer).
    if (full[0] != '\0') {
        char text[kTextSize + 512] = {};
        const int length = LoadStringA(GetModuleHandleA(nullptr), IDS_HAND_OVER_FAILED, text, 512);
        std::snprintf(text + length, sizeof text - static_cast<size_t>(length), "\n%s", full);
        MessageBoxA(nullptr, text, "Tarnuvo", MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
    }
    return true;
}

}  // namespace tarnuvo
