// Plays each source kind through the waveOut player and reports the time of
// one refill step (median and maximum) against the 46.4 ms one buffer lasts,
// and the share of one core the refill thread used per second of audio.
// Run under Wine with the capture device (scripts/wine-run).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/waveout_player.h"

using namespace tarnuvo;

namespace {

std::string fixture(const char* name) {
    std::string p = std::string("Z:") + TARNUVO_FIXTURES + "/" + name;
    std::replace(p.begin(), p.end(), '/', '\\');
    return p;
}

void measure(const char* label, const char* file, double audioSeconds) {
    static RefillTiming timing;
    timing.steps = 0;
    timing.threadCpu100ns = 0;
    PlayerEnvironment env;
    env.playMode = RepeatOne;
    WaveOutPlayer player;
    player.attach(nullptr, &env);
    player.setRefillTiming(&timing);
    if (player.open(fixture(file).c_str(), -1, 0, nullptr) < 0) {
        std::printf("%-7s fixture missing\n", label);
        return;
    }
    player.setVolume(50000);
    player.applyLoopRange();
    if (!player.play(0)) {
        std::printf("%-7s no output device\n", label);
        return;
    }
    const uint32_t target = static_cast<uint32_t>(audioSeconds * kBytesPerSecond);
    while (player.elapsedTotal() < target) Sleep(20);
    player.stop();
    const uint32_t n = std::min(timing.steps.load(), RefillTiming::kMaxSteps);
    std::vector<uint32_t> steps(timing.stepMicros, timing.stepMicros + n);
    std::sort(steps.begin(), steps.end());
    const double budget = 8192.0 * 1e6 / kBytesPerSecond;
    const double cpu = static_cast<double>(timing.threadCpu100ns.load()) / 1e7;
    std::printf(
        "%-7s steps %6u  median %6u us  max %6u us  (budget %.0f us: median %.2f%%, max %.2f%%)  "
        "core share %.3f%% per second of audio\n",
        label, n, n ? steps[n / 2] : 0, n ? steps.back() : 0, budget,
        n ? 100.0 * steps[n / 2] / budget : 0.0, n ? 100.0 * steps.back() / budget : 0.0,
        100.0 * cpu / audioSeconds);
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 30.0;
    std::printf("refill step per source kind, %.0f s of audio each\n", seconds);
    measure("pcm", "source.wav", seconds);
    measure("adpcm", "adpcm_loop.wav", seconds);
    measure("vorbis", "vorbis_loop.ogg", seconds);
    return 0;
}
