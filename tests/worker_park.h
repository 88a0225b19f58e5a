// A seam function that holds the thread reaching it until the test lets it
// go (or 5 s have passed, so that a test that fails never hangs), for driving
// the window thread through the gap a race would need.
#pragma once

#include <windows.h>

#include <atomic>

namespace tarnuvo::test {

// The one park of a test: parkHere holds threads only while it exists.
struct Park;
inline Park* g_park = nullptr;

struct Park {
    Park() { g_park = this; }
    Park(const Park&) = delete;
    Park& operator=(const Park&) = delete;
    ~Park() {
        g_park = nullptr;
        SetEvent(release);
        CloseHandle(release);
    }
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> parked{0};
};

inline void parkHere() {
    Park* park = g_park;
    if (!park) return;
    ++park->parked;
    WaitForSingleObject(park->release, 5000);
}

// A thread timer that lets the parked thread go, from inside whatever wait
// the window thread is serving messages in by then.
inline void CALLBACK releasePark(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (g_park) SetEvent(g_park->release);
}
inline void releaseParkSoon(UINT ms = 200) {
    SetTimer(nullptr, 0, ms, releasePark);
}

// Serves only the messages other threads send (a worker's synchronous
// requests) until done() or ms have passed: posted messages stay queued.
template <typename Done>
bool serveSendsUntil(DWORD ms, Done done) {
    const DWORD begun = GetTickCount();
    while (!done()) {
        if (GetTickCount() - begun > ms) return false;
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_SENDMESSAGE);
    }
    return true;
}

}  // namespace tarnuvo::test
