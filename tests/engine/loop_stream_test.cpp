// The rendered stream against the expected one, computed independently from
// the source samples. A counting signal makes any misplaced frame visible.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/engine/test_support.h"

using namespace testing_support;
using namespace tarnuvo;

namespace {

struct PcmTrack {
    TempDir dir;
    Bytes pcm;
    std::string path;
    PcmTrack(uint32_t frames, uint32_t loopStart, uint32_t loopEnd) : pcm(countingPcm(frames)) {
        WavBuilder w;
        w.pcmFormat().chunk("data", pcm);
        if (loopStart || loopEnd) w.smpl(loopStart, loopEnd);
        path = dir.write("track.wav", w.build());
    }
};

}  // namespace

TEST(LoopStream, PassesAreExactForEveryLoopCountAndLength) {
    // Loop lengths from far below one buffer to many buffers; the short ones
    // are shorter than the four buffers in flight.
    const uint32_t lengths[] = {1, 100, 1000, 2047, 2048, 8100, 20000};
    for (uint32_t loopLength : lengths) {
        PcmTrack t(60000, 5000, 5000 + loopLength);
        for (uint32_t loops : {1u, 2u, 3u, 7u}) {
            RenderResult r;
            Bytes out = render(t.path, mode(RepeatAll, static_cast<int32_t>(loops)), &r);
            Bytes want = expectedLoopStream(t.pcm, 5000, 5000 + loopLength, loops);
            EXPECT_EQ(firstDifference(out, want), -1)
                << "loop " << loopLength << " frames, " << loops << " passes";
            EXPECT_EQ(r.loopsDone, loops);
            EXPECT_TRUE(r.trackEnded);
            EXPECT_EQ(r.endCommand, kCmdNext);
        }
    }
}

TEST(LoopStream, WrapHundredBytesIntoABuffer) {
    // The loop end falls 100 bytes into the fourth buffer.
    const uint32_t loopEnd = (3 * 8192 + 100) / 4;
    PcmTrack t(20000, 1000, loopEnd);
    RenderResult r;
    Bytes out = render(t.path, mode(RepeatAll, 1), &r);
    EXPECT_EQ(firstDifference(out, expectedLoopStream(t.pcm, 1000, loopEnd, 1)), -1);
    ASSERT_GE(r.marks.size(), 4u);
    EXPECT_EQ(r.marks[0], kPlainMark);
    EXPECT_EQ(r.marks[3], static_cast<intptr_t>(1000 + 8092 / 4));  // frames
    EXPECT_EQ(r.marks.back(), kEndMark);
}

TEST(LoopStream, TrackOfTwoExactBuffersEndsWithOneEmptyBuffer) {
    PcmTrack t(4096, 0, 0);
    RenderResult r;
    Bytes out = render(t.path, mode(Single, 0), &r);
    EXPECT_EQ(firstDifference(out, t.pcm), -1);
    EXPECT_EQ(r.marks, (std::vector<intptr_t>{kPlainMark, kPlainMark, kEndMark}));
    EXPECT_EQ(r.endCommand, kCmdStop);
}

TEST(LoopStream, SingleAndRandomWithoutPassesPlayOnce) {
    PcmTrack t(30000, 1000, 9000);
    RenderResult r;
    EXPECT_EQ(firstDifference(render(t.path, mode(Single, 0), &r), t.pcm), -1);
    EXPECT_EQ(r.loopsDone, 0u);
    EXPECT_EQ(firstDifference(render(t.path, mode(Random, 0), &r), t.pcm), -1);
    EXPECT_EQ(r.endCommand, kCmdRandom);
    // Single with passes loops too: the mode only decides what follows.
    EXPECT_EQ(
        firstDifference(render(t.path, mode(Single, 2)), expectedLoopStream(t.pcm, 1000, 9000, 2)),
        -1);
}

