// The fill time of one buffer that holds a loop wrap, per decoder, without
// a benchmark library: built for every preset, run under Wine as
//   scripts/wine-run build/windows/bench/wrap_fill_timing.exe [fills]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/wrap_fill.h"

using namespace tarnuvo;

namespace {

std::string fixture(const char* name) {
    std::string p = std::string(TARNUVO_FIXTURES) + "/" + name;
#ifdef _WIN32
    std::replace(p.begin(), p.end(), '/', '\\');
    p = "Z:" + p;
#endif
    return p;
}

void measure(const char* label, const char* file, int fills) {
    PlayerEnvironment env;
    DiscardingWriter out;
    RenderPlayer player(out);
    DiscardingSink sink;
    if (!startWrapFills(player, env, fixture(file), sink)) {
        std::printf("%-7s fixture missing\n", label);
        return;
    }
    std::vector<double> micros;
    uint32_t wraps = 0;
    for (int i = 0; i < fills; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        player.fillBuffer(sink);
        const auto t1 = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
        wraps += player.buffer(player.headerIndex).wraps;
    }
    std::sort(micros.begin(), micros.end());
    const double buffer = 1e6 * player.bufferFrames() / player.deviceFormat().rate;
    std::printf("%-7s %-26s median %7.1f us  max %7.1f us  (buffer %.0f us, %.2f wraps/fill)\n",
                label, file, micros[micros.size() / 2], micros.back(), buffer,
                static_cast<double>(wraps) / fills);
}

}  // namespace

int main(int argc, char** argv) {
    const int fills = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
    struct {
        const char* label;
        const char* file;
    } const fixtures[] = {
        {"vorbis", "vorbis_48000_stereo.ogg"}, {"mp3", "mp3_cbr_44100_stereo.mp3"},
        {"mp3", "mp3_vbr_48000_stereo.mp3"},   {"flac", "flac16_44100_stereo.flac"},
        {"flac", "flac24_96000_stereo.flac"},  {"opus", "opus_48000_stereo.opus"},
    };
    std::printf("fill of one buffer holding a wrap, %d fills each\n", fills);
    for (const auto& f : fixtures) measure(f.label, f.file, fills);
    return 0;
}
