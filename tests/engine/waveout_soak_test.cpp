// A short loop in RepeatOne under seeks, pauses and volume changes from
// another thread. Every captured stretch must be exact; handles, threads and
// memory must not grow; nothing may deadlock. TARNUVO_SOAK_SECONDS sets the
// amount of audio (default two minutes).
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <atomic>
#include <random>
#include <thread>

#include "engine/waveout_player.h"
#include "tests/engine/waveout_support.h"

using namespace testing_support;
using namespace tarnuvo;

namespace {

struct Usage {
    DWORD handles = 0;
    size_t privateBytes = 0;
    DWORD threads = 0;
};

Usage usageNow() {
    Usage u;
    GetProcessHandleCount(GetCurrentProcess(), &u.handles);
    if (u.handles == 0) {
        // Wine does not count handles; it hands out the lowest free slot, so
        // a fresh handle's value rises when handles leak.
        HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        u.handles = static_cast<DWORD>(reinterpret_cast<uintptr_t>(probe) / 4);
        CloseHandle(probe);
    }
    PROCESS_MEMORY_COUNTERS_EX mem{};
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&mem),
                             sizeof(mem)))
        u.privateBytes = mem.PrivateUsage    ? mem.PrivateUsage
                         : mem.PagefileUsage ? mem.PagefileUsage
                                             : mem.WorkingSetSize;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snap != INVALID_HANDLE_VALUE) {
        THREADENTRY32 te{};
        te.dwSize = sizeof(te);
        for (BOOL ok = Thread32First(snap, &te); ok; ok = Thread32Next(snap, &te))
            u.threads += te.th32OwnerProcessID == GetCurrentProcessId();
        CloseHandle(snap);
    }
    return u;
}

// Checks one stretch: from the seek target on, the loop repeats exactly;
// each buffer is at the old gain or, once the change is heard, the new one,
// up to where the stretch was cut.
std::string checkStretch(const Bytes& capture, const Bytes& pcm, uint32_t target,
                         uint32_t loopStart, uint32_t loopEnd, uint32_t oldLevel,
                         uint32_t newLevel) {
    const size_t n = capture.size() / 8192 * 8192;
    if (n == 0) return {};
    const uint32_t from = (target & ~3u) >= loopEnd ? loopStart : (target & ~3u);
    Bytes raw = expectedEndless(pcm, from, loopStart, loopEnd, n);
    Bytes before = scaled(raw, oldLevel), after = scaled(raw, newLevel);
    bool changed = false;
    for (size_t at = 0; at < n; at += 8192) {
        Bytes got = slice(capture, at, at + 8192);
        if (!changed && got == slice(before, at, at + 8192)) continue;
        if (got == slice(after, at, at + 8192)) {
            changed = true;
            continue;
        }
        // The seek that ended the stretch may cut a buffer; the device pads it with silence.
        bool cut = false;
        for (const Bytes* want : {&before, &after}) {
            if (want == &before && changed) continue;
            const int64_t d = firstDifference(got, slice(*want, at, at + 8192));
            cut = cut || (d >= 0 && silentFrom(capture, at + static_cast<size_t>(d)));
        }
        if (cut) return {};
        return "stretch from " + std::to_string(target) + ": buffer at byte " + std::to_string(at) +
               " is wrong";
    }
    return {};
}

}  // namespace

TEST(WaveOutSoak, RepeatOneUnderSeeksPausesAndVolumeChanges) {
    const char* env = std::getenv("TARNUVO_SOAK_SECONDS");
    const double seconds = env ? std::atof(env) : 120.0;
    const uint32_t loopStart = 5000 * 4, loopEnd = 7100 * 4;
    TempDir dir;
    Bytes pcm = countingPcm(20000);
    std::string path =
        dir.write("soak.wav", WavBuilder().pcmFormat().chunk("data", pcm).smpl(5000, 7100).build());

    PlayerEnvironment settings;
    settings.playMode = RepeatOne;
    CommandWindow owner;
    WaveOutPlayer player;
    player.attach(owner.hwnd(), &settings);
    ASSERT_GE(player.open(path.c_str(), -1, 0, nullptr), 0);
    player.applyLoopRange();

    std::atomic<bool> done{false};
    std::atomic<uint64_t> heartbeat{0};
    std::vector<std::string> failures;
    Usage warm{}, last{};
    uint32_t stretches = 0;
    uint64_t verified = 0;
    std::thread controller([&] {
        std::mt19937 rng(12345);
        uint32_t level = 65535;
        uint64_t audio = 0;
        while (audio < seconds * kBytesPerSecond && failures.size() < 5) {
            const uint32_t target = rng() % (28400 + 8000);  // inside and beyond the range
            player.seek(target);
            player.setVolume(level);
            player.applyLoopRange();
            const uint32_t startElapsed = player.elapsedTotal();
            if (player.play(0) != 1) {
                failures.push_back("play failed");
                break;
            }
            const uint32_t newLevel = rng() % 65536;
            for (int step = 0; step < 6; ++step) {
                Sleep(20 + rng() % 40);
                if (step == 1) {
                    player.pause(kPauseOn);
                    Sleep(rng() % 30);
                    player.pause(kPauseOff);
                }
                if (step == 3) player.setVolume(newLevel);
                ++heartbeat;
            }
            // The capture holds this stretch only, up to now.
            Bytes capture = readCapture();
            verified += capture.size() / 8192 * 8192;
            std::string problem =
                checkStretch(capture, pcm, target, loopStart, loopEnd, level, newLevel);
            if (!problem.empty()) failures.push_back(problem);
            audio += player.elapsedTotal() - startElapsed;
            level = newLevel;
            if (++stretches == 3) warm = usageNow();
        }
        player.stop();
        last = usageNow();
        done = true;
    });
    // A watchdog: every step of the controller must come back quickly.
    uint64_t seen = heartbeat;
    auto lastBeat = std::chrono::steady_clock::now();
    while (!done) {
        pumpFor(50);
        if (heartbeat != seen) {
            seen = heartbeat;
            lastBeat = std::chrono::steady_clock::now();
        } else if (std::chrono::steady_clock::now() - lastBeat > std::chrono::seconds(20)) {
            ADD_FAILURE() << "no progress for 20 s: deadlock between refill and control";
            std::_Exit(3);
        }
    }
    controller.join();
    EXPECT_TRUE(failures.empty()) << failures.front();
    EXPECT_TRUE(owner.commands.empty());
    EXPECT_GT(stretches, 10u);
    EXPECT_GT(verified, static_cast<uint64_t>(seconds * kBytesPerSecond / 2))
        << "too little was checked";
    EXPECT_LE(last.handles, warm.handles + 4) << "handles grew";
    EXPECT_LE(last.threads, warm.threads + 1) << "threads grew";
    EXPECT_LT(last.privateBytes, warm.privateBytes + (8u << 20)) << "memory grew";
    std::printf(
        "soak: %.0f s of audio in %u stretches, %.0f s verified; handles %lu -> %lu, threads %lu "
        "-> %lu, private KiB %zu -> %zu\n",
        seconds, stretches, verified / double(kBytesPerSecond), warm.handles, last.handles,
        warm.threads, last.threads, warm.privateBytes / 1024, last.privateBytes / 1024);
}
