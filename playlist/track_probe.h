// Reading what a file holds (length, loop range, title, artist) without
// playing it, for a file that comes without a stored record.
#pragma once

#include <cstdint>

#include "engine/player_environment.h"
#include "engine/track_info.h"

namespace tarnuvo {

// Opens `path` in probe mode with the native player and, only if that one
// refuses it, with a DirectShow graph; each player exists for this call only.
// 1 when a player opened the file, with that player's record copied into
// `out`; 0 when neither could (then `out` is untouched). The environment and
// owner serve archive members (extraction) and may be null. A DirectShow probe
// needs COM initialised on the calling thread.
int32_t probeTrack(const char* path, int32_t listIndex, TrackInfo& out,
                   PlayerEnvironment* environment = nullptr, WindowHandle owner = nullptr);

}  // namespace tarnuvo
