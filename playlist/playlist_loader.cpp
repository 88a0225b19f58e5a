// Stand-in until the background loader lands: probes plain files one by one
// on the calling (window) thread and appends what opens.
#include "playlist/playlist_loader.h"

#include <windows.h>

#include "base/window_messages.h"
#include "base/worker_stop.h"
#include "engine/directshow_player.h"
#include "engine/text.h"
#include "engine/waveout_player.h"

namespace tarnuvo {
namespace {

bool probe(const char* path, PlayerEnvironment& environment, TrackInfo& out) {
    WaveOutPlayer native;
    native.attach(nullptr, &environment);
    if (native.open(path, -1, 1, nullptr) != -1) {
        out = native.info();
        return true;
    }
    DirectShowPlayer graph;
    if (graph.open(path, -1, 1, nullptr) != -1) {
        out = graph.info();
        return true;
    }
    return false;
}

}  // namespace

PlaylistLoader::PlaylistLoader(Playlist& playlist, PlaylistHost& host,
                               PlayerEnvironment& environment)
    : playlist_(playlist), host_(host), environment_(environment) {}

PlaylistLoader::~PlaylistLoader() {
    collect();
}

int32_t PlaylistLoader::startLoading(std::vector<std::string> paths, int32_t replace) {
    if (paths.empty() || busy() || host_.closing()) return 0;
    if (replace) host_.stopPlayback();
    std::vector<TrackInfo> found;
    for (const std::string& path : paths) {
        char full[kTextSize] = {};
        DWORD length = GetFullPathNameA(path.c_str(), kTextSize, full, nullptr);
        if (length == 0 || length >= kTextSize) continue;
        TrackInfo entry;
        if (!probe(full, environment_, entry)) continue;
        entry.ownerWindow = nullptr;
        entry.environment = nullptr;
        entry.state = Stopped;
        copyText(entry.location, kTextSize, full);
        found.push_back(entry);
    }
    if (!found.empty()) {
        if (replace) playlist_.clearList();
        playlist_.appendEntries(found.data(), static_cast<int32_t>(found.size()));
        if (host_.selectedRow() == -1) host_.selectRow(0);
    }
    host_.updateListControls();
    if (window_) PostMessageA(static_cast<HWND>(window_), kLoadFinishedMessage, 0, 0);
    return 1;
}

bool PlaylistLoader::busy() const {
    return worker_.thread && worker_.finished == 0;
}

void PlaylistLoader::collect() {
    stopWorker(worker_);
}

}  // namespace tarnuvo
