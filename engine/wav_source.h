// Acceptance of the two WAV kinds decoded in-process and the RIFF chunk walk.
#pragma once

#include <cstdint>

#include "engine/track_info.h"

namespace tarnuvo {

enum SourceKind : int32_t { NoSource = 0, Pcm = 1, Adpcm = 2, Vorbis = 3 };

constexpr uint32_t kAdpcmBlockBytes = 2048;
constexpr uint32_t kAdpcmBlockPcmBytes = 8144;  // 2036 frames

struct WavLayout {
    SourceKind kind = NoSource;
    uint32_t dataOffset = 0;  // 0: no data chunk
    uint32_t blockSize = 0;
    // Bytes of the data chunk that really lie in the file. A damaged or
    // truncated file is played only as far as it holds.
    uint32_t dataBytes = 0;
    // PCM bytes that the readers can deliver from those data bytes.
    uint32_t pcmBytes = 0;
};

// Identifies `size` bytes at `base` as Pcm or Adpcm and fills the track's
// length, loop and INFO texts (length and loop only unless infoKnown).
// NoSource when neither kind's rules hold; nothing is read outside the bytes.
WavLayout identifyWav(const uint8_t* base, uint32_t size, TrackInfo& track);

}  // namespace tarnuvo
