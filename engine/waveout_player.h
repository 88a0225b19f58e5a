// The native player on the waveOut device. The device's done-callback only
// hands each returned buffer to a refill thread; that thread accounts for
// it and queues the next one, in order, under the output lock.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>

#include <atomic>
#include <thread>

#include "base/handles.h"
#include "engine/native_player.h"
#include "engine/output_lock.h"

namespace tarnuvo {

// waveOutOpen, or a stand-in that tests use to refuse device formats.
using WaveOutOpenFunction = MMRESULT(WINAPI*)(LPHWAVEOUT, UINT, LPCWAVEFORMATEX, DWORD_PTR,
                                              DWORD_PTR, DWORD);
// nullptr restores waveOutOpen.
void setWaveOutOpenFunction(WaveOutOpenFunction f);

// Optional measurements of the refill thread, for benchmarks.
struct RefillTiming {
    static constexpr uint32_t kMaxSteps = 1u << 16;
    std::atomic<uint32_t> steps{0};
    uint32_t stepMicros[kMaxSteps] = {};
    std::atomic<uint64_t> threadCpu100ns{0};  // added when a refill thread ends
};

class WaveOutPlayer : public NativePlayer, private BufferSink {
public:
    WaveOutPlayer();
    ~WaveOutPlayer() override;

    void attach(WindowHandle owner, PlayerEnvironment* env) override;
    void reset() override;
    int32_t play(intptr_t unused) override;
    int32_t pause(int32_t mode) override;
    int32_t seek(uint32_t position) override;
    int32_t stop() override;
    void applyLoopRange() override;
    // The refill thread fixes the fade: read it under the output lock.
    bool fadeApplies() const override;
    int64_t fadeRemaining() override;
    int32_t isDirectShow() override { return 0; }

    // The player whose buffers the device is serving; null when none.
    static WaveOutPlayer* current();

    void setRefillTiming(RefillTiming* timing) { timing_ = timing; }
    // Tests hold the starting thread here, between the stream's start and the device's.
    void (*streamBegunSeam)() = nullptr;

private:
    static void CALLBACK doneCallback(HWAVEOUT device, UINT message, DWORD_PTR instance,
                                      DWORD_PTR param1, DWORD_PTR param2);
    void queue(uint32_t index, OutputBuffer& buffer) override;
    // Opens the device in the chosen format, or chooses one: the track's
    // own, then float, then 16-bit. False when every format was refused.
    bool openDevice();
    bool prepareBuffers();
    void refillLoop();
    void handleReturned(uint32_t index);
    void timedHandleReturned(uint32_t index);
    // Resets and closes the device, waits for the refill thread and frees
    // the data blocks. Buffers the reset hands back count as unheard.
    void closeDevice();
    void freeBlocks();

    HWAVEOUT device_ = nullptr;
    HWAVEOUT attachDevice_ = nullptr;
    WAVEHDR headers_[kBufferCount] = {};

    // Hand-over from the callback to the refill thread: a ring of header
    // indices, guarded by a critical section (all a callback may use).
    CRITICAL_SECTION returnedLock_;
    uint32_t returned_[kBufferCount * 2] = {};
    uint32_t returnedHead_ = 0;
    uint32_t returnedCount_ = 0;
    UniqueHandle returnedEvent_;
    std::thread refill_;
    std::atomic<bool> refillQuit_{false};
    bool discarding_ = false;  // buffers coming back now were thrown away unheard
    bool endPosted_ = false;
    RefillTiming* timing_ = nullptr;
};

}  // namespace tarnuvo
