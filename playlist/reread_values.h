// What a re-read of an entry's file, or an open of it for playing, stores
// into the entry. Platform-free.
#pragma once

#include <cstdint>

#include "engine/track_info.h"
#include "playlist/playlist.h"

namespace tarnuvo {

// The entry as a re-read leaves it: the probed length, rate and frame count;
// the probed loop range when the file carries one, else the entry's own
// (which only a list file may have held), at the probed rate; infoKnown set.
// Title, artist and the names stay.
TrackInfo rereadRecord(const TrackInfo& entry, const TrackInfo& probed);

// Stores the probe of `location` into the entry it was taken for: the one at
// `index` while it still has that location, else the first entry that has
// it. Its row is rewritten. False when no entry has the location any more.
bool storeReread(Playlist& playlist, int32_t index, const char* location, const TrackInfo& probed);

// Stores what the player found at an open into entry `index`, which the
// caller knows to hold the player's location: length, rate, frame count and
// loop, so that the next save writes them. Only an entry whose values are
// known takes them: one without keeps being probed when played. Its row is
// rewritten.
void storeOpened(Playlist& playlist, int32_t index, const TrackInfo& opened);

}  // namespace tarnuvo
