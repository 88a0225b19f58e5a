// The waveOut player on the real device, checked byte for byte on what the
// device received.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/waveout_player.h"
#include "tests/engine/adpcm_reference.h"
#include "tests/engine/waveout_support.h"

using namespace testing_support;
using namespace tarnuvo;

namespace {

struct Session {
    PlayerEnvironment env;
    CommandWindow owner;
    WaveOutPlayer player;
    Session(int32_t playMode, int32_t loops) {
        env.playMode = playMode;
        env.loopCount = loops;
        player.attach(owner.hwnd(), &env);
    }
    bool start(const std::string& path) {
        const int32_t opened = player.open(path.c_str(), -1, 0, nullptr);
        if (opened < 0) {
            ADD_FAILURE() << "open gave " << opened;
            return false;
        }
        player.applyLoopRange();
        const int32_t played = player.play(0);
        if (played != 1) ADD_FAILURE() << "play gave " << played;
        return played == 1;
    }
    bool waitForCommand(int ms = 20000) {
        return waitFor([&] { return !owner.commands.empty(); }, ms);
    }
};

std::string pcmTrack(TempDir& dir, const Bytes& pcm, uint32_t loopStart, uint32_t loopEnd) {
    WavBuilder w;
    w.pcmFormat().chunk("data", pcm);
    if (loopEnd) w.smpl(loopStart, loopEnd);
    return dir.write("t.wav", w.build());
}

Bytes adpcmReference() {
    Bytes wav = readFile(fixture("adpcm_loop.wav"));
    for (size_t at = 12; at + 8 <= wav.size();) {
        uint32_t size = wav[at + 4] | wav[at + 5] << 8 | wav[at + 6] << 16 |
                        static_cast<uint32_t>(wav[at + 7]) << 24;
        if (std::memcmp(&wav[at], "data", 4) == 0)
            return referenceAdpcm(wav.data() + at + 8, size, false);
        at += 8 + size + (size & 1);
    }
    return {};
}

// Refuses the device formats whose tags are listed, opens the rest.
WORD g_refusedTags[2] = {};
MMRESULT WINAPI refusingOpen(LPHWAVEOUT device, UINT id, LPCWAVEFORMATEX f, DWORD_PTR callback,
                             DWORD_PTR instance, DWORD flags) {
    for (WORD tag : g_refusedTags) {
        if (f && tag && f->wFormatTag == tag) return WAVERR_BADFORMAT;
    }
    return waveOutOpen(device, id, f, callback, instance, flags);
}

// The capture checked against `want`, once the device has written all of it.
::testing::AssertionResult captured(const Bytes& want) {
    return isStreamThenSilence(readCapture(want.size()), want);
}

}  // namespace

TEST(WaveOutPlayer, PcmRepeatAllPlaysTwoPassesThenPostsNext) {
    TempDir dir;
    Bytes pcm = countingPcm(40000);
    Session s(RepeatAll, 2);
    ASSERT_TRUE(
        s.start(pcmTrack(dir, pcm, 3000, 3500)));  // a loop far shorter than the buffers in flight
    ASSERT_TRUE(s.waitForCommand());
    pumpFor(300);
    EXPECT_EQ(s.owner.commands, std::vector<WPARAM>{kCmdNext});
    EXPECT_EQ(s.player.loopsDone, 2u);
    EXPECT_TRUE(captured(expectedLoopStream(pcm, 3000, 3500, 2)));
}

TEST(WaveOutPlayer, RepeatOneChosenAfterTheLastBufferWasQueuedStillEndsTheTrack) {
    TempDir dir;
    Bytes pcm = countingPcm(5000);  // fewer bytes than the four buffers play queues
    Session s(RepeatAll, 0);
    ASSERT_TRUE(s.start(pcmTrack(dir, pcm, 0, 0)));
    s.env.playMode = RepeatOne;  // too late: the end is already on the device
    ASSERT_TRUE(s.waitForCommand());
    pumpFor(200);
    EXPECT_EQ(s.owner.commands, std::vector<WPARAM>{kCmdNext});
}

