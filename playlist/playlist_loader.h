// Turns paths into playlist entries on a worker thread: a list file, an
// archive's members, or files probed one by one. Only one load runs at a
// time; everything it changes in the list or the window is done by the window
// thread at its synchronous request.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/worker_thread.h"
#include "engine/player_environment.h"
#include "playlist/playlist.h"
#include "playlist/playlist_host.h"

namespace tarnuvo {

class PlaylistLoader {
public:
    PlaylistLoader(Playlist& playlist, PlaylistHost& host, PlayerEnvironment& environment);
    ~PlaylistLoader();
    PlaylistLoader(const PlaylistLoader&) = delete;
    PlaylistLoader& operator=(const PlaylistLoader&) = delete;

    // The window whose thread carries out the loader's requests and receives
    // its end-of-load message. Set before the first load.
    void setWindow(WindowHandle window) { window_ = window; }

    // Window thread. 1 when a load thread was started; 0 when refused (a load
    // runs, the window is closing, nothing to load) or the thread could not
    // be made.
    int32_t startLoading(std::vector<std::string> paths, int32_t replace);
    // Window thread. Probes the file of each location again on the loader
    // thread, and has the window thread store the length and, when the file
    // carries one, the loop range into the entry each was taken for (found
    // by its location). Refused, with 0, as startLoading is.
    int32_t startRereading(std::vector<std::string> locations);
    // A load runs: a loader thread is held and has not finished.
    bool busy() const;
    // Window thread: stops the loader (after the item in hand) and collects
    // its thread, serving messages meanwhile.
    void collect();

    WorkerThread& record() { return worker_; }

private:
    struct Job;
    static unsigned __stdcall threadEntry(void* job);
    int32_t startJob(Job* job, int32_t parameter);
    void loadPaths(const std::vector<std::string>& paths, bool replace, int32_t rowsBefore);
    void rereadLocations(const std::vector<std::string>& locations);
    void selectAfterLoad(int32_t target);

    Playlist& playlist_;
    PlaylistHost& host_;
    PlayerEnvironment& environment_;
    WindowHandle window_ = nullptr;
    WorkerThread worker_;
    bool starting_ = false;  // between the start request and the thread's start
};

}  // namespace tarnuvo
