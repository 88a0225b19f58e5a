// Stand-in until the playlist work lands.
#include "base/window_call.h"

#include "base/window_messages.h"

namespace tarnuvo {

void callOnWindowThread(HWND window, const std::function<void()>& call) {
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
        call();
        return;
    }
    SendMessageA(window, kWindowCallMessage, 0, reinterpret_cast<LPARAM>(&call));
}

LRESULT receiveWindowCall(LPARAM lParam) {
    const auto* call = reinterpret_cast<const std::function<void()>*>(lParam);
    if (call && *call) (*call)();
    return 1;
}

}  // namespace tarnuvo