TEST(WaveOutPlayer, SeekReportsItsTargetAtOnce) {
    TempDir dir;
    Session s(RepeatOne, 0);
    ASSERT_TRUE(s.start(pcmTrack(dir, countingPcm(400000), 0, 0)));
    pumpFor(100);
    ASSERT_EQ(s.player.seek(1000003), 1);
    EXPECT_EQ(s.player.position(), 1000000u);  // whole frames
    ASSERT_EQ(s.player.play(0), 1);
    EXPECT_GE(s.player.position(), 1000000u);
    s.player.stop();
}

TEST(WaveOutPlayer, PcmSingleWithoutPassesPlaysOnceThenPostsStop) {
    TempDir dir;
    Bytes pcm = countingPcm(30000);
    Session s(Single, 0);
    ASSERT_TRUE(s.start(pcmTrack(dir, pcm, 1000, 9000)));
    ASSERT_TRUE(s.waitForCommand());
    pumpFor(300);
    EXPECT_EQ(s.owner.commands, std::vector<WPARAM>{kCmdStop});
    EXPECT_TRUE(captured(pcm));
    EXPECT_EQ(s.player.state, Playing);  // stays until the window stops it
}

TEST(WaveOutPlayer, AdpcmRepeatAllMatchesTheIndependentDecode) {
    Bytes ref = adpcmReference();
    Session s(RepeatAll, 2);
    ASSERT_TRUE(s.start(fixture("adpcm_loop.wav")));
    ASSERT_TRUE(s.waitForCommand());
    pumpFor(200);
    EXPECT_EQ(s.owner.commands, std::vector<WPARAM>{kCmdNext});
    EXPECT_TRUE(captured(expectedLoopStream(ref, 12345, 70001, 2)));
}

TEST(WaveOutPlayer, AdpcmSingleWithoutPasses) {
    Bytes ref = adpcmReference();
    Session s(Single, 0);
    ASSERT_TRUE(s.start(fixture("adpcm_loop.wav")));
    ASSERT_TRUE(s.waitForCommand());
    EXPECT_TRUE(captured(ref));
}

TEST(WaveOutPlayer, VorbisRepeatAllAndSingle) {
    Bytes ref = decodeVorbisSequentially(fixture("vorbis_loop.ogg"));
    {
        Session s(RepeatAll, 2);
        ASSERT_TRUE(s.start(fixture("vorbis_loop.ogg")));
        ASSERT_TRUE(s.waitForCommand());
        pumpFor(200);
        EXPECT_EQ(s.owner.commands, std::vector<WPARAM>{kCmdNext});
        EXPECT_TRUE(captured(expectedLoopStream(ref, 23456, 73456, 2)));
    }
    Session s(Single, 0);
    ASSERT_TRUE(s.start(fixture("vorbis_loop.ogg")));
    ASSERT_TRUE(s.waitForCommand());
    EXPECT_EQ(s.owner.commands, std::vector<WPARAM>{kCmdStop});
    EXPECT_TRUE(captured(ref));
}

TEST(WaveOutPlayer, RepeatOneLoopsWithoutGapsAndPostsNothing) {
    TempDir dir;
    Bytes pcm = countingPcm(20000);
    Session s(RepeatOne, 0);
    ASSERT_TRUE(s.start(pcmTrack(dir, pcm, 5000, 7100)));
    pumpFor(1500);
    s.player.stop();
    EXPECT_TRUE(s.owner.commands.empty());
    Bytes capture = readCapture();
    EXPECT_TRUE(isCutStreamThenSilence(
        capture, expectedEndless(pcm, 0, 5000 * 4, 7100 * 4, capture.size()), 200000));
    EXPECT_GT(s.player.loopsDone, 10u);
}

