#include <atomic>

#include "engine/output_lock.h"

namespace tarnuvo {

namespace {
std::atomic<OutputLock*> g_installed{nullptr};
}

OutputLock& outputLock() {
    if (OutputLock* lock = g_installed.load()) return *lock;
    static OutputLock fallback;
    return fallback;
}

void installOutputLock(OutputLock* lock) {
    g_installed.store(lock);
}

}  // namespace tarnuvo
