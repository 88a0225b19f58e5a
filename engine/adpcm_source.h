// MS ADPCM data in a mapped WAV file as a source: blocks decoded on demand,
// the last one kept for the next read.
#pragma once

#include <vector>

#include "engine/audio_source.h"
#include "engine/wav_source.h"

namespace tarnuvo {

class AdpcmSource : public AudioSource {
public:
    AdpcmSource(const uint8_t* data, const WavLayout& layout);

    const SourceFormat& format() const override { return format_; }
    uint32_t frames() const override { return frames_; }
    bool seek(uint32_t frame) override;
    uint32_t read(void* dst, uint32_t n) override;

private:
    const uint8_t* data_;
    SourceFormat format_;
    uint32_t align_, perBlock_, frames_;
    uint32_t cursor_ = 0;
    uint32_t cachedBlock_ = UINT32_MAX;
    std::vector<int16_t> block_;
};

}  // namespace tarnuvo
