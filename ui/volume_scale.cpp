#include "ui/volume_scale.h"

#include <cmath>
#include <cstdio>

namespace tarnuvo {

uint32_t volumeForSlider(int32_t position) {
    if (position <= 0) return 0;
    if (position >= kVolumeSliderMax) return kFullVolume;
    // Integers: a floating-point scale lands just below whole values.
    return static_cast<uint32_t>(position) * kFullVolume / kVolumeSliderMax;
}

int32_t sliderForVolume(uint32_t level) {
    const uint32_t gain = level & 0xFFFF;
    // Truncating instead would give s - 1 back for almost every position s.
    return static_cast<int32_t>((gain * kVolumeSliderMax + kFullVolume / 2) / kFullVolume);
}

int32_t volumeHundredthsOfDecibel(uint32_t level) {
    const uint32_t gain = level & 0xFFFF;
    if (gain == kFullVolume) return 0;
    if (gain == 0) return -10000;
    return static_cast<int32_t>(2000.0 * std::log10(static_cast<double>(gain) / kFullVolume));
}

size_t volumeDecibelText(uint32_t level, char* out, size_t outSize) {
    if (!out || outSize == 0) return 0;
    const int32_t below = -volumeHundredthsOfDecibel(level);
    const int n = std::snprintf(out, outSize, "-%d.%02d dB", below / 100, below % 100);
    if (n < 0) out[0] = '\0';
    return n < 0 ? 0 : static_cast<size_t>(n) < outSize ? static_cast<size_t>(n) : outSize - 1;
}

}  // namespace tarnuvo
