// The one fixed matrix that folds more than two channels into stereo.
//
// Each source speaker goes to left, right or both with a weight: front left
// and right 1 to their side; front centre 0.7071 to both; side and back left
// and right 0.7071 to their side; back centre 0.5 to both; front left and
// right of centre 1 to their side; the low-frequency channel is left out;
// top speakers are weighted like the floor speaker below them, times 0.7071.
// Each output's weights are then divided by their sum, so that a signal in
// phase on every channel never exceeds full scale: no clipping, at the cost
// of a quieter mix. A channel without a speaker in the mask is left out.
//
// Output = sum over source channels i in order of coef[i] × x[i], summed in
// float from 0, x being the source sample in its own scale.
#pragma once

#include <cstdint>

#include "engine/sample_format.h"

namespace tarnuvo {

struct DownmixMatrix {
    uint32_t channels = 0;
    float left[kMaxSourceChannels] = {};
    float right[kMaxSourceChannels] = {};
};

// The speakers of a WAV file without a channel mask, by channel count.
uint32_t defaultChannelMask(uint32_t channels);

// The matrix for channels that carry the mask's speakers in bit order.
DownmixMatrix downmixForMask(uint32_t channels, uint32_t mask);

// The matrix for Vorbis channel order (5.1: L C R Ls Rs LFE).
DownmixMatrix downmixForVorbis(uint32_t channels);

// The matrix a source format needs.
DownmixMatrix downmixFor(const SourceFormat& format);

}  // namespace tarnuvo
