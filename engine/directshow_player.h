// The player for every file the native player refuses: a DirectShow filter
// graph, looped by a poll thread that seeks back after the loop end.
#pragma once

#include <windows.h>

#include <atomic>

#include "base/worker_thread.h"
#include "engine/graph_interfaces.h"
#include "engine/player.h"

namespace tarnuvo {

// DirectShow reference time (100 ns) to PCM bytes and back, truncating.
uint32_t referenceTimeToBytes(LONGLONG t);
LONGLONG bytesToReferenceTime(uint32_t bytes);
// The graph's volume (hundredths of a decibel) for a level 0..65535.
long volumeForLevel(uint32_t level);
// "05.Title / Artist" for list index 4, within 259 characters.
void formatVideoCaption(int32_t listIndex, const char* title, const char* artist,
                        char (&out)[kTextSize]);

class DirectShowPlayer : public Player {
public:
    DirectShowPlayer();
    ~DirectShowPlayer() override;

    void attach(WindowHandle owner, PlayerEnvironment* env) override;
    void reset() override;
    int32_t open(const char* name, int32_t listIndex, int32_t probeOnly,
                 const TrackInfo* tmpl) override;
    int32_t play(intptr_t unused) override;
    int32_t pause(int32_t mode) override;
    int32_t seek(uint32_t position) override;
    int32_t stop() override;
    uint32_t position() override;
    uint32_t elapsedTotal() override;
    int32_t getVolume(int32_t* level) override;
    int32_t setVolume(uint32_t level) override;
    // Both read what the poll thread last found, without the graph lock:
    // the window thread must never wait for a graph call.
    bool fadeApplies() const override;
    int64_t fadeRemaining() override { return fadeRemainingSeen_; }
    int32_t isDirectShow() override { return 1; }

    // Full-screen video. mode 0 leaves, 1 enters, 2 toggles. Messages of the
    // full-screen window are drained to `drainWindow` meanwhile.
    HRESULT fullScreen(int32_t mode, HWND drainWindow);
    // 1 when the message belongs to the video window (the graph has one);
    // Escape, a double click or a middle click leave full screen.
    int32_t filterMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    bool hasGraph() const { return graph_.created; }
    bool pollThreadRunning() const { return static_cast<bool>(poll_.thread); }
    // The builder of the current graph, with a new reference (tests).
    IGraphBuilder* graphBuilderRef();

    std::atomic<uint32_t> currentPos{0};
    int32_t volumeLevel = -1;

private:
    static unsigned __stdcall pollThreadEntry(void* self);
    void pollThread();
    void pollStep(DWORD& wait);
    void releaseGraph();
    void setCaption();
    // Loop seeks and pass counting make sense only for a known length, a
    // seekable graph and a non-empty range.
    bool loopSeekAllowed() const;
    // The fade's volume at the polled place, and the end it reaches.
    void pollFade();
    void clearFade();
    int64_t computeFadeRemaining() const;
    uint64_t fadeOutputPos() const;

    // The graph loops by seeking, so its fade cannot be sample-exact: it is
    // timed by the polled position, in time units.
    uint32_t fadeWraps_ = 0;  // loop seeks after the last counted pass
    uint64_t fadeStartUnits_ = 0;
    uint64_t fadeLengthUnits_ = 0;
    bool fadeEnded_ = false;
    std::atomic<int64_t> fadeRemainingSeen_{-1};
    std::atomic<int32_t> fadeDecisionSeen_{-1};  // -1 open, 0 off, 1 on

    GraphInterfaces graph_;
    std::atomic<bool> canSeek_{false};  // the graph has a seeking interface
    // Held around every use of the graph's interfaces and around their
    // release, so the poll thread never touches a released interface.
    CRITICAL_SECTION graphLock_;
    WorkerThread poll_;
    HWND drainWindow_ = nullptr;
};

}  // namespace tarnuvo
