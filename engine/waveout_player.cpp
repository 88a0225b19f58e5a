#include "engine/waveout_player.h"

namespace tarnuvo {

namespace {

std::atomic<WaveOutPlayer*> g_current{nullptr};
std::atomic<WaveOutOpenFunction> g_waveOutOpen{nullptr};

MMRESULT openWaveOut(LPHWAVEOUT device, const WAVEFORMATEX& f, DWORD_PTR callback,
                     DWORD_PTR instance, DWORD flags) {
    WaveOutOpenFunction open = g_waveOutOpen.load();
    if (!open) open = &waveOutOpen;
    return open(device, WAVE_MAPPER, &f, callback, instance, flags);
}

WAVEFORMATEX waveFormatOf(const DeviceFormat& d) {
    WAVEFORMATEX f{};
    f.wFormatTag = d.isFloat ? WAVE_FORMAT_IEEE_FLOAT : WAVE_FORMAT_PCM;
    f.nChannels = d.channels;
    f.nSamplesPerSec = d.rate;
    f.nBlockAlign = static_cast<WORD>(d.bytesPerFrame());
    f.nAvgBytesPerSec = d.rate * f.nBlockAlign;
    f.wBitsPerSample = d.isFloat ? 32 : 16;
    f.cbSize = 0;
    return f;
}

// The idle device held from attach: the format every earlier track had.
WAVEFORMATEX outputFormat() {
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = 2;
    f.nSamplesPerSec = 44100;
    f.nAvgBytesPerSec = kBytesPerSecond;
    f.nBlockAlign = 4;
    f.wBitsPerSample = 16;
    f.cbSize = 0;
    return f;
}

}  // namespace

void setWaveOutOpenFunction(WaveOutOpenFunction f) {
    g_waveOutOpen.store(f);
}

WaveOutPlayer* WaveOutPlayer::current() {
    return g_current.load();
}

WaveOutPlayer::WaveOutPlayer() : returnedEvent_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
    InitializeCriticalSection(&returnedLock_);
}

WaveOutPlayer::~WaveOutPlayer() {
    if (attachDevice_) waveOutClose(attachDevice_);
    reset();
    WaveOutPlayer* self = this;
    g_current.compare_exchange_strong(self, nullptr);
    DeleteCriticalSection(&returnedLock_);
}

