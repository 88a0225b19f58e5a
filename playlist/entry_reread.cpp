// The loader thread's re-read of every entry's file: each location probed
// again (archive members extracted into a folder of the thread's own and
// deleted after the probe), the results stored by the window thread in
// batches.
#include <windows.h>

#include <string>
#include <vector>

#include "base/window_call.h"
#include "engine/text.h"
#include "playlist/archive_intake.h"
#include "playlist/entry_handover.h"
#include "playlist/playlist_loader.h"
#include "playlist/reread_values.h"
#include "playlist/track_probe.h"

namespace tarnuvo {
namespace {

// Extraction for the probes goes into the probe folder, never into the
// temporary directory, where the member that plays lives.
class ProbeFolder : public PlayerEnvironment {
public:
    explicit ProbeFolder(const char* tempDir) { made_ = makeProbeFolder(tempDir, folder_); }
    ~ProbeFolder() override {
        if (made_) RemoveDirectoryA(folder_);
    }
    ProbeFolder(const ProbeFolder&) = delete;
    ProbeFolder& operator=(const ProbeFolder&) = delete;
    const char* temporaryDirectory() const override { return made_ ? folder_ : ""; }

private:
    char folder_[kTextSize] = {};
    bool made_ = false;
};

struct Reread {
    int32_t index;
    std::string location;
    TrackInfo probed;
};

// Probes one location; the copy a member was extracted to goes again.
bool probeLocation(const std::string& location, ProbeFolder& folder, WindowHandle window,
                   TrackInfo& out) {
    const int32_t found = probeTrack(location.c_str(), -1, out, &folder, window);
    const char* bar = findLastSeparator(location.c_str(), '|');
    char extracted[kTextSize];
    if (bar && folder.tempFileFor(bar + 1, extracted)) DeleteFileA(extracted);
    return found == 1;
}

}  // namespace

void PlaylistLoader::rereadLocations(const std::vector<std::string>& locations) {
    ProbeFolder folder(environment_.temporaryDirectory());
    const HWND window = static_cast<HWND>(window_);
    std::vector<Reread> batch;
    ULONGLONG last = GetTickCount64();
    auto handOver = [&] {
        if (!batch.empty()) {
            callOnWindowThread(window, [&] {
                for (const Reread& r : batch)
                    storeReread(playlist_, r.index, r.location.c_str(), r.probed);
            });
        }
        batch.clear();
        last = GetTickCount64();
    };
    for (size_t i = 0; i < locations.size() && worker_.running; ++i) {
        TrackInfo probed;
        if (probeLocation(locations[i], folder, window_, probed))
            batch.push_back(Reread{static_cast<int32_t>(i), locations[i], probed});
        if (GetTickCount64() - last >= kHandoverIntervalMs) handOver();
    }
    handOver();
}

}  // namespace tarnuvo