TEST(WaveOutPlayer, StopWhileQueuedPostsNothingAndIsQuick) {
    TempDir dir;
    Session s(Single, 0);
    ASSERT_TRUE(s.start(pcmTrack(dir, countingPcm(44100 * 20), 0, 0)));
    pumpFor(100);
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(s.player.stop(), 1);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0)
            .count();
    EXPECT_LT(ms, 200);
    pumpFor(300);
    EXPECT_TRUE(s.owner.commands.empty());
    EXPECT_EQ(s.player.state, Stopped);
    EXPECT_EQ(s.player.position(), 0u);
}

TEST(WaveOutPlayer, SeekRestartsAtTheFrameBelowTheTarget) {
    TempDir dir;
    Bytes pcm = countingPcm(44100 * 10);
    Session s(Single, 0);
    ASSERT_TRUE(s.start(pcmTrack(dir, pcm, 0, 0)));
    pumpFor(100);
    EXPECT_EQ(s.player.seek(1000003), 1);
    EXPECT_EQ(s.player.state, Stopped);
    s.player.applyLoopRange();
    ASSERT_EQ(s.player.play(0), 1);
    pumpFor(150);
    Bytes capture = readCapture();
    ASSERT_GT(capture.size(), 8192u);
    EXPECT_EQ(firstDifference(slice(capture, 0, 8192), slice(pcm, 1000000, 1000000 + 8192)), -1);

    // While paused: the player stays stopped until play.
    s.player.pause(kPauseOn);
    EXPECT_EQ(s.player.state, Paused);
    s.player.seek(400002);
    EXPECT_EQ(s.player.state, Stopped);
    s.player.applyLoopRange();
    ASSERT_EQ(s.player.play(0), 1);
    pumpFor(150);
    capture = readCapture();
    ASSERT_GT(capture.size(), 8192u);
    EXPECT_EQ(firstDifference(slice(capture, 0, 8192), slice(pcm, 400000, 400000 + 8192)), -1);
    s.player.stop();
    EXPECT_TRUE(s.owner.commands.empty());
}

TEST(WaveOutPlayer, VolumeIsHeardAfterTheQueuedBuffers) {
    TempDir dir;
    Bytes pcm;
    for (int i = 0; i < 44100 * 2; ++i) {
        put16(pcm, static_cast<uint16_t>(static_cast<int16_t>((i * 37) % 65536 - 32768)));
        put16(pcm, static_cast<uint16_t>(static_cast<int16_t>(-((i * 11) % 32768))));
    }
    Session s(Single, 0);
    int32_t level = 0;
    EXPECT_EQ(s.player.getVolume(&level), 0);
    EXPECT_EQ(level, -1);
    ASSERT_TRUE(s.start(pcmTrack(dir, pcm, 0, 0)));
    s.player.setVolume(32768);
    ASSERT_TRUE(s.waitForCommand());
    Bytes capture = readCapture(pcm.size());
    ASSERT_GE(capture.size(), pcm.size());
    // Four buffers were queued at full scale; everything after is halved.
    EXPECT_EQ(firstDifference(slice(capture, 0, 32768), slice(pcm, 0, 32768)), -1);
    Bytes half = scaled(pcm, 32768);
    EXPECT_EQ(firstDifference(slice(capture, 32768, pcm.size()), slice(half, 32768, pcm.size())),
              -1);
    for (size_t i = 0; i < 32768; i += 2) {
        auto in = static_cast<int16_t>(pcm[i] | pcm[i + 1] << 8);
        auto out = static_cast<int16_t>(half[i] | half[i + 1] << 8);
        ASSERT_EQ(out, in / 2);
    }
}

TEST(WaveOutPlayer, DisabledOutputAndMissingFilesRefuse) {
    Session s(Single, 0);
    s.player.waveOutDisabled = 1;
    EXPECT_EQ(s.player.open(fixture("vorbis_loop.ogg").c_str(), -1, 0, nullptr), -1);
    s.player.waveOutDisabled = 0;
    EXPECT_EQ(s.player.open("Z:\\no\\such\\file.wav", -1, 0, nullptr), -1);
    EXPECT_EQ(s.player.play(0), 0);
    EXPECT_EQ(s.player.isDirectShow(), 0);
}

