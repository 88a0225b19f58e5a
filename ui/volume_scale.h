// The volume slider's scale: positions 0..1000 against the players' 16-bit
// gain, and the gain in decibels for its tooltip. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarnuvo {

constexpr int32_t kVolumeSliderMax = 1000;
constexpr int32_t kVolumeSliderStep = 100;  // page and line
constexpr uint32_t kFullVolume = 65535;

// The gain of a slider position, truncated: 1000 gives 65535, 500 gives
// 32767. Positions outside 0..1000 count as the nearest end.
uint32_t volumeForSlider(int32_t position);

// The slider position of a gain (the low word of a player's volume), rounded
// so that every position comes back from its own gain unchanged.
int32_t sliderForVolume(uint32_t level);

// The gain of the low word in hundredths of a decibel, truncated toward zero:
// 0 at full volume, -10000 for silence.
int32_t volumeHundredthsOfDecibel(uint32_t level);

// "-%d.%02d dB" of that value: "-0.00 dB", "-6.02 dB", "-100.00 dB".
constexpr size_t kDecibelTextSize = 16;
size_t volumeDecibelText(uint32_t level, char* out, size_t outSize);

}  // namespace tarnuvo
