// The seek slider's units. A trackbar holds signed 32-bit values, so the
// slider counts 44,100 Hz sample frames (4 time units each), whatever the
// track's rate: every 32-bit length fits. Platform-free.
#pragma once

#include <cstdint>

#include "engine/track_info.h"

namespace tarnuvo {

constexpr int32_t kSeekPageFrames = 220500;  // 5 s
constexpr int32_t kSeekLineFrames = 44100;   // 1 s

struct SeekScale {
    int32_t maxFrames = 0;
    bool hasSelection = false;
    int32_t selectionStart = 0;  // the loop range, inside 0..maxFrames
    int32_t selectionEnd = 0;
};

// The track's loop points are frames at its own rate.
SeekScale seekScaleFor(const TrackInfo& track);

// The slider position of a byte position.
int32_t sliderFrames(uint32_t bytes);

// The byte position to seek to for a slider position: four bytes a frame,
// limited to `rangeEnd` (the loop end while a loop is in effect).
uint32_t seekTargetFor(int32_t frames, uint32_t rangeEnd);

// The slider position under a click at x on the channel from channelLeft to
// channelRight, whose thumb is 2 * thumbHalf wide, for a range 0..maxFrames;
// -1 when the click is off the channel or the channel has no span left, so
// the slider handles the click itself.
int32_t clickedFrames(int32_t x, int32_t channelLeft, int32_t channelRight, int32_t thumbHalf,
                      int32_t maxFrames);

}  // namespace tarnuvo
