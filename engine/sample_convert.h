// Every per-sample conversion between a file's samples and the device, in
// one place: decoding stored samples to the intermediate type, and the
// output stage (downmix, volume, device sample type).
#pragma once

#include <cstdint>

#include "engine/downmix.h"
#include "engine/sample_format.h"

namespace tarnuvo {

// Decodes `samples` stored samples of `type` (U8, S16, S24, S32, F32 or F64,
// little endian, `containerBytes` each) to int16 (U8, S16) or float (the
// rest). `clearBits` low bits of each integer are cleared first.
void decodeStoredSamples(const uint8_t* src, SampleType type, uint32_t containerBytes,
                         uint32_t clearBits, uint32_t samples, void* dst);

// A float in -1..1 on a 16-bit device: round(x × 32768), ties to even,
// clamped; NaN gives 0.
int16_t roundToDevice16(float x);

// A value in int16 scale on a 16-bit device: truncated toward zero, clamped;
// NaN gives 0.
int16_t truncateToDevice16(float v);

class OutputStage {
public:
    void configure(const SourceFormat& source, const DeviceFormat& device);
    void setGain(float gain) { gain_ = gain; }
    const DeviceFormat& device() const { return device_; }

    // Writes `frames` frames of intermediate samples as device samples.
    void render(const void* src, uint32_t frames, uint8_t* dst) const;

    // Rewrites the frames of a rendered buffer that lie in a fade of `length`
    // frames, the first frame being fade frame `k` (negative: before the
    // fade). Fade frame k scales by (length - k) / length in double:
    // ((double)s × gain × (length - k)) / length, s the sample before the
    // volume in the device's scale; to 16 bits rounded to nearest, ties to
    // even, clamped, NaN giving 0; to float rounded once.
    void fade(const void* src, uint32_t frames, uint8_t* dst, int64_t k, uint32_t length) const;

private:
    template <typename In, typename Out>
    void direct(const In* src, uint32_t samples, Out* dst) const;
    template <typename In, typename Out>
    void downmix(const In* src, uint32_t frames, Out* dst) const;
    // Channel c of frame f before the volume, in the device's scale.
    template <typename In>
    double unscaled(const In* src, uint32_t f, uint32_t c) const;

    DeviceFormat device_;
    uint32_t sourceChannels_ = 2;
    bool sourceFloat_ = false;
    DownmixMatrix matrix_;
    float gain_ = 1.0f;
};

}  // namespace tarnuvo
