#include "playlist/track_probe.h"

#include <memory>

#include "engine/directshow_player.h"
#include "engine/waveout_player.h"

namespace tarnuvo {

namespace {

// attach() would give a DirectShow player its poll thread and a waveOut
// player its device; a probe needs neither, only whom to ask for extraction.
template <typename P>
int32_t probeWith(P& player, const char* path, int32_t listIndex, TrackInfo& out,
                  PlayerEnvironment* environment, WindowHandle owner) {
    player.environment = environment;
    player.ownerWindow = owner;
    if (player.open(path, listIndex, 1, nullptr) == -1) return 0;
    out = player.info();
    return 1;
}

}  // namespace

int32_t probeTrack(const char* path, int32_t listIndex, TrackInfo& out,
                   PlayerEnvironment* environment, WindowHandle owner) {
    if (!path || !path[0]) return 0;
    {
        auto native = std::make_unique<WaveOutPlayer>();
        if (probeWith(*native, path, listIndex, out, environment, owner)) return 1;
    }
    // Built only for files the native player refused: a graph per entry would
    // cost far more than the probe of most lists.
    auto graph = std::make_unique<DirectShowPlayer>();
    return probeWith(*graph, path, listIndex, out, environment, owner);
}

}  // namespace tarnuvo
