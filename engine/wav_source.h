// Acceptance of the WAV kinds decoded in-process and the RIFF chunk walk.
#pragma once

#include <cstdint>

#include "engine/sample_format.h"
#include "engine/track_info.h"

namespace tarnuvo {

enum SourceKind : int32_t {
    NoSource = 0,
    Pcm = 1,
    Adpcm = 2,
    Vorbis = 3,
    Mp3 = 4,
    Flac = 5,
    Opus = 6
};

// The stereo 44,100 Hz ADPCM kind that was accepted first, whatever its
// samples-per-block field holds.
constexpr uint32_t kAdpcmBlockBytes = 2048;
constexpr uint32_t kAdpcmBlockPcmBytes = 8144;  // 2036 frames

struct WavLayout {
    SourceKind kind = NoSource;  // Pcm covers integer and float samples
    SourceFormat format;
    uint32_t blockAlign = 0;       // bytes of one frame, or of one ADPCM block
    uint32_t samplesPerBlock = 0;  // ADPCM only
    uint32_t clearBits = 0;        // low bits below the valid ones
    uint32_t dataOffset = 0;       // 0: no data chunk
    // Bytes of the data chunk that really lie in the file. A damaged or
    // truncated file is played only as far as it holds.
    uint32_t dataBytes = 0;
    // Frames the readers can deliver from those bytes: whole frames, whole
    // ADPCM blocks.
    uint32_t frames = 0;
};

// Identifies `size` bytes at `base` as Pcm or Adpcm and fills the track's
// rate, length, loop and INFO texts (rate, length and loop only unless
// infoKnown). The loop is the smpl chunk's, or without a smpl loop a cue
// chunk's. NoSource when no kind's rules hold; nothing is read outside
// the bytes.
WavLayout identifyWav(const uint8_t* base, uint32_t size, TrackInfo& track);

}  // namespace tarnuvo
