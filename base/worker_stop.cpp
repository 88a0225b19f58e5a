#include "base/worker_stop.h"

namespace tarnuvo {

void pumpOneMessage() {
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) return;
    if (message.message == WM_QUIT) return;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return;
    if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));
        return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

void stopWorker(WorkerThread& worker) {
    if (!worker.thread) return;
    worker.running = 0;
    PostThreadMessageA(worker.threadId, kWorkerWakeMessage, 0, 0);
    // A handler dispatched below may stop the same worker; it empties the
    // record, which ends this loop without a second close.
    while (worker.finished == 0 && worker.thread) {
        DWORD waited = WaitForSingleObject(worker.thread.get(), kWorkerWaitSliceMs);
        pumpOneMessage();
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) break;
    }
    worker.thread.reset();
    worker.finished = 0;
}

}  // namespace tarnuvo
