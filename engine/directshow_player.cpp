#include "engine/directshow_player.h"

#include <process.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "base/worker_stop.h"
#include "engine/text.h"
#include "engine/units.h"

namespace tarnuvo {

namespace {

class GraphGuard {
public:
    explicit GraphGuard(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
    ~GraphGuard() { LeaveCriticalSection(&cs_); }
    GraphGuard(const GraphGuard&) = delete;
    GraphGuard& operator=(const GraphGuard&) = delete;

private:
    CRITICAL_SECTION& cs_;
};

constexpr LONG kEcComplete = 1;

// ANSI text to a wide buffer; empty on failure.
void toWide(const char* text, wchar_t (&out)[kTextSize]) {
    if (!MultiByteToWideChar(CP_ACP, 0, text, -1, out, kTextSize)) out[0] = L'\0';
    out[kTextSize - 1] = L'\0';
}

}  // namespace

uint32_t referenceTimeToBytes(LONGLONG t) {
    const double bytes = static_cast<double>(t) * 0.01764;
    if (bytes <= 0) return 0;
    return bytes >= 4294967295.0 ? UINT32_MAX : static_cast<uint32_t>(bytes);
}

LONGLONG bytesToReferenceTime(uint32_t bytes) {
    return static_cast<LONGLONG>(static_cast<double>(bytes) * 56.68934240362812);
}

long volumeForLevel(uint32_t level) {
    const double fraction = static_cast<double>(level & 0xFFFF) / 65535.0;
    const double v = std::pow(10.0, (1.0 - fraction) * 2.443697) * 0.003600004144324771 * -10000.0;
    const long result = static_cast<long>(v);  // truncates toward zero
    return result < -10000 ? -10000 : result;
}

DirectShowPlayer::DirectShowPlayer() {
    InitializeCriticalSection(&graphLock_);
}

DirectShowPlayer::~DirectShowPlayer() {
    stopWorker(poll_);
    releaseGraph();
    Player::reset();
    DeleteCriticalSection(&graphLock_);
}

void DirectShowPlayer::attach(WindowHandle owner, PlayerEnvironment* env) {
    Player::attach(owner, env);
    if (poll_.thread) return;
    poll_.running = 1;
    poll_.finished = 0;
    unsigned id = 0;
    const uintptr_t h =
        _beginthreadex(nullptr, 0, &DirectShowPlayer::pollThreadEntry, this, 0, &id);
    if (h == 0) {
        poll_.running = 0;
        return;
    }
    poll_.thread.reset(reinterpret_cast<HANDLE>(h));
    poll_.threadId = id;
}

void DirectShowPlayer::releaseGraph() {
    GraphGuard guard(graphLock_);
    graph_.release();
    canSeek_ = false;
}

void DirectShowPlayer::reset() {
    Player::reset();
    releaseGraph();
    currentPos = 0;
    clearFade();
}

void DirectShowPlayer::clearFade() {
    fade_ = FadePlan{};
    fadeWraps_ = 0;
    fadeStartUnits_ = fadeLengthUnits_ = 0;
    fadeEnded_ = false;
    fadeRemainingSeen_ = -1;
    fadeDecisionSeen_ = -1;
}

int32_t DirectShowPlayer::open(const char* name, int32_t index, int32_t probeOnly,
                               const TrackInfo* tmpl) {
    openStart(name, index, probeOnly, tmpl);
    {
        GraphGuard guard(graphLock_);
        if (FAILED(graph_.create())) {
            graph_.release();
            return -1;
        }
        canSeek_ = static_cast<bool>(graph_.seeking);
    }
    char file[kTextSize];
    resolveFile(file);
    wchar_t wide[kTextSize];
    toWide(file, wide);

    // Rendering can take a while: do it on a reference of our own, outside
    // the lock, so the poll thread and the views are not held up.
    ComPtr<IGraphBuilder> builder;
    {
        GraphGuard guard(graphLock_);
        if (graph_.builder) graph_.builder->QueryInterface(IID_IGraphBuilder, builder.putVoid());
    }
    loading = 1;
    const HRESULT hr = builder ? builder->RenderFile(wide, nullptr) : E_POINTER;
    loading = 0;
    builder.reset();
    if (FAILED(hr)) {
        reset();
        return -1;
    }

    if (TagFiller fill = tagFiller()) fill(name, ownerWindow, *this);

    GraphGuard guard(graphLock_);
    if (graph_.video) {
        if (environment && environment->showVideo) {
            setCaption();
        } else {
            graph_.video->put_AutoShow(OAFALSE);
            graph_.video->put_Visible(OAFALSE);
        }
    }
    if (graph_.seeking) {
        LONGLONG duration = 0;
        if (SUCCEEDED(graph_.seeking->GetDuration(&duration)) && !infoKnown) {
            length = referenceTimeToBytes(duration);
        }
        // Seekable when the graph can be positioned absolutely. Whether it
        // can also report its current position does not matter here: every
        // ordinary audio graph can, and it must not make the track unseekable.
        DWORD caps = 0;
        if (SUCCEEDED(graph_.seeking->GetCapabilities(&caps))) {
            seekable = (caps & AM_SEEKING_CanSeekAbsolute) ? 1 : 0;
        }
    } else {
        seekable = 0;
    }
    if (graph_.audio) {
        long ignored = 0;
        graph_.audio->get_Volume(&ignored);
        setVolume(static_cast<uint32_t>(volumeLevel));
    }
    if (probeOnly) {
        graph_.release();
        canSeek_ = false;
    }
    return 0;
}

void formatVideoCaption(int32_t listIndex, const char* title, const char* artist,
                        char (&out)[kTextSize]) {
    int n = std::snprintf(out, kTextSize, "%02d.", listIndex + 1);
    size_t at = n < 0                                ? 0
                : static_cast<size_t>(n) < kTextSize ? static_cast<size_t>(n)
                                                     : kTextSize - 1;
    at += copyText(out + at, kTextSize - at, title);
    if (artist[0] && at + 3 < kTextSize - 1) {
        at += copyText(out + at, kTextSize - at, " / ");
        copyText(out + at, kTextSize - at, artist);
    }
}

void DirectShowPlayer::setCaption() {
    char caption[kTextSize];
    formatVideoCaption(listIndex, title, artist, caption);
    wchar_t wide[kTextSize];
    toWide(caption, wide);
    if (BSTR text = SysAllocString(wide)) {
        graph_.video->put_Caption(text);
        SysFreeString(text);
    }
}

int32_t DirectShowPlayer::play(intptr_t) {
    GraphGuard guard(graphLock_);
    if (!graph_.created || !graph_.control) return 0;
    state = Playing;
    graph_.control->Run();
    return 1;
}

int32_t DirectShowPlayer::pause(int32_t mode) {
    GraphGuard guard(graphLock_);
    if (mode == kPauseOn) {
        if (graph_.control) graph_.control->Pause();
        state = Paused;
    } else if (mode == kPauseOff) {
        if (graph_.control) graph_.control->Run();
        state = Playing;
    }
    return 1;
}

int32_t DirectShowPlayer::seek(uint32_t position) {
    GraphGuard guard(graphLock_);
    if (!seekable || !graph_.seeking || !graph_.control) return 0;
    LONGLONG t = bytesToReferenceTime(position);
    // The total played keeps what was heard before the jump, as the native
    // player's does (modulo 2^32, like every byte count here).
    elapsed += currentPos - position;
    currentPos = position;
    graph_.control->Stop();
    graph_.seeking->SetPositions(&t, AM_SEEKING_AbsolutePositioning, nullptr,
                                 AM_SEEKING_NoPositioning);
    graph_.control->Run();
    state = Playing;
    return 0;
}

int32_t DirectShowPlayer::stop() {
    {
        GraphGuard guard(graphLock_);
        state = Stopped;
        if (graph_.control) graph_.control->Stop();
        graph_.release();
        canSeek_ = false;
        clearFade();
    }
    currentPos = 0;
    elapsed = 0;
    return 1;
}

uint32_t DirectShowPlayer::position() {
    // Read by the views every 50 ms: no lock, only values written whole.
    if (state == Stopped || !seekable || !canSeek_) return 0;
    return currentPos;
}

uint32_t DirectShowPlayer::elapsedTotal() {
    return currentPos + elapsed;
}

int32_t DirectShowPlayer::getVolume(int32_t* level) {
    *level = volumeLevel;
    return 0;
}

int32_t DirectShowPlayer::setVolume(uint32_t level) {
    GraphGuard guard(graphLock_);
    // Kept without a graph too: the next open applies it. During a fade the
    // poll thread applies it, scaled.
    volumeLevel = static_cast<int32_t>(level);
    if (fade_.on && fadeOutputPos() >= fadeStartUnits_) return 1;
    if (!graph_.audio) return 0;
    return SUCCEEDED(graph_.audio->put_Volume(volumeForLevel(level))) ? 1 : 0;
}

IGraphBuilder* DirectShowPlayer::graphBuilderRef() {
    GraphGuard guard(graphLock_);
    if (graph_.builder) graph_.builder->AddRef();
    return graph_.builder.get();
}

HRESULT DirectShowPlayer::fullScreen(int32_t mode, HWND drainWindow) {
    HRESULT hr;
    {
        GraphGuard guard(graphLock_);
        if (!graph_.video) return E_NOTIMPL;
        long on = OAFALSE;
        graph_.video->get_FullScreenMode(&on);
        const bool isOn = on != OAFALSE;
        const bool enter = mode == 1 ? !isOn : mode == 2 ? !isOn : false;
        const bool leave = mode == 0 ? isOn : mode == 2 ? isOn : false;
        if (enter) {
            graph_.video->put_MessageDrain(reinterpret_cast<OAHWND>(drainWindow));
            hr = graph_.video->put_FullScreenMode(OATRUE);
            if (FAILED(hr)) return graph_.video->put_MessageDrain(0);
            drainWindow_ = drainWindow;
        } else if (leave) {
            hr = graph_.video->put_FullScreenMode(OAFALSE);
            if (FAILED(hr)) return hr;
            graph_.video->put_MessageDrain(0);
            drainWindow_ = nullptr;
        } else {
            return S_OK;
        }
    }
    // The video window needs a moment to change its mode.
    Sleep(500);
    return hr;
}

int32_t DirectShowPlayer::filterMessage(HWND, UINT message, WPARAM wParam, LPARAM) {
    {
        GraphGuard guard(graphLock_);
        if (!graph_.video) return 0;
    }
    if ((message == WM_KEYUP && wParam == VK_ESCAPE) || message == WM_LBUTTONDBLCLK ||
        message == WM_MBUTTONDOWN) {
        fullScreen(0, drainWindow_);
    }
    return 1;
}

unsigned __stdcall DirectShowPlayer::pollThreadEntry(void* self) {
    auto* player = static_cast<DirectShowPlayer*>(self);
    // The graph is free-threaded; this thread joins the multithreaded apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    player->pollThread();
    if (SUCCEEDED(com)) CoUninitialize();
    player->poll_.finished = 1;
    return 0;
}

uint64_t DirectShowPlayer::fadeOutputPos() const {
    return currentPos + uint64_t{loopsDone + fadeWraps_} * (rangeEnd - rangeStart);
}

void DirectShowPlayer::pollFade() {
    const uint64_t t = fadeOutputPos();
    if (t < fadeStartUnits_) return;
    const uint64_t k = t - fadeStartUnits_;
    if (k >= fadeLengthUnits_) {
        fadeEnded_ = true;
        if (graph_.control) graph_.control->Stop();
        // No completion event comes while the graph keeps looping.
        if (ownerWindow) {
            PostMessageA(static_cast<HWND>(ownerWindow), WM_COMMAND,
                         endOfTrackCommand(currentPlayMode()), 0);
        }
        return;
    }
    const uint64_t full = static_cast<uint32_t>(volumeLevel) & 0xFFFF;
    const auto level = static_cast<uint32_t>(full * (fadeLengthUnits_ - k) / fadeLengthUnits_);
    if (graph_.audio) graph_.audio->put_Volume(volumeForLevel(level));
}

bool DirectShowPlayer::fadeApplies() const {
    const int32_t decision = fadeDecisionSeen_;
    return decision >= 0 ? decision == 1 : Player::fadeApplies();
}

int64_t DirectShowPlayer::computeFadeRemaining() const {
    if (!Player::fadeApplies() || rangeEnd <= rangeStart) return -1;
    uint64_t end;
    if (fade_.decided) {
        end = fadeStartUnits_ + fadeLengthUnits_;
    } else {
        const FadePlan plan = planFade(0);
        end = rangeEnd + uint64_t{plan.passes} * (rangeEnd - rangeStart) +
              unitsFromFrames64(plan.delay, sampleRate) +
              unitsFromFrames64(plan.length, sampleRate);
    }
    const uint64_t t = fadeOutputPos();
    return t >= end ? 0 : static_cast<int64_t>(end - t);
}

bool DirectShowPlayer::loopSeekAllowed() const {
    return length != 0 && seekable && rangeStart < rangeEnd;
}

void DirectShowPlayer::pollThread() {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    while (poll_.running) {
        DWORD wait = 100;
        pollStep(wait);
        // A wake-up message ends the wait early when the thread is stopped.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_POSTMESSAGE);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
}

void DirectShowPlayer::pollStep(DWORD& wait) {
    GraphGuard guard(graphLock_);
    if (graph_.seeking) {
        LONGLONG current = 0, stopAt = 0;
        if (SUCCEEDED(graph_.seeking->GetPositions(&current, &stopAt))) {
            currentPos = referenceTimeToBytes(current);
        }
    }
    const int32_t mode = currentPlayMode();
    const uint32_t passes = static_cast<uint32_t>(currentLoopCount());
    const bool wantLoop = mode == RepeatOne || (hasLoop && loopsDone < passes) || fadeHoldsLoop();
    if (state != Stopped && !fadeEnded_ && wantLoop && loopSeekAllowed() && currentPos > rangeEnd) {
        if (!fade_.decided && mode != RepeatOne && loopsDone >= passes) {
            // The tail's start: from here the fade goes by its fixed values.
            decideFade(0);
            if (fade_.on) {
                const uint64_t loop = rangeEnd - rangeStart;
                fadeStartUnits_ = rangeEnd + uint64_t{loopsDone} * loop +
                                  unitsFromFrames64(fade_.delay, sampleRate);
                fadeLengthUnits_ = unitsFromFrames64(fade_.length, sampleRate);
            }
        }
        if (fade_.on) {
            ++fadeWraps_;  // the counter stays at N/N
            seek(rangeStart);
        } else if (!fade_.decided || mode == RepeatOne) {
            ++loopsDone;
            loopsRead = loopsDone;
            seek(rangeStart);
        }
    }
    if (fade_.on && state != Stopped && !fadeEnded_) pollFade();
    fadeDecisionSeen_ = fade_.decided ? (fade_.on ? 1 : 0) : -1;
    fadeRemainingSeen_ = computeFadeRemaining();
    if (!graph_.events || state == Stopped) return;
    long code = 0;
    LONG_PTR p1 = 0, p2 = 0;
    if (SUCCEEDED(graph_.events->GetEvent(&code, &p1, &p2, 0))) {
        graph_.events->FreeEventParams(code, p1, p2);
        if (code == kEcComplete) {
            if (mode == RepeatOne) {
                ++loopsDone;
                loopsRead = loopsDone;
                elapsed += length;
                currentPos = 0;
                if (graph_.control && graph_.seeking) {
                    LONGLONG zero = 0;
                    graph_.control->Stop();
                    graph_.seeking->SetPositions(&zero, AM_SEEKING_AbsolutePositioning, nullptr,
                                                 AM_SEEKING_NoPositioning);
                    graph_.control->Run();
                }
            } else if (ownerWindow) {
                PostMessageA(static_cast<HWND>(ownerWindow), WM_COMMAND, endOfTrackCommand(mode),
                             0);
            }
        }
    }
    wait = 30 + static_cast<DWORD>(std::rand() % 20);
}

}  // namespace tarnuvo
