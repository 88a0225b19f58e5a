// Loop records of RIFF chunks, shared by WAV files and the foreign metadata
// that FLAC files keep from the WAV they were made from.
#pragma once

#include <cstdint>

#include "engine/loop_tags.h"

namespace tarnuvo {

// The first loop record of a `smpl` chunk's payload (`size` bytes after the
// chunk header), whatever the loop count says, when it lies in the payload.
FrameLoop smplLoop(const uint8_t* payload, uint32_t size);

// A `cue ` chunk's payload: with at least two points, the lowest cue id's
// dwSampleOffset starts the loop and the next lowest's ends it.
FrameLoop cueLoop(const uint8_t* payload, uint32_t size);

}  // namespace tarnuvo
