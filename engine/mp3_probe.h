// Whether a file is MPEG audio the MP3 decoder may take. Only a file whose
// audio starts at once with two frame headers in a row qualifies, so that a
// container (RIFF, AVI, MP4, ASF, MPEG program streams) or a video with a
// stray sync word never plays as sound only. Platform-free; every read stays
// inside the given bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarnuvo {

struct MpegFrameHeader {
    uint32_t version = 0;  // 1 MPEG-1, 2 MPEG-2, 25 MPEG-2.5
    uint32_t layer = 0;    // 1..3
    uint32_t rate = 0;     // Hz
    uint32_t channels = 0;
    uint32_t bytes = 0;  // the whole frame, header included
};

// ID3v2 tags in a row before the audio that the probe looks past: some
// taggers add a tag before the one already there.
constexpr int kMaxId3v2Tags = 4;

// Bytes after a frame's start that the probe needs to see both headers.
constexpr size_t kMpegProbeBytes = 2900;

// Reads the 4 bytes at `p` as a frame header; false for a reserved or
// free-format one.
bool parseMpegFrameHeader(const uint8_t* p, MpegFrameHeader& header);

// Whether `size` bytes where the audio should start hold a frame header at
// byte 0 and a second one of the same version, layer and rate where the
// first frame ends.
bool mpegFramesStart(const uint8_t* data, size_t size);

// A whole file (or its first bytes) in memory: the offset of its first
// frame (after its ID3v2 tags), or -1 when it is not taken.
int64_t mp3AudioStart(const uint8_t* file, size_t size);

}  // namespace tarnuvo
