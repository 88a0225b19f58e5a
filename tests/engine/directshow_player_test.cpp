// The DirectShow player under Wine's GStreamer-backed DirectShow. Playback is
// real time here, so these tests use short stretches of a 3 s mp3.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include "engine/directshow_player.h"
#include "tests/engine/waveout_support.h"

using namespace testing_support;
using namespace tarnuvo;

namespace {

class ComApartment : public ::testing::Environment {
public:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_MULTITHREADED); }
    void TearDown() override { CoUninitialize(); }
};
const auto* const kCom = ::testing::AddGlobalTestEnvironment(new ComApartment);

struct Session {
    PlayerEnvironment env;
    CommandWindow owner;
    DirectShowPlayer player;
    explicit Session(int32_t playMode, int32_t loops = 0) {
        env.playMode = playMode;
        env.loopCount = loops;
        player.attach(owner.hwnd(), &env);
    }
};

const uint32_t kSecond = kBytesPerSecond;

uint32_t threadCount() {
    uint32_t n = 0;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 te{};
    te.dwSize = sizeof(te);
    for (BOOL ok = Thread32First(snap, &te); ok; ok = Thread32Next(snap, &te))
        n += te.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snap);
    return n;
}

bool captureHasSound() {
    Bytes c = readCapture();
    return std::any_of(c.begin(), c.end(), [](uint8_t b) { return b != 0; });
}

}  // namespace

TEST(DirectShowMath, VolumeAndTimeConversions) {
    EXPECT_EQ(volumeForLevel(65535), -36);
    EXPECT_EQ(volumeForLevel(0), -10000);
    EXPECT_EQ(volumeForLevel(0x10000 | 65535), -36);  // only the low 16 bits count
    const long half = volumeForLevel(32768);
    EXPECT_LT(half, -36);
    EXPECT_GT(half, -10000);
    EXPECT_EQ(referenceTimeToBytes(10000000), kSecond);
    EXPECT_EQ(referenceTimeToBytes(-5), 0u);
    EXPECT_EQ(bytesToReferenceTime(kSecond), 10000000);
    char caption[kTextSize];
    formatVideoCaption(4, "A", "B", caption);
    EXPECT_STREQ(caption, "05.A / B");
    formatVideoCaption(0, "Solo", "", caption);
    EXPECT_STREQ(caption, "01.Solo");
    formatVideoCaption(1, std::string(300, 't').c_str(), "B", caption);
    EXPECT_EQ(std::strlen(caption), 259u);
}

TEST(DirectShowPlayer, OpensPlaysAndPostsStopAtTheEnd) {
    Session s(Single);
    ASSERT_EQ(s.player.open(fixture("tone.mp3").c_str(), -1, 0, nullptr), 0);
    EXPECT_NEAR(static_cast<double>(s.player.length), 3.0 * kSecond, 0.1 * kSecond);
    EXPECT_EQ(s.player.seekable, 1);
    EXPECT_EQ(s.player.isDirectShow(), 1);
    ASSERT_EQ(s.player.play(0), 1);
    EXPECT_TRUE(waitFor(captureHasSound, 3000)) << "no sound reached the device";
    EXPECT_TRUE(waitFor([&] { return s.player.position() > kSecond / 2; }, 3000));
    ASSERT_TRUE(waitFor([&] { return !s.owner.commands.empty(); }, 6000));
    pumpFor(300);
    EXPECT_EQ(s.owner.commands, std::vector<WPARAM>{kCmdStop});
    s.player.stop();
    EXPECT_FALSE(s.player.hasGraph());
    EXPECT_EQ(s.player.position(), 0u);
}

TEST(DirectShowPlayer, LoopFromTemplateSeeksBackLoopCountTimesThenPlaysOut) {
    Session s(RepeatAll, 2);
    Player entry;
    entry.length = 3 * kSecond;
    entry.hasLoop = 1;
    entry.loopStart = 44100 / 2;
    entry.loopEnd = 44100;
    ASSERT_EQ(s.player.open(fixture("tone.mp3").c_str(), 0, 0, &entry), 0);
    s.player.applyLoopRange();
    EXPECT_EQ(s.player.rangeEnd, kSecond);
    ASSERT_EQ(s.player.play(0), 1);
    uint32_t maxPos = 0;
    bool lateAfterLoops = false;
    ASSERT_TRUE(waitFor(
        [&] {
            maxPos = std::max(maxPos, s.player.position());
            if (s.player.loopsDone < 2 && s.player.position() > kSecond + kSecond / 3)
                lateAfterLoops = true;
            return !s.owner.commands.empty();
        },
        12000));
    EXPECT_EQ(s.player.loopsDone, 2u);
    EXPECT_FALSE(lateAfterLoops) << "played far past the loop end before the passes were done";
    EXPECT_GT(maxPos, 2 * kSecond) << "never played through the tail";
    EXPECT_EQ(s.owner.commands, std::vector<WPARAM>{kCmdNext});
    // Three seconds through to the end and two passes of at least half a
    // second each, less the time between two polls.
    EXPECT_GE(s.player.elapsedTotal(), 3 * kSecond + kSecond * 9 / 10);
}

