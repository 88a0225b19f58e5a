// Stopping a worker thread from the user-interface thread while the window
// stays alive: the worker's synchronous sends are served during the wait.
#pragma once

#include "base/worker_thread.h"

namespace tarnuvo {

// The thread message that wakes a worker waiting for messages.
constexpr UINT kWorkerWakeMessage = WM_APP;
constexpr DWORD kWorkerWaitSliceMs = 100;

// Dispatches at most one waiting message; looking also serves sends from
// other threads. A quit message is left for the main loop.
void pumpOneMessage();

// Clears the run flag, wakes the thread and waits for it in slices while
// dispatching messages, then closes its handle and clears the finished flag.
// Harmless on a record without a thread, also when called again from a
// message handler that runs inside the wait.
void stopWorker(WorkerThread& worker);

}  // namespace tarnuvo