TEST(LoopStream, RepeatOneLoopsForeverAndNeverEnds) {
    PcmTrack t(30000, 1000, 1500);  // 2000 bytes: several wraps in every buffer
    const size_t n = 176400;
    RenderResult r;
    Bytes out = render(t.path, mode(RepeatOne, 0, n), &r);
    EXPECT_EQ(firstDifference(out, expectedEndless(t.pcm, 0, 4000, 6000, n)), -1);
    EXPECT_FALSE(r.trackEnded);
    EXPECT_GE(r.loopsRead, 85u);  // wraps in the bytes queued
    EXPECT_LE(r.loopsDone, r.loopsRead);
}

TEST(LoopStream, RepeatOneWithoutLoopRepeatsTheWholeTrack) {
    PcmTrack t(5000, 0, 0);
    const size_t n = 5 * 20000 + 1234 * 4;
    RenderResult r;
    Bytes out = render(t.path, mode(RepeatOne, 2, n), &r);
    EXPECT_EQ(firstDifference(out, expectedEndless(t.pcm, 0, 0, t.pcm.size(), n)), -1);
    EXPECT_GE(r.loopsRead, 5u);
}

TEST(LoopStream, LoopIgnoreWrapsTheWholeTrackLoopCountTimes) {
    PcmTrack t(9000, 1000, 2000);
    RenderOptions o = mode(RepeatAll, 2);
    o.loopIgnore = 1;
    Bytes want = t.pcm;
    for (int i = 0; i < 2; ++i) want.insert(want.end(), t.pcm.begin(), t.pcm.end());
    EXPECT_EQ(firstDifference(render(t.path, o), want), -1);
}

TEST(LoopStream, SeekStartsAtTheFrameBelowTheTarget) {
    PcmTrack t(20000, 0, 0);
    RenderOptions o = mode(Single, 0);
    o.seek = true;
    o.seekBytes = 4001;
    RenderResult r;
    Bytes out = render(t.path, o, &r);
    EXPECT_EQ(firstDifference(out, slice(t.pcm, 4000, t.pcm.size())), -1);
    EXPECT_EQ(r.marks.front(), 1000);  // frame 1000
}

TEST(LoopStream, SeekBeyondTheLoopEndContinuesAtTheLoopStart) {
    PcmTrack t(30000, 1000, 5000);
    RenderOptions o = mode(RepeatOne, 0, 100000);
    o.seek = true;
    o.seekBytes = 25000 * 4;
    Bytes out = render(t.path, o);
    EXPECT_EQ(firstDifference(out, expectedEndless(t.pcm, 4000, 4000, 20000, 100000)), -1);
}

TEST(LoopStream, SeekPastTheEndWithoutLoopEndsTheTrack) {
    PcmTrack t(3000, 0, 0);
    RenderOptions o = mode(RepeatAll, 0);
    o.seek = true;
    o.seekBytes = 0x7FFFFFFF;
    RenderResult r;
    EXPECT_TRUE(render(t.path, o, &r).empty());
    EXPECT_TRUE(r.trackEnded);
    EXPECT_EQ(r.endCommand, kCmdNext);
}

TEST(LoopStream, BuffersThrownAwayBySeekDoNotCountAsPasses) {
    PcmTrack t(12000, 1000, 1200);  // many wraps queued ahead of what is heard
    PlayerEnvironment env;
    env.playMode = RepeatAll;
    env.loopCount = 40;
    VectorWriter sink;
    RenderPlayer player(sink);
    player.attach(nullptr, &env);
    ASSERT_GE(player.open(t.path.c_str(), -1, 0, nullptr), 0);
    player.applyLoopRange();
    player.play(0);
    RenderResult r;
    player.run(r, 1);  // one buffer heard, three queued ones will be thrown away
    const uint32_t heard = player.loopsDone;
    player.seek(0);
    EXPECT_EQ(player.loopsRead, heard);
    player.applyLoopRange();
    const size_t before = sink.bytes.size();
    player.play(0);
    player.run(r);
    Bytes after = slice(sink.bytes, before, sink.bytes.size());
    EXPECT_EQ(firstDifference(after, expectedLoopStream(t.pcm, 1000, 1200, 40 - heard)), -1);
    EXPECT_EQ(player.loopsDone, 40u);
}