TEST(DirectShowPlayer, AFadeKeepsLoopingUntilSilenceAndThenPostsTheEndCommand) {
    Session s(RepeatAll, 1);
    s.env.fadeOut = 1;
    s.env.fadeLengthMs = 800;  // longer than the loop: it wraps while fading
    Player entry;
    entry.length = 3 * kSecond;
    entry.hasLoop = 1;
    entry.loopStart = 44100 / 4;
    entry.loopEnd = 44100 * 3 / 4;
    ASSERT_EQ(s.player.open(fixture("tone.mp3").c_str(), 0, 0, &entry), 0);
    s.player.applyLoopRange();
    const ULONGLONG started = GetTickCount64();
    ASSERT_EQ(s.player.play(0), 1);
    uint32_t maxPos = 0;
    ASSERT_TRUE(waitFor(
        [&] {
            maxPos = std::max(maxPos, s.player.position());
            return !s.owner.commands.empty();
        },
        12000));
    // A 0.75 s intro, one 0.5 s pass and 0.8 s of fade come first.
    EXPECT_GE(GetTickCount64() - started, 1900u);
    EXPECT_EQ(s.owner.commands, std::vector<WPARAM>{kCmdNext});
    EXPECT_EQ(s.player.loopsDone, 1u) << "the counter stays at N/N";
    EXPECT_LT(maxPos, kSecond) << "the tail must never play";
    EXPECT_EQ(s.player.fadeRemaining(), 0);
}

TEST(DirectShowPlayer, RandomPostsRandomCommand) {
    Session s(Random);
    ASSERT_EQ(s.player.open(fixture("tone.mp3").c_str(), -1, 0, nullptr), 0);
    ASSERT_EQ(s.player.play(0), 1);
    EXPECT_EQ(s.player.seek(s.player.length - kSecond / 3), 0);
    ASSERT_TRUE(waitFor([&] { return !s.owner.commands.empty(); }, 4000));
    EXPECT_EQ(s.owner.commands, std::vector<WPARAM>{kCmdRandom});
}

TEST(DirectShowPlayer, RepeatOneRestartsAndKeepsCounting) {
    Session s(RepeatOne);
    ASSERT_EQ(s.player.open(fixture("tone.mp3").c_str(), -1, 0, nullptr), 0);
    s.player.applyLoopRange();
    ASSERT_EQ(s.player.play(0), 1);
    // A user seek skips what was not heard: the total counts only the quarter
    // second before each end, plus what plays after the restart.
    const uint32_t quarter = kSecond / 4, slack = kSecond / 10;
    s.player.seek(s.player.length - quarter);
    ASSERT_TRUE(waitFor([&] { return s.player.loopsDone >= 1; }, 4000));
    EXPECT_TRUE(
        waitFor([&] { return s.player.position() > 0 && s.player.position() < kSecond; }, 2000));
    uint32_t pos = s.player.position();
    EXPECT_GE(s.player.elapsedTotal(), pos + quarter - slack);
    EXPECT_LT(s.player.elapsedTotal(), s.player.length);
    s.player.seek(s.player.length - quarter);
    ASSERT_TRUE(waitFor([&] { return s.player.loopsDone >= 2; }, 4000));
    pos = s.player.position();
    EXPECT_GE(s.player.elapsedTotal(), pos + 2 * quarter - slack);
    EXPECT_LT(s.player.elapsedTotal(), s.player.length + kSecond);
    EXPECT_TRUE(s.owner.commands.empty());
}

TEST(DirectShowPlayer, UnrenderableFileFailsAndHoldsNothing) {
    Session s(Single);
    EXPECT_EQ(s.player.open(fixture("noise.xyz").c_str(), -1, 0, nullptr), -1);
    EXPECT_FALSE(s.player.hasGraph());
    EXPECT_EQ(s.player.play(0), 0);
    EXPECT_EQ(s.player.seek(1000), 0);
    EXPECT_EQ(s.player.pause(kPauseOn), 1);  // no graph: nothing to call
    EXPECT_EQ(s.player.stop(), 1);
    EXPECT_EQ(s.player.open("Z:\\no\\such.mp3", -1, 0, nullptr), -1);
}

TEST(DirectShowPlayer, ProbePlayerHasNoThreadAndKeepsNoGraph) {
    const uint32_t before = threadCount();
    {
        DirectShowPlayer probe;
        EXPECT_FALSE(probe.pollThreadRunning());
        ASSERT_EQ(probe.open(fixture("tone.mp3").c_str(), -1, 1, nullptr), 0);
        EXPECT_FALSE(probe.hasGraph());
        EXPECT_GT(probe.length, 2 * kSecond);
    }
    pumpFor(200);
    EXPECT_LE(threadCount(), before + 8);  // the graph's own worker threads may linger in Wine
}

