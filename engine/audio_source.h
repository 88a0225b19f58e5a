// One decoder behind the native player. A source knows nothing of loops,
// ranges or devices: it delivers its frames from a position, in the
// intermediate sample type of its format (int16, or float in -1..1), at its
// own channel count. The player's fill loop does the rest once for all kinds.
#pragma once

#include <cstdint>

#include "engine/sample_format.h"

namespace tarnuvo {

class AudioSource {
public:
    virtual ~AudioSource() = default;
    virtual const SourceFormat& format() const = 0;
    // Frames the source can deliver from its start.
    virtual uint32_t frames() const = 0;
    // Moves the next read to `frame`; false when the decoder cannot go there
    // (reads then deliver nothing).
    virtual bool seek(uint32_t frame) = 0;
    // Delivers up to `n` frames into `dst` (n × channels × intermediate
    // bytes). Fewer only at the end of the data or of a damaged stream.
    virtual uint32_t read(void* dst, uint32_t n) = 0;
    // Frees the decoder and closes its file; the source is unusable after.
    virtual void release() {}
};

}  // namespace tarnuvo
