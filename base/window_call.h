// Running work on a window's thread. Only the window thread changes the
// playlist entries, the rows and the list attributes; a worker thread asks it
// to with a synchronous message and continues once the work is done.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

namespace tarnuvo {

// Runs `work` on the thread that owns `window` and returns when it has run:
// directly when called on that thread, else through kWindowCallMessage sent
// to the window. A window thread that waits for a worker must go on serving
// sent messages meanwhile (stopWorker does). 1 when the work ran; 0 when the window is gone, the
// message could not be delivered, or the work threw.
int32_t callOnWindowThread(HWND window, const std::function<void()>& work);

// The window procedure's answer to kWindowCallMessage: runs the work that
// lParam carries and returns 1, or 0 when there is none or it threw.
LRESULT receiveWindowCall(WPARAM wParam, LPARAM lParam);

}  // namespace tarnuvo