TEST(LoopStream, VolumeScalesTruncatingTowardZero) {
    Bytes pcm;
    const int16_t samples[] = {32767, -32768, 1, -1, 3, -3, 12345, -12345};
    for (int i = 0; i < 512; ++i)
        for (int16_t s : samples) put16(pcm, static_cast<uint16_t>(s));
    TempDir dir;
    std::string path = dir.write("v.wav", WavBuilder().pcmFormat().chunk("data", pcm).build());
    RenderOptions o = mode(Single, 0);
    o.volume = 32768;
    Bytes out = render(path, o);
    ASSERT_EQ(out.size(), pcm.size());
    for (size_t i = 0; i < out.size(); i += 2) {
        int16_t in = static_cast<int16_t>(pcm[i] | pcm[i + 1] << 8);
        int16_t got = static_cast<int16_t>(out[i] | out[i + 1] << 8);
        ASSERT_EQ(got, in / 2) << "sample " << in;
    }
    o.volume = 0;
    Bytes silent = render(path, o);
    EXPECT_TRUE(std::all_of(silent.begin(), silent.end(), [](uint8_t b) { return b == 0; }));
}

TEST(LoopStream, TemplateLongerThanTheFileNeverReadsPastTheData) {
    PcmTrack t(3000, 0, 0);
    Player entry;
    entry.length = 50 * 1000 * 1000;
    entry.hasLoop = 1;
    entry.loopStart = 2000;
    entry.loopEnd = 9000000;
    PlayerEnvironment env;
    env.playMode = RepeatAll;
    env.loopCount = 2;
    VectorWriter sink;
    RenderPlayer player(sink);
    player.attach(nullptr, &env);
    ASSERT_GE(player.open(t.path.c_str(), 0, 0, &entry), 0);
    EXPECT_EQ(player.length, entry.length);
    player.applyLoopRange();
    player.play(0);
    RenderResult r;
    player.run(r);
    // The loop end lies past the data: each pass ends where the data does.
    EXPECT_EQ(firstDifference(sink.bytes, expectedLoopStream(t.pcm, 2000, 3000, 2)), -1);
}

TEST(LoopStream, UnusableLoopPointsPutNoLoopInEffect) {
    // An end whose byte value overflows, and a start beyond the track.
    const uint32_t cases[][2] = {{100, 0x40000000}, {5000, 6000}};
    for (const auto& c : cases) {
        PcmTrack t(3000, c[0], c[1]);
        RenderResult r;
        EXPECT_EQ(firstDifference(render(t.path, mode(RepeatAll, 3), &r), t.pcm), -1)
            << c[0] << ".." << c[1];
        EXPECT_EQ(r.loopsDone, 0u);
    }
    // An end beyond the track is cut to the track's end.
    PcmTrack t(3000, 1000, 6000);
    EXPECT_EQ(firstDifference(render(t.path, mode(RepeatAll, 2)),
                              expectedLoopStream(t.pcm, 1000, 3000, 2)),
              -1);
}

TEST(LoopStream, EmptyTrackInRepeatOneEndsInsteadOfQueuingForever) {
    TempDir dir;
    std::string path = dir.write("e.wav", WavBuilder().pcmFormat().chunk("data", {}).build());
    RenderResult r;
    Bytes out = render(path, mode(RepeatOne, 0, 1 << 20), &r);
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(r.trackEnded);
    EXPECT_EQ(r.marks, std::vector<intptr_t>{kEndMark});
}

