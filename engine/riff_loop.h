// Loop records of RIFF chunks, shared by WAV files and the foreign metadata
// that FLAC files keep from the WAV they were made from.
#pragma once

#include <cstdint>

#include "engine/loop_tags.h"

namespace tarnuvo {

// Whether a `smpl` chunk's payload (`size` bytes after the chunk header)
// holds a first loop record: a loop count of at least one, and the record
// inside the payload whatever larger count it claims.
bool smplHasLoopRecord(const uint8_t* payload, uint32_t size);

// That record's start and end (both 0 without one); found when start < end.
FrameLoop smplLoop(const uint8_t* payload, uint32_t size);

// A `cue ` chunk's payload: with at least two points, the lowest cue id's
// dwSampleOffset starts the loop and the next lowest's ends it (of equal ids,
// the earlier record first). Only records inside the payload count.
FrameLoop cueLoop(const uint8_t* payload, uint32_t size);

}  // namespace tarnuvo
