#include "base/window_call.h"

#include "base/window_messages.h"

namespace tarnuvo {

namespace {
// Tells a call of ours from a stray message that happens to use the number.
constexpr WPARAM kCallTag = 0x7461726E;

int32_t runWork(const std::function<void()>& work) {
    if (!work) return 0;
    // Nothing may unwind through a window procedure or into a worker.
    try {
        work();
    } catch (...) {
        return 0;
    }
    return 1;
}
}  // namespace

int32_t callOnWindowThread(HWND window, const std::function<void()>& work) {
    if (!window || !IsWindow(window)) return 0;
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) return runWork(work);
    const LRESULT ran =
        SendMessageA(window, kWindowCallMessage, kCallTag, reinterpret_cast<LPARAM>(&work));
    return ran == 1 ? 1 : 0;
}

LRESULT receiveWindowCall(WPARAM wParam, LPARAM lParam) {
    if (wParam != kCallTag || lParam == 0) return 0;
    return runWork(*reinterpret_cast<const std::function<void()>*>(lParam));
}

}  // namespace tarnuvo
