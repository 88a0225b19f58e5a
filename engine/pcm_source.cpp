#include "engine/pcm_source.h"

#include <cstddef>

#include "engine/sample_convert.h"

namespace tarnuvo {

PcmSource::PcmSource(const uint8_t* data, const WavLayout& layout)
    : data_(data),
      format_(layout.format),
      align_(layout.blockAlign),
      clearBits_(layout.clearBits),
      frames_(layout.frames) {}

bool PcmSource::seek(uint32_t frame) {
    cursor_ = frame;
    return true;
}

uint32_t PcmSource::read(void* dst, uint32_t n) {
    if (cursor_ >= frames_) return 0;
    if (n > frames_ - cursor_) n = frames_ - cursor_;
    const uint32_t container = align_ / format_.channels;
    decodeStoredSamples(data_ + static_cast<size_t>(cursor_) * align_, format_.type, container,
                        clearBits_, n * format_.channels, dst);
    cursor_ += n;
    return n;
}

}  // namespace tarnuvo
