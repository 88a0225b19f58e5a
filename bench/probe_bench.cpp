// Times the probe of many copies of one file, as the loader meets a folder
// of them, and the play-time open of one copy (where an MP3 is scanned for
// its exact length). Run under Wine:
//   scripts/wine-run build/windows/bench/probe_bench.exe FILE [COUNT]
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/waveout_player.h"
#include "playlist/track_probe.h"

using namespace tarnuvo;

namespace {

double nowMs() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

std::string extensionOf(const std::string& path) {
    const size_t dot = path.rfind('.');
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: probe_bench FILE [COUNT]\n");
        return 2;
    }
    const std::string source = argv[1];
    const int count = argc > 2 ? std::atoi(argv[2]) : 1000;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "tarnuvo-probe-bench\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string ext = extensionOf(source);
    for (int i = 0; i < count; ++i) {
        const std::string copy = folder + std::to_string(i) + ext;
        if (!CopyFileA(source.c_str(), copy.c_str(), FALSE)) {
            std::fprintf(stderr, "cannot copy %s\n", source.c_str());
            return 1;
        }
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // a graph probe needs it
    int opened = 0;
    uint32_t length = 0;
    const double start = nowMs();
    for (int i = 0; i < count; ++i) {
        TrackInfo out;
        opened += probeTrack((folder + std::to_string(i) + ext).c_str(), i, out);
        length = out.length;
    }
    const double probeMs = nowMs() - start;

    WaveOutPlayer player;
    const double openStart = nowMs();
    const int32_t size = player.open((folder + "0" + ext).c_str(), -1, 0, nullptr);
    const double openMs = nowMs() - openStart;
    std::printf("probe: %d of %d files in %.0f ms (%.2f ms each), length %u units\n", opened, count,
                probeMs, probeMs / count, length);
    std::printf("play open: %.2f ms, length %u units (%s)\n", openMs, player.length,
                size < 0 ? "refused" : "opened");
    player.reset();
    for (int i = 0; i < count; ++i) DeleteFileA((folder + std::to_string(i) + ext).c_str());
    RemoveDirectoryA(folder.c_str());
    CoUninitialize();
    return 0;
}
