// Conversions between a track's own sample frames and the engine's time
// unit: bytes of 44,100 Hz 16-bit stereo PCM (176,400 per second), which
// lengths, ranges, positions and list files keep whatever the track's rate.
// Every conversion is the identity at 44,100 Hz.
#pragma once

#include <cstdint>

namespace tarnuvo {

constexpr uint32_t kUnitRate = 44100;
constexpr uint32_t kMinRate = 8000;
constexpr uint32_t kMaxRate = 192000;

// A rate of 0 is not known and counts as 44,100 Hz.
constexpr uint32_t effectiveRate(uint32_t rate) {
    return rate == 0 ? kUnitRate : rate;
}

// 4 × floor(frames × 44,100 / rate), for frame counts of up to 32 bits.
constexpr uint64_t unitsFromFrames64(uint64_t frames, uint32_t rate) {
    return frames * kUnitRate / effectiveRate(rate) * 4;
}

// The same, saturated to 32 bits.
constexpr uint32_t unitsFromFrames(uint64_t frames, uint32_t rate) {
    const uint64_t units = unitsFromFrames64(frames, rate);
    return units > 0xFFFFFFFCu ? 0xFFFFFFFCu : static_cast<uint32_t>(units);
}

// floor(units / 4 × rate / 44,100): the frame at or before a time.
constexpr uint64_t framesFromUnits(uint64_t units, uint32_t rate) {
    return units * effectiveRate(rate) / (4 * uint64_t{kUnitRate});
}

// A loop point as list files store it: 44,100 Hz frames, rounded to nearest.
constexpr uint64_t listFramesFromFrames(uint64_t frames, uint32_t rate) {
    return (frames * kUnitRate + effectiveRate(rate) / 2) / effectiveRate(rate);
}

// The other way: a 44,100 Hz frame count as frames at `rate`, rounded to nearest.
constexpr uint64_t framesFromListFrames(uint64_t listFrames, uint32_t rate) {
    return (listFrames * effectiveRate(rate) + kUnitRate / 2) / kUnitRate;
}

// Whole hundredths of a second in `frames` at `rate`: floor(100 × frames / rate).
constexpr uint64_t hundredthsFromFrames(uint64_t frames, uint32_t rate) {
    return frames * 100 / effectiveRate(rate);
}

}  // namespace tarnuvo
