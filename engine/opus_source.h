// Ogg Opus through opusfile: always 48,000 Hz, 1 to 8 channels in Vorbis
// order, read as float (the 16-bit read dithers, and its noise would go on
// across a jump). The header's output gain applies; track gain does not.
// Frames count from after the pre-skip, as opusfile's positions do.
#pragma once

#include <cstdint>

#include "engine/audio_source.h"
#include "engine/track_info.h"

struct OggOpusFile;

namespace tarnuvo {

class OpusSource : public AudioSource {
public:
    static constexpr uint32_t kRate = 48000;

    OpusSource() = default;
    ~OpusSource() override { release(); }
    OpusSource(const OpusSource&) = delete;
    OpusSource& operator=(const OpusSource&) = delete;

    // Opens the file; false with nothing held. Title and artist from the
    // comments always, the loop only unless the track's info is known.
    bool open(const char* path, TrackInfo& track);
    // op_free, which also closes the file.
    void release() override;
    bool textsFound() const { return textsFound_; }

    const SourceFormat& format() const override { return format_; }
    uint32_t frames() const override { return frames_; }
    bool seek(uint32_t frame) override;
    uint32_t read(void* dst, uint32_t n) override;

private:
    OggOpusFile* file_ = nullptr;
    bool atEnd_ = false;
    bool textsFound_ = false;
    SourceFormat format_;
    uint32_t frames_ = 0;
};

}  // namespace tarnuvo
