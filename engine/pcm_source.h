// Integer or float samples in a mapped WAV file as a source.
#pragma once

#include "engine/audio_source.h"
#include "engine/wav_source.h"

namespace tarnuvo {

class PcmSource : public AudioSource {
public:
    PcmSource(const uint8_t* data, const WavLayout& layout);

    const SourceFormat& format() const override { return format_; }
    uint32_t frames() const override { return frames_; }
    bool seek(uint32_t frame) override;
    uint32_t read(void* dst, uint32_t n) override;

private:
    const uint8_t* data_;
    SourceFormat format_;
    uint32_t align_, clearBits_, frames_;
    uint32_t cursor_ = 0;
};

}  // namespace tarnuvo