TEST(LoopStream, VorbisLoopMatchesTheIndependentDecode) {
    Bytes ref = decodeVorbisSequentially(fixture("vorbis_loop.ogg"));
    ASSERT_FALSE(ref.empty());
    for (uint32_t loops : {0u, 1u, 2u}) {
        Bytes out =
            render(fixture("vorbis_loop.ogg"), mode(RepeatAll, static_cast<int32_t>(loops)));
        EXPECT_EQ(firstDifference(out, expectedLoopStream(ref, 23456, 23456 + 50000, loops)), -1)
            << loops;
    }
    // A loop of 700 frames, far shorter than the buffers in flight.
    Bytes out = render(fixture("vorbis_short.ogg"), mode(RepeatAll, 5));
    EXPECT_EQ(firstDifference(out, expectedLoopStream(ref, 40000, 40700, 5)), -1);
}

TEST(LoopStream, VorbisSeekAndRepeatOneStaySampleExact) {
    Bytes ref = decodeVorbisSequentially(fixture("vorbis_loop.ogg"));
    RenderOptions o = mode(RepeatOne, 0, 600000);
    o.seek = true;
    o.seekBytes = 30001 * 4 + 3;
    Bytes out = render(fixture("vorbis_loop.ogg"), o);
    EXPECT_EQ(firstDifference(out, expectedEndless(ref, 30001 * 4, 23456 * 4, 73456 * 4, 600000)),
              -1);
}

// The fade's rules against seeks and setting changes. Track: 20,000 frames,
// loop 1,000..9,000, two passes, a 100 ms fade: T = 25,000, the end 29,410.
TEST(LoopStream, SeeksAndSettingChangesFollowTheFadesRules) {
    PcmTrack t(20000, 1000, 9000);
    constexpr uint64_t kS = 1000, kE = 9000, kT = 25000, kF = 4410;
    auto faded = [&](uint64_t from) {
        return expectedFadeStream(t.pcm, 4, false, kS, kE, from, kT, kF);
    };
    struct Case {
        const char* name;
        uint32_t heardFirst;  // buffers heard before the change
        int action;           // 0 seek, 1 loop ignore on, 2 mode to Single
        uint32_t seekFrame;
        int64_t wantFrom;  // the output frame the rest continues at; -1: the tail plays
    };
    const Case cases[] = {
        {"seek before T", 1, 0, 5000, 5000},
        // 28,672 frames heard: three wraps, so frame 3,000 is output frame 27,000.
        {"seek into the fade", 14, 0, 3000, 27000},
        {"loop ignored during the passes", 3, 1, 0, -1},
        {"loop ignored during the fade", 14, 1, 0, 0},
        {"mode changed during the passes", 3, 2, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerEnvironment env;
        env.playMode = RepeatAll;
        env.loopCount = 2;
        env.fadeOut = 1;
        env.fadeLengthMs = 100;
        VectorWriter sink;
        RenderPlayer player(sink);
        player.attach(nullptr, &env);
        ASSERT_GE(player.open(t.path.c_str(), -1, 0, nullptr), 0);
        player.applyLoopRange();
        player.play(0);
        RenderResult r;
        player.run(r, c.heardFirst);
        size_t before = 0;
        if (c.action == 0) {
            player.seek(c.seekFrame * 4);
            player.applyLoopRange();
            before = sink.bytes.size();
            player.play(0);
        } else if (c.action == 1) {
            env.loopIgnore = 1;
            player.applyLoopRange();
        } else {
            env.playMode = Single;
            player.applyLoopRange();
        }
        player.run(r);
        ASSERT_TRUE(r.trackEnded);
        const Bytes rest = slice(sink.bytes, before, sink.bytes.size());
        if (c.wantFrom < 0) {
            // No fade: the track ends with its own last frame, unscaled.
            EXPECT_EQ(slice(rest, rest.size() - 4, rest.size()),
                      slice(t.pcm, t.pcm.size() - 4, t.pcm.size()));
        } else {
            EXPECT_EQ(firstDifference(rest, faded(static_cast<uint64_t>(c.wantFrom))), -1);
            EXPECT_EQ(player.loopsDone, 2u) << "the counter stays at N/N";
        }
        EXPECT_EQ(r.endCommand, c.action == 2 ? kCmdStop : kCmdNext);
    }
}
