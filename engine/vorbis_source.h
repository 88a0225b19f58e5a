// Ogg Vorbis through libvorbisfile, seen by the rest of the engine as 16-bit
// PCM behind a synthesized WAV header.
#pragma once

#include <vorbis/vorbisfile.h>

#include <cstdint>
#include <cstdio>

#include "engine/track_info.h"

namespace tarnuvo {

class VorbisSource {
public:
    static constexpr uint32_t kHeaderBytes = 44;
    static constexpr uint32_t kCarryBytes = 16384;
    static constexpr int kReadChunk = 4096;

    VorbisSource() = default;
    ~VorbisSource() { release(); }
    VorbisSource(const VorbisSource&) = delete;
    VorbisSource& operator=(const VorbisSource&) = delete;

    // Opens the file; returns data size + 44, or -1 with nothing held.
    // Title and artist from the comments are always stored; the loop only
    // unless the track's info is known.
    int64_t open(const char* path, TrackInfo& track);
    // ov_clear, which also closes the file.
    void release();
    bool isOpen() const { return open_; }

    const uint8_t* header() const { return header_; }
    uint32_t dataBytes() const { return dataBytes_; }

    // Repositions the decoder to a sample frame and empties the carry.
    void seekFrame(uint32_t frame);
    // Delivers up to n bytes (n at most 8192). Returns fewer only when the
    // stream ends early (damaged or shorter than announced).
    uint32_t read(uint8_t* dst, uint32_t n);
    void clearCarry() { carryFill_ = 0; }

private:
    FILE* file_ = nullptr;
    OggVorbis_File vf_{};
    bool open_ = false;
    bool atEnd_ = false;
    uint8_t header_[kHeaderBytes] = {};
    uint32_t dataBytes_ = 0;
    uint8_t carry_[kCarryBytes];
    uint32_t carryFill_ = 0;
};

// Applies the loop and text comments of one stream to the track.
void parseVorbisComments(char** comments, int count, TrackInfo& track);

}  // namespace tarnuvo