void WaveOutPlayer::attach(WindowHandle owner, PlayerEnvironment* env) {
    Player::attach(owner, env);
    if (attachDevice_) waveOutClose(attachDevice_);
    attachDevice_ = nullptr;
    // Held for the player's lifetime and never written.
    const WAVEFORMATEX f = outputFormat();
    if (openWaveOut(&attachDevice_, f, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
        attachDevice_ = nullptr;
    }
}

void WaveOutPlayer::reset() {
    {
        OutputLockGuard guard(outputLock());
        ended = true;
        state = Stopped;
        discarding_ = true;
    }
    closeDevice();
    releaseDecoder();
    NativePlayer::reset();
}

void WaveOutPlayer::applyLoopRange() {
    // The refill thread reads the range; it must never see half an update.
    OutputLockGuard guard(outputLock());
    Player::applyLoopRange();
}

bool WaveOutPlayer::openDevice() {
    const auto callback = reinterpret_cast<DWORD_PTR>(&doneCallback);
    const auto instance = reinterpret_cast<DWORD_PTR>(this);
    auto tryFormat = [&](const DeviceFormat& d) {
        const WAVEFORMATEX f = waveFormatOf(d);
        if (openWaveOut(&device_, f, callback, instance, CALLBACK_FUNCTION) == MMSYSERR_NOERROR) {
            return true;
        }
        device_ = nullptr;
        return false;
    };
    if (deviceChosen()) return tryFormat(deviceFormat());
    const DeviceFormat preferred = preferredDeviceFormat();
    DeviceFormat tried[3];
    uint32_t count = 0;
    for (const bool asFloat : {preferred.isFloat, true, false}) {
        DeviceFormat d = preferred;
        d.isFloat = asFloat;
        bool seen = false;
        for (uint32_t i = 0; i < count; ++i) seen = seen || tried[i] == d;
        if (seen) continue;
        tried[count++] = d;
        if (tryFormat(d)) {
            chooseDeviceFormat(d);
            return true;
        }
    }
    return false;
}

bool WaveOutPlayer::prepareBuffers() {
    const uint32_t bytes = bufferBytes();
    // A looping header in any format but PCM makes waveOutWrite fail.
    const DWORD loopFlags = deviceFormat().isFloat ? 0 : WHDR_BEGINLOOP | WHDR_ENDLOOP;
    for (uint32_t i = 0; i < kBufferCount; ++i) {
        WAVEHDR& h = headers_[i];
        h = WAVEHDR{};
        void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes);
        if (!block) continue;  // this header stays unused
        h.lpData = static_cast<LPSTR>(block);
        h.dwBufferLength = bytes;
        h.dwFlags = loopFlags;
        h.dwLoops = 1;
        h.dwUser = static_cast<DWORD_PTR>(kPlainMark);
        if (waveOutPrepareHeader(device_, &h, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
            HeapFree(GetProcessHeap(), 0, block);
            h = WAVEHDR{};
            continue;
        }
        buffer(i).data = reinterpret_cast<uint8_t*>(block);
    }
    return usableBuffers() >= kQueueDepth;
}

bool WaveOutPlayer::fadeApplies() const {
    OutputLockGuard guard(outputLock());
    return NativePlayer::fadeApplies();
}

int64_t WaveOutPlayer::fadeRemaining() {
    OutputLockGuard guard(outputLock());
    return NativePlayer::fadeRemaining();
}

int32_t WaveOutPlayer::play(intptr_t) {
    if (kind() == NoSource) return 0;
    closeDevice();
    g_current.store(this);
    if (!openDevice()) {
        WaveOutPlayer* self = this;
        g_current.compare_exchange_strong(self, nullptr);
        return 0;
    }
    if (!prepareBuffers()) {
        closeDevice();
        return 0;
    }
    EnterCriticalSection(&returnedLock_);
    returnedHead_ = returnedCount_ = 0;
    LeaveCriticalSection(&returnedLock_);
    discarding_ = false;
    endPosted_ = false;
    refillQuit_ = false;
    refill_ = std::thread([this] { refillLoop(); });

    // The first buffer can come back before the fourth is queued; the lock
    // keeps the refill from overtaking these fills.
    OutputLockGuard guard(outputLock());
    // Holding the device until all four are queued keeps it from running
    // dry between the first buffers.
    waveOutPause(device_);
    beginStream();
    if (streamBegunSeam) streamBegunSeam();
    for (uint32_t i = 0; i < kQueueDepth; ++i) fillBuffer(*this);
    waveOutRestart(device_);
    return 1;
}

int32_t WaveOutPlayer::pause(int32_t mode) {
    if (mode == kPauseOn) {
        if (device_) waveOutPause(device_);
        state = Paused;
    } else if (mode == kPauseOff) {
        if (device_) waveOutRestart(device_);
        state = Playing;
    }
    return 1;
}

int32_t WaveOutPlayer::seek(uint32_t position) {
    {
        OutputLockGuard guard(outputLock());
        setPendingStart(position);
        ended = true;
        state = Stopped;
        discarding_ = true;
    }
    closeDevice();
    return 1;
}

int32_t WaveOutPlayer::stop() {
    {
        OutputLockGuard guard(outputLock());
        ended = true;
        state = Stopped;
        discarding_ = true;
    }
    closeDevice();
    releaseDecoder();
    infoKnown = 0;
    drained = false;
    clearCounters();
    skipCount = false;
    hasPendingStart = false;
    return 1;
}

void WaveOutPlayer::closeDevice() {
    if (device_) {
        waveOutReset(device_);  // every queued buffer comes back, unheard
        for (WAVEHDR& h : headers_) {
            if (h.lpData) waveOutUnprepareHeader(device_, &h, sizeof(WAVEHDR));
        }
        waveOutClose(device_);
        device_ = nullptr;
    }
    if (refill_.joinable()) {
        // No callback can come any more; the thread drains what came and ends.
        refillQuit_ = true;
        SetEvent(returnedEvent_.get());
        refill_.join();
    }
    freeBlocks();
}

void WaveOutPlayer::freeBlocks() {
    for (uint32_t i = 0; i < kBufferCount; ++i) {
        if (headers_[i].lpData) HeapFree(GetProcessHeap(), 0, headers_[i].lpData);
        headers_[i] = WAVEHDR{};
        buffer(i).data = nullptr;
    }
}

void CALLBACK WaveOutPlayer::doneCallback(HWAVEOUT, UINT message, DWORD_PTR instance,
                                          DWORD_PTR param1, DWORD_PTR) {
    if (message != WOM_DONE || !instance) return;
    auto* player = reinterpret_cast<WaveOutPlayer*>(instance);
    auto* header = reinterpret_cast<WAVEHDR*>(param1);
    const ptrdiff_t index = header - player->headers_;
    if (index < 0 || index >= static_cast<ptrdiff_t>(kBufferCount)) return;
    // Only signalling here: other wave calls from a callback can deadlock.
    EnterCriticalSection(&player->returnedLock_);
    const uint32_t size = sizeof(player->returned_) / sizeof(player->returned_[0]);
    if (player->returnedCount_ < size) {
        player->returned_[(player->returnedHead_ + player->returnedCount_) % size] =
            static_cast<uint32_t>(index);
        ++player->returnedCount_;
    }
    LeaveCriticalSection(&player->returnedLock_);
    SetEvent(player->returnedEvent_.get());
}

void WaveOutPlayer::refillLoop() {
    const uint32_t size = sizeof(returned_) / sizeof(returned_[0]);
    for (;;) {
        WaitForSingleObject(returnedEvent_.get(), INFINITE);
        for (;;) {
            EnterCriticalSection(&returnedLock_);
            const bool any = returnedCount_ > 0;
            uint32_t index = 0;
            if (any) {
                index = returned_[returnedHead_];
                returnedHead_ = (returnedHead_ + 1) % size;
                --returnedCount_;
            }
            LeaveCriticalSection(&returnedLock_);
            if (!any) break;
            if (timing_) {
                timedHandleReturned(index);
            } else {
                handleReturned(index);
            }
        }
        if (refillQuit_) break;
    }
    if (timing_) {
        FILETIME created, exited, kernel, user;
        if (GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) {
            auto ticks = [](const FILETIME& t) {
                return (uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime;
            };
            timing_->threadCpu100ns += ticks(kernel) + ticks(user);
        }
    }
}

void WaveOutPlayer::timedHandleReturned(uint32_t index) {
    LARGE_INTEGER frequency, t0, t1;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&t0);
    handleReturned(index);
    QueryPerformanceCounter(&t1);
    const uint32_t step = timing_->steps.fetch_add(1);
    if (step < RefillTiming::kMaxSteps) {
        timing_->stepMicros[step] =
            static_cast<uint32_t>((t1.QuadPart - t0.QuadPart) * 1000000 / frequency.QuadPart);
    }
}

void WaveOutPlayer::handleReturned(uint32_t index) {
    OutputLockGuard guard(outputLock());
    if (discarding_) {
        discardBuffer(index);
        return;
    }
    const bool trackEnded = accountBuffer(index);
    if (trackEnded) ended = true;
    if (!ended) {
        fillBuffer(*this);
        return;
    }
    if (trackEnded && state != Stopped && !endPosted_) {
        endPosted_ = true;
        if (endCommand && ownerWindow) {
            PostMessageA(static_cast<HWND>(ownerWindow), WM_COMMAND, endCommand, 0);
        }
    }
}

void WaveOutPlayer::queue(uint32_t index, OutputBuffer& b) {
    WAVEHDR& h = headers_[index];
    h.dwBufferLength = b.length;
    h.dwUser = static_cast<DWORD_PTR>(b.mark);
    waveOutWrite(device_, &h, sizeof(WAVEHDR));
}

}  // namespace tarnuvo
