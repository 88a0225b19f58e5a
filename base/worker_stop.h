// Stopping a worker thread from the user-interface thread while the window
// stays alive: the worker's synchronous sends are served during the wait.
#pragma once

#include "base/worker_thread.h"

namespace tarnuvo {

// The thread message that wakes a worker waiting for messages.
constexpr UINT kWorkerWakeMessage = WM_APP;

// Dispatches at most one waiting message; looking also serves sends from
// other threads. A quit message is left for the main loop.
void pumpOneMessage();

// Dispatches every message waiting now, leaving a quit message queued.
void pumpPendingMessages();

// Clears the run flag, wakes the thread and waits until the thread has ended,
// serving every message and send as soon as it arrives; then closes the
// handle and clears the finished flag. Harmless on a record without a thread,
// also when a handler served inside the wait stops the same worker or starts
// a new one in the record (that one is left alone).
void stopWorker(WorkerThread& worker);

}  // namespace tarnuvo
