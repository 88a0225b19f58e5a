#include "ui/seek_scale.h"

#include "engine/units.h"

namespace tarnuvo {
namespace {

// A loop point, in frames at the track's rate, as a slider position no
// further than `limit`.
int32_t sliderPoint(uint32_t frames, uint32_t rate, int32_t limit) {
    const int32_t at = sliderFrames(unitsFromFrames(frames, rate));
    return at < limit ? at : limit;
}

}  // namespace

SeekScale seekScaleFor(const TrackInfo& track) {
    SeekScale scale;
    scale.maxFrames = sliderFrames(track.length);
    if (track.hasLoop) {
        // Points from a list file may lie anywhere: the selection stays on the channel.
        scale.hasSelection = true;
        scale.selectionStart = sliderPoint(track.loopStart, track.sampleRate, scale.maxFrames);
        scale.selectionEnd = sliderPoint(track.loopEnd, track.sampleRate, scale.maxFrames);
    }
    return scale;
}

int32_t sliderFrames(uint32_t bytes) {
    return static_cast<int32_t>(bytes / kBytesPerFrame);
}

uint32_t seekTargetFor(int32_t frames, uint32_t rangeEnd) {
    if (frames <= 0) return 0;
    const uint64_t bytes = static_cast<uint64_t>(frames) * kBytesPerFrame;
    return bytes > rangeEnd ? rangeEnd : static_cast<uint32_t>(bytes);
}

int32_t clickedFrames(int32_t x, int32_t channelLeft, int32_t channelRight, int32_t thumbHalf,
                      int32_t maxFrames) {
    if (x < channelLeft || x > channelRight) return -1;
    const int64_t span = static_cast<int64_t>(channelRight) - thumbHalf - channelLeft;
    if (span <= 0 || maxFrames <= 0) return -1;
    const double at = static_cast<double>(maxFrames) / static_cast<double>(span) *
                      static_cast<double>(x - channelLeft);
    // The last half thumb of the channel lies beyond the range's end.
    return at >= maxFrames ? maxFrames : static_cast<int32_t>(at);
}

}  // namespace tarnuvo