TEST(WaveOutPlayer, DestroyingAPlayingPlayerLeavesNothingBehind) {
    TempDir dir;
    std::string path = pcmTrack(dir, countingPcm(44100 * 5), 100, 2000);
    PlayerEnvironment env;
    for (int i = 0; i < 5; ++i) {
        auto player = std::make_unique<WaveOutPlayer>();
        player->attach(nullptr, &env);
        ASSERT_GE(player->open(fixture("vorbis_loop.ogg").c_str(), -1, 0, nullptr), 0);
        player->applyLoopRange();
        ASSERT_EQ(player->play(0), 1);
        pumpFor(30);
        player.reset();
        EXPECT_EQ(WaveOutPlayer::current(), nullptr);
    }
    // The file is free again: nothing holds it open.
    WaveOutPlayer p;
    ASSERT_GE(p.open(path.c_str(), -1, 0, nullptr), 0);
    p.applyLoopRange();
    ASSERT_EQ(p.play(0), 1);
    p.reset();
    EXPECT_NE(DeleteFileA(path.c_str()), 0);
}

TEST(WaveOutPlayer, RefusedDeviceFormatsFallBackToFloatThenSixteenBits) {
    TempDir dir;
    const Bytes pcm = countingPcm(3000);
    // Floats of every kind, NaN and beyond full scale included.
    Bytes floats;
    const float values[] = {0.25f, -1.0f, 1.5f, NAN, 3.0f / 32768, -0.5f / 32768};
    for (uint32_t i = 0; i < 3000 * 2; ++i) {
        const float v = values[i % 6] * (i % 7 == 0 ? 1.0f : 0.5f);
        const auto* b = reinterpret_cast<const uint8_t*>(&v);
        floats.insert(floats.end(), b, b + 4);
    }
    Bytes asFloat, as16;
    for (size_t i = 0; i < pcm.size(); i += 2) {
        const float v = static_cast<int16_t>(pcm[i] | pcm[i + 1] << 8) / 32768.0f;
        const auto* b = reinterpret_cast<const uint8_t*>(&v);
        asFloat.insert(asFloat.end(), b, b + 4);
    }
    for (size_t i = 0; i < floats.size(); i += 4) {
        float v;
        std::memcpy(&v, &floats[i], 4);
        const double d = std::isnan(v) ? 0.0 : std::fmax(-32768.0, std::fmin(32767.0, v * 32768.0));
        put16(as16, static_cast<uint16_t>(static_cast<int16_t>(std::nearbyint(d))));
    }
    struct Case {
        const char* name;
        Bytes file;
        WORD refused[2];
        bool plays, isFloat;
        const Bytes* want;
    };
    const Case cases[] = {
        {"16-bit refused",
         WavBuilder().pcmFormat().chunk("data", pcm).build(),
         {WAVE_FORMAT_PCM, 0},
         true,
         true,
         &asFloat},
        {"float refused",
         WavBuilder().fmt(3, 2, 44100, 8, 32).chunk("data", floats).build(),
         {WAVE_FORMAT_IEEE_FLOAT, 0},
         true,
         false,
         &as16},
        {"both refused",
         WavBuilder().pcmFormat().chunk("data", pcm).build(),
         {WAVE_FORMAT_PCM, WAVE_FORMAT_IEEE_FLOAT},
         false,
         false,
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::copy(std::begin(c.refused), std::end(c.refused), g_refusedTags);
        setWaveOutOpenFunction(&refusingOpen);
        {
            Session s(Single, 0);
            ASSERT_GE(s.player.open(dir.write("f.wav", c.file).c_str(), -1, 0, nullptr), 0);
            s.player.applyLoopRange();
            EXPECT_EQ(s.player.play(0), c.plays ? 1 : 0);
            if (c.plays) {
                EXPECT_EQ(s.player.deviceFormat().isFloat, c.isFloat);
                ASSERT_TRUE(s.waitForCommand());
                pumpFor(300);
                EXPECT_TRUE(captured(*c.want));
            }
            s.player.stop();
        }
        setWaveOutOpenFunction(nullptr);
    }
}
