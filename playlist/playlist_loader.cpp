#include "playlist/playlist_loader.h"

#include <windows.h>
#include <objbase.h>
#include <process.h>

#include <cstring>

#include "base/window_call.h"
#include "base/window_messages.h"
#include "base/worker_stop.h"
#include "engine/text.h"
#include "playlist/archive_intake.h"
#include "playlist/entry_handover.h"
#include "playlist/playlist_file.h"
#include "playlist/track_probe.h"

namespace tarnuvo {

namespace {

enum class LoadMode { Plain, List, Archive };

// The extension from the last '.', compared without regard to case.
bool hasExtension(const char* path, const char* extension) {
    const char* dot = findLastSeparator(path, '.');
    return dot && _stricmp(dot, extension) == 0;
}

LoadMode chooseMode(const std::vector<std::string>& paths, ArchiveExtractor& extractor) {
    if (paths.size() != 1) return LoadMode::Plain;
    const char* path = paths[0].c_str();
    if (hasExtension(path, ".pll"))
        return readPlaylistFileVersion(path) == 1 ? LoadMode::List : LoadMode::Plain;
    return extractor.selectArchiver(path) ? LoadMode::Archive : LoadMode::Plain;
}

// The full form of each path; one whose full form does not fit is left out,
// never cut (a cut path can name another file).
std::vector<std::string> fullPaths(const std::vector<std::string>& paths) {
    std::vector<std::string> full;
    for (const std::string& p : paths) {
        if (p.empty()) continue;
        char buffer[kTextSize];
        const DWORD n = GetFullPathNameA(p.c_str(), kTextSize, buffer, nullptr);
        if (n == 0 || n >= kTextSize) continue;
        full.emplace_back(buffer);
    }
    return full;
}

}  // namespace

struct PlaylistLoader::Job {
    PlaylistLoader* loader;
    std::vector<std::string> paths;
    bool replace;
    int32_t rowsBefore;
    bool reread;
};

PlaylistLoader::PlaylistLoader(Playlist& playlist, PlaylistHost& host,
                               PlayerEnvironment& environment)
    : playlist_(playlist), host_(host), environment_(environment) {
    worker_.owner = this;
}

PlaylistLoader::~PlaylistLoader() {
    collect();
}

bool PlaylistLoader::busy() const {
    return starting_ || (worker_.thread && worker_.finished == 0);
}

void PlaylistLoader::collect() {
    stopWorker(worker_);
}

int32_t PlaylistLoader::startLoading(std::vector<std::string> paths, int32_t replace) {
    if (busy() || host_.closing()) return 0;
    // Counts as a load from here on: collecting the last loader and stopping
    // playback serve messages, and a drop or a command served meanwhile must
    // find the loader busy.
    starting_ = true;
    collect();  // a loader that has finished: only its handle is left
    if (replace) host_.stopPlayback();
    std::vector<std::string> full = fullPaths(paths);
    if (host_.closing() || full.empty()) {
        starting_ = false;
        return 0;
    }
    const int32_t started =
        startJob(new Job{this, std::move(full), replace != 0, host_.rowCount(), false}, replace);
    starting_ = false;
    return started;
}

int32_t PlaylistLoader::startRereading(std::vector<std::string> locations) {
    if (busy() || host_.closing() || locations.empty()) return 0;
    starting_ = true;  // as in startLoading
    collect();
    if (host_.closing()) {
        starting_ = false;
        return 0;
    }
    const int32_t started =
        startJob(new Job{this, std::move(locations), false, host_.rowCount(), true}, 0);
    starting_ = false;
    return started;
}

int32_t PlaylistLoader::startJob(Job* job, int32_t parameter) {
    worker_.running = 1;
    worker_.finished = 0;
    worker_.parameter = parameter;
    worker_.paths = job->paths;
    unsigned id = 0;
    const uintptr_t h = _beginthreadex(nullptr, 0, &PlaylistLoader::threadEntry, job, 0, &id);
    if (h == 0) {
        delete job;
        worker_.running = 0;
        return 0;
    }
    worker_.thread.reset(reinterpret_cast<HANDLE>(h));
    worker_.threadId = id;
    return 1;
}

unsigned __stdcall PlaylistLoader::threadEntry(void* argument) {
    std::unique_ptr<Job> job(static_cast<Job*>(argument));
    PlaylistLoader& self = *job->loader;
    // The DirectShow probes need COM; the players' threads use the
    // multithreaded apartment too.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (job->reread) {
        self.rereadLocations(job->paths);
    } else {
        self.loadPaths(job->paths, job->replace, job->rowsBefore);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    // The finished mark before the end message: the window handling it must
    // find the loader no longer busy. Once finished reads 1, nothing here
    // touches the record again.
    self.worker_.running = 0;
    const HWND window = static_cast<HWND>(self.window_);
    void (*const seam)() = self.worker_.endSeam;
    self.worker_.finished = 1;
    PostMessageA(window, kLoadFinishedMessage, 0, 0);
    if (seam) seam();
    return 0;
}

void PlaylistLoader::loadPaths(const std::vector<std::string>& paths, bool replace,
                               int32_t rowsBefore) {
    ArchiveExtractor extractor;
    const LoadMode mode = chooseMode(paths, extractor);
    EntryHandover handover(window_, playlist_, replace);
    const HWND window = static_cast<HWND>(window_);

    switch (mode) {
        case LoadMode::List: {
            PlaylistFileContents contents;
            if (readPlaylistFile(paths[0].c_str(), contents)) {
                handover.setListAttributes(contents.album, contents.comment,
                                           contents.relativePaths);
                for (const TrackInfo& entry : contents.entries) {
                    if (!worker_.running) break;
                    handover.add(entry);
                }
                handover.handOver();
            }
            break;
        }
        case LoadMode::Archive: {
            ArchiveIntake intake{window_, &host_, &environment_, &worker_.running};
            addArchiveMembers(paths[0].c_str(), extractor, intake, handover);
            break;
        }
        case LoadMode::Plain:
            for (const std::string& path : paths) {
                if (!worker_.running) break;
                TrackInfo probed;
                if (probeTrack(path.c_str(), -1, probed) == 1) {
                    probed.listIndex = -1;
                    handover.add(probed);
                }
            }
            handover.handOver();
            break;
    }

    const bool titled = mode != LoadMode::Plain;
    const int32_t added = handover.added();
    callOnWindowThread(window, [&] {
        if (titled) host_.updateWindowTitle();
        selectAfterLoad(replace && added > 0 ? 0 : rowsBefore);
        host_.updateListControls();
    });
}

// Window thread: the first new row after a load that added entries, the last
// row after one that added nothing, and, while a track plays and nothing is
// selected, the playing entry's row.
void PlaylistLoader::selectAfterLoad(int32_t target) {
    const bool stopped = host_.playerState() == Stopped;
    if (!stopped) {
        if (host_.selectedRow() != -1) return;
        target = playlist_.currentIndex;
    }
    if (target == -1) return;
    const int32_t rows = host_.rowCount();
    if (rows > 0) host_.selectRow(target < rows ? target : rows - 1);
    if (stopped) host_.onSelectionChanged();
}

}  // namespace tarnuvo
