// Running a piece of work on a window's thread from a worker, synchronously.
#pragma once

#include <windows.h>

#include <functional>

namespace tarnuvo {

// Sends kWindowCallMessage to `window`; its thread runs `call` before the
// send returns. From the window's own thread the call runs at once.
void callOnWindowThread(HWND window, const std::function<void()>& call);

// The receiver: the window procedure hands kWindowCallMessage's lParam here.
LRESULT receiveWindowCall(LPARAM lParam);

}  // namespace tarnuvo
