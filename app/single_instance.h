// One player per session: a second start hands its file to the running
// window and ends.
#pragma once

#include <windows.h>

#include <string>

#include "base/handles.h"
#include "engine/track_info.h"

namespace tarnuvo {

constexpr char kInstanceMutexName[] = "Tarnuvo.Instance";
// Marks a WM_COPYDATA as a hand-over (its data is a path, possibly empty).
constexpr ULONG_PTR kHandOverTag = 0x5456484F;
constexpr DWORD kHandOverTimeoutMs = 5000;
constexpr DWORD kHandOverPatienceMs = 10000;

// Ownership of the named mutex that marks the first instance.
class InstanceClaim {
public:
    InstanceClaim() = default;
    ~InstanceClaim();
    InstanceClaim(const InstanceClaim&) = delete;
    InstanceClaim& operator=(const InstanceClaim&) = delete;

    // True when this process is the first (it then owns the mutex).
    bool claim(const char* name);
    // Waits up to `ms` for the first instance to end; true once this one owns it.
    bool takeOver(DWORD ms);
    bool owned() const { return owned_; }

private:
    UniqueHandle mutex_;
    bool owned_ = false;
};

// The top-level window of the running instance (found by its property).
HWND findRunningWindow();

// Sends `path` (may be empty: only come to the front) to `target`, without
// waiting on a hung window. True when the window took it.
bool sendHandOver(HWND target, const char* path, DWORD timeoutMs);

// The path of a hand-over; false when the data is not one or does not fit.
bool readHandOver(const COPYDATASTRUCT& data, char (&path)[kTextSize]);

// What a second start does with the file named on its command line (made
// full here: the first instance has another current directory). True when
// this start should end: the running instance took it, or did not answer
// within `patienceMs` (a file it was given is then named in a message box).
// False when that instance ended meanwhile and this one now owns the claim
// and should run as the first.
bool handOverToRunningInstance(InstanceClaim& claim, const std::string& file,
                               DWORD patienceMs = kHandOverPatienceMs);

}  // namespace tarnuvo