TEST(DirectShowPlayer, VolumeLevels) {
    Session s(Single);
    int32_t level = 0;
    // Without a graph the level is kept, and the next open applies it.
    EXPECT_EQ(s.player.setVolume(1234), 0);
    s.player.getVolume(&level);
    EXPECT_EQ(level, 1234);
    ASSERT_EQ(s.player.open(fixture("tone.mp3").c_str(), -1, 0, nullptr), 0);
    IGraphBuilder* graph = s.player.graphBuilderRef();
    ASSERT_NE(graph, nullptr);
    IBasicAudio* audio = nullptr;
    ASSERT_TRUE(
        SUCCEEDED(graph->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&audio))));
    long applied = 1;
    audio->get_Volume(&applied);
    EXPECT_EQ(applied, volumeForLevel(1234));
    for (uint32_t l : {65535u, 32768u, 0u}) {
        EXPECT_EQ(s.player.setVolume(l), 1);
        long v = 1;
        audio->get_Volume(&v);
        EXPECT_EQ(v, volumeForLevel(l)) << l;
        s.player.getVolume(&level);
        EXPECT_EQ(level, static_cast<int32_t>(l));
    }
    audio->Release();
    graph->Release();
}

TEST(DirectShowPlayer, ChurnLeavesNothingBehind) {
    const char* env = std::getenv("TARNUVO_CHURN_CYCLES");
    const int cycles = env ? std::atoi(env) : 50;
    auto handleProbe = [] {
        HANDLE h = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        CloseHandle(h);
        return reinterpret_cast<uintptr_t>(h);
    };
    // Warm up once so that lazily created threads and handles are counted.
    {
        Session warm(Single);
        warm.player.open(fixture("tone.mp3").c_str(), -1, 0, nullptr);
    }
    pumpFor(200);
    const uint32_t threadsBefore = threadCount();
    const uintptr_t handleBefore = handleProbe();
    for (int i = 0; i < cycles; ++i) {
        auto s = std::make_unique<Session>(i % 2 ? RepeatOne : RepeatAll, 3);
        ASSERT_EQ(s->player.open(fixture("tone.mp3").c_str(), -1, 0, nullptr), 0);
        IGraphBuilder* graph = s->player.graphBuilderRef();
        s->player.applyLoopRange();
        s->player.play(0);
        Sleep(i % 3 * 15);
        switch (i % 3) {
            case 0:
                s->player.stop();
                break;  // stop
            case 1:
                s->player.open(fixture("tone.mp3").c_str(), -1, 0, nullptr);
                break;  // reopen
            default:
                break;  // destroy while playing
        }
        s.reset();
        // Once the player let go, this is the last reference to the old graph.
        ASSERT_EQ(graph->Release(), 0u) << "cycle " << i;
    }
    // The last graph's threads wind down on their own time on a busy machine;
    // a leak stays however long one waits.
    uint32_t threadsAfter = 0;
    uintptr_t handleAfter = 0;
    waitFor(
        [&] {
            threadsAfter = threadCount();
            handleAfter = handleProbe();
            return threadsAfter <= threadsBefore + 2 && handleAfter <= handleBefore + 64;
        },
        5000);
    std::printf("churn: %d cycles; threads %u -> %u; handle slot %u -> %u\n", cycles, threadsBefore,
                threadsAfter, static_cast<unsigned>(handleBefore / 4),
                static_cast<unsigned>(handleAfter / 4));
    EXPECT_LE(threadsAfter, threadsBefore + 2);
    EXPECT_LE(handleAfter, handleBefore + 64);
}

TEST(DirectShowPlayer, NoLoopSeeksWithoutALengthOrWhenNotSeekable) {
    // RepeatOne with a length of 0 from a list: the range is empty, and the
    // position is always past it. The poll thread must not seek at all.
    Session s(RepeatOne);
    Player entry;
    entry.length = 0;
    ASSERT_EQ(s.player.open(fixture("tone.mp3").c_str(), 0, 0, &entry), 0);
    EXPECT_EQ(s.player.length, 0u);
    s.player.applyLoopRange();
    ASSERT_EQ(s.player.play(0), 1);
    EXPECT_TRUE(waitFor([&] { return s.player.currentPos > kSecond / 2; }, 3000))
        << "playback did not advance";
    EXPECT_EQ(s.player.loopsDone, 0u);

    Session t(RepeatAll, 3);
    ASSERT_EQ(t.player.open(fixture("tone.mp3").c_str(), -1, 0, nullptr), 0);
    t.player.hasLoop = 1;
    t.player.loopStart = 1000;
    t.player.loopEnd = 2000;
    t.player.applyLoopRange();
    t.player.seekable = 0;
    ASSERT_EQ(t.player.play(0), 1);
    EXPECT_EQ(t.player.seek(0), 0);
    pumpFor(500);
    EXPECT_EQ(t.player.loopsDone, 0u);
    EXPECT_EQ(t.player.position(), 0u);
}
