#include "engine/adpcm_source.h"

#include <cstring>

#include "engine/adpcm.h"

namespace tarnuvo {

AdpcmSource::AdpcmSource(const uint8_t* data, const WavLayout& layout)
    : data_(data),
      format_(layout.format),
      align_(layout.blockAlign),
      perBlock_(layout.samplesPerBlock),
      frames_(layout.frames),
      block_(static_cast<size_t>(layout.samplesPerBlock) * layout.format.channels) {}

bool AdpcmSource::seek(uint32_t frame) {
    cursor_ = frame;
    return true;
}

uint32_t AdpcmSource::read(void* dst, uint32_t n) {
    auto* out = static_cast<int16_t*>(dst);
    const uint32_t channels = format_.channels;
    uint32_t done = 0;
    // Only whole blocks count as frames, so every block read lies in the data.
    while (done < n && cursor_ < frames_) {
        const uint32_t k = cursor_ / perBlock_;
        const uint32_t offset = cursor_ % perBlock_;
        if (k != cachedBlock_) {
            decodeAdpcmBlock(data_ + static_cast<size_t>(k) * align_, align_, channels, perBlock_,
                             block_.data());
            cachedBlock_ = k;
        }
        uint32_t c = perBlock_ - offset;
        if (c > n - done) c = n - done;
        if (c > frames_ - cursor_) c = frames_ - cursor_;
        std::memcpy(out + static_cast<size_t>(done) * channels,
                    block_.data() + static_cast<size_t>(offset) * channels,
                    static_cast<size_t>(c) * channels * sizeof(int16_t));
        done += c;
        cursor_ += c;
    }
    return done;
}

}  // namespace tarnuvo
