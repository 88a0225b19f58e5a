// Ogg Vorbis through libvorbisfile: any rate, 1 to 8 channels, read as
// 16-bit samples.
#pragma once

#include <vorbis/vorbisfile.h>

#include <cstdint>
#include <cstdio>

#include "engine/audio_source.h"
#include "engine/track_info.h"

namespace tarnuvo {

class VorbisSource : public AudioSource {
public:
    static constexpr uint32_t kWavHeaderBytes = 44;

    VorbisSource() = default;
    ~VorbisSource() override { release(); }
    VorbisSource(const VorbisSource&) = delete;
    VorbisSource& operator=(const VorbisSource&) = delete;

    // Opens the file; returns the size of the WAV file that would hold its
    // samples, or -1 with nothing held. Title and artist from the comments always, the loop only
    // unless the track's info is known.
    int64_t open(const char* path, TrackInfo& track);
    // ov_clear, which also closes the file.
    void release() override;
    bool isOpen() const { return open_; }

    const SourceFormat& format() const override { return format_; }
    uint32_t frames() const override { return frames_; }
    bool seek(uint32_t frame) override;
    uint32_t read(void* dst, uint32_t n) override;

private:
    FILE* file_ = nullptr;
    OggVorbis_File vf_{};
    bool open_ = false;
    bool atEnd_ = false;
    // libvorbis 1.3.7 leaves half-made codebooks behind when a stream's
    // decoder set-up fails, and a later set-up (the next seek) decodes with
    // them and divides by zero. After one failed set-up the decoder is never
    // touched again.
    bool setupFailed_ = false;
    SourceFormat format_;
    uint32_t frames_ = 0;
};

// Applies the loop and text comments of one stream to the track; `rate`
// converts time values (0 ignores them).
void parseVorbisComments(char** comments, int count, TrackInfo& track, uint32_t rate = 0);

}  // namespace tarnuvo
