// MPEG audio through libmpg123: any rate, 1 or 2 channels, decoded to float
// with the encoder's delay and padding trimmed when a LAME/Xing tag gives
// them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "engine/audio_source.h"
#include "engine/track_info.h"

struct mpg123_handle_struct;

namespace tarnuvo {

class Mp3Source : public AudioSource {
public:
    Mp3Source() = default;
    ~Mp3Source() override { release(); }
    Mp3Source(const Mp3Source&) = delete;
    Mp3Source& operator=(const Mp3Source&) = delete;

    // Opens the file when the MP3 probe takes it; false with nothing held.
    // The exact length needs a pass over every frame: `exactLength` makes
    // it (to play), else the frame count is the decoder's estimate (a
    // probe). Title and artist from the ID3v2 tag always, the loop only
    // unless the track's info is known.
    bool open(const char* path, TrackInfo& track, bool exactLength);
    void release() override;
    // Whether the tag carried a title or an artist.
    bool textsFound() const { return textsFound_; }

    const SourceFormat& format() const override { return format_; }
    uint32_t frames() const override { return frames_; }
    bool seek(uint32_t frame) override;
    uint32_t read(void* dst, uint32_t n) override;

private:
    bool openDecoder();
    bool openStream();
    // A seek after which the samples equal a straight decode's.
    bool seekExact(uint32_t frame);

    FILE* file_ = nullptr;
    mpg123_handle_struct* handle_ = nullptr;
    // The frame offsets the length scan found, kept across reopenings.
    std::vector<int64_t> index_;
    long indexStep_ = 0;
    // MPEG-2 and 2.5 layer III: seeks decode from the start.
    bool replaySeeks_ = false;
    bool atEnd_ = false;
    bool textsFound_ = false;
    SourceFormat format_;
    uint32_t frames_ = 0;
};

}  // namespace tarnuvo
