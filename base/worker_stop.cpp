#include "base/worker_stop.h"

namespace tarnuvo {

namespace {

// Takes the next waiting message unless it is the quit message, which stays
// for the main loop. False when nothing (else) was waiting.
bool dispatchNext() {
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) return false;
    if (message.message == WM_QUIT) return false;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return false;
    if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));
        return false;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return true;
}

}  // namespace

void pumpOneMessage() {
    dispatchNext();
}

void pumpPendingMessages() {
    while (dispatchNext()) {
    }
}

void stopWorker(WorkerThread& worker) {
    const HANDLE held = worker.thread.get();
    const uint32_t heldId = worker.threadId;
    if (!held) return;
    // A handler served below may close the record's handle or put another
    // thread in the record; the wait keeps a handle of its own.
    HANDLE copy = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), held, GetCurrentProcess(), &copy, SYNCHRONIZE, FALSE,
                         0)) {
        copy = nullptr;
    }
    UniqueHandle waitFor(copy);
    worker.running = 0;
    PostThreadMessageA(worker.threadId, kWorkerWakeMessage, 0, 0);
    DWORD wake = QS_ALLINPUT;
    while (waitFor) {
        const HANDLE handles[] = {waitFor.get()};
        const DWORD r =
            MsgWaitForMultipleObjectsEx(1, handles, INFINITE, wake, MWMO_INPUTAVAILABLE);
        if (r != WAIT_OBJECT_0 + 1) break;  // ended, abandoned or failed
        pumpPendingMessages();
        // A quit message stays queued and would wake the wait at once, again
        // and again: from then on only the worker's sends are served.
        MSG quit;
        if (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) wake = QS_SENDMESSAGE;
    }
    // A handle value can be reused at once by a new thread in the record; the
    // id cannot while the copy keeps the old thread's object alive.
    if (worker.thread.get() == held && worker.threadId == heldId) {
        worker.thread.reset();
        worker.finished = 0;
    }
}

}  // namespace tarnuvo
