// The process-wide lock between the refill of the output device and the
// operations that stop it (seek, stop, loop range changes).
#pragma once

#include <windows.h>

namespace tarnuvo {

class OutputLock {
public:
    OutputLock() { InitializeCriticalSection(&section_); }
    virtual ~OutputLock() { DeleteCriticalSection(&section_); }
    OutputLock(const OutputLock&) = delete;
    OutputLock& operator=(const OutputLock&) = delete;

    // Waiting and taking are one atomic step.
    void acquire() { EnterCriticalSection(&section_); }
    void release() { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

class OutputLockGuard {
public:
    explicit OutputLockGuard(OutputLock& lock) : lock_(lock) { lock_.acquire(); }
    ~OutputLockGuard() { lock_.release(); }
    OutputLockGuard(const OutputLockGuard&) = delete;
    OutputLockGuard& operator=(const OutputLockGuard&) = delete;

private:
    OutputLock& lock_;
};

// The lock start-up installs; a process-lifetime fallback until then (tests).
OutputLock& outputLock();
void installOutputLock(OutputLock* lock);

}  // namespace tarnuvo
