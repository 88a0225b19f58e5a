// The fixed per-track record shared by players and playlist entries.
#pragma once

#include <cstdint>

#include "base/text_size.h"

namespace tarnuvo {

constexpr uint32_t kBytesPerFrame = 4;  // 16-bit stereo
constexpr uint32_t kBytesPerSecond = 176400;

// A window handle without <windows.h>; HWND converts to and from it.
using WindowHandle = void*;

enum PlayMode : int32_t { Single = 0, RepeatOne = 1, RepeatAll = 2, Random = 3 };
enum PlayState : int32_t { Stopped = 0, Playing = 1, Paused = 2 };

class PlayerEnvironment;

struct TrackInfo {
    WindowHandle ownerWindow = nullptr;
    PlayerEnvironment* environment = nullptr;
    char path[kTextSize] = {};
    char location[kTextSize] = {};
    char title[kTextSize] = {};
    char artist[kTextSize] = {};
    int32_t listIndex = -1;
    int32_t state = Stopped;
    int32_t loading = 0;
    uint32_t rangeStart = 0;
    uint32_t rangeEnd = 0;
    uint32_t elapsed = 0;
    uint32_t loopsDone = 0;  // passes heard; for display
    uint32_t loopsRead = 0;  // wraps queued and not thrown away; drives the loop
    int32_t seekable = 1;
    int32_t hasLoop = 0;
    uint32_t loopStart = 0;  // sample frames at sampleRate
    uint32_t loopEnd = 0;    // sample frames at sampleRate, exclusive
    int32_t infoKnown = 0;
    uint32_t length = 0;      // time units: bytes of 44,100 Hz 16-bit stereo
    uint32_t sampleRate = 0;  // Hz; 0 = not known, treated as 44,100
    uint32_t frameCount = 0;  // exact length in the track's frames; 0 = not known
    int32_t waveOutDisabled = 0;
};

// What a probe or an open learns of a track's timing: length, rate, frame
// count and loop.
inline void copyTiming(TrackInfo& to, const TrackInfo& from) {
    to.length = from.length;
    to.sampleRate = from.sampleRate;
    to.frameCount = from.frameCount;
    to.hasLoop = from.hasLoop;
    to.loopStart = from.loopStart;
    to.loopEnd = from.loopEnd;
}

}  // namespace tarnuvo
