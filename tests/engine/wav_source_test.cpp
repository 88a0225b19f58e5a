#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>

#include "engine/native_player.h"
#include "engine/wav_source.h"
#include "tests/engine/test_support.h"

using namespace testing_support;
using namespace tarnuvo;

namespace {

WavLayout identify(const Bytes& file, TrackInfo& track) {
    // A private copy sized exactly, so ASan sees any read past the end.
    std::unique_ptr<uint8_t[]> copy(new uint8_t[file.size() ? file.size() : 1]);
    std::copy(file.begin(), file.end(), copy.get());
    return identifyWav(copy.get(), static_cast<uint32_t>(file.size()), track);
}

WavLayout identify(const Bytes& file) {
    TrackInfo track;
    return identify(file, track);
}

Bytes info(std::initializer_list<std::pair<const char*, Bytes>> subchunks) {
    Bytes b = {'I', 'N', 'F', 'O'};
    for (const auto& [id, text] : subchunks) {
        b.insert(b.end(), id, id + 4);
        put32(b, static_cast<uint32_t>(text.size()));
        b.insert(b.end(), text.begin(), text.end());
        if (text.size() & 1) b.push_back(0);
    }
    return b;
}

Bytes text(const char* s, bool terminate = true) {
    Bytes b(s, s + std::strlen(s));
    if (terminate) b.push_back(0);
    return b;
}

}  // namespace

TEST(WavIdentify, AcceptsEveryRateWidthAndChannelCountAndRefusesTheRest) {
    const Bytes data = countingPcm(100);
    EXPECT_EQ(identify(WavBuilder().pcmFormat().chunk("data", data).build()).kind, Pcm);
    EXPECT_EQ(identify(WavBuilder().adpcmFormat().chunk("data", Bytes(2048)).build()).kind, Adpcm);
    struct Variant {
        uint16_t tag, channels;
        uint32_t rate;
        uint16_t align, bits;
        int32_t extra;
    };
    // Accepted ones play in-process; the rest go to DirectShow.
    const std::pair<Variant, SourceKind> variants[] = {
        {{1, 1, 44100, 2, 16, -1}, Pcm},          {{1, 2, 48000, 4, 16, -1}, Pcm},
        {{1, 2, 44100, 6, 24, -1}, Pcm},          {{1, 2, 44100, 2, 8, -1}, Pcm},
        {{3, 2, 96000, 8, 32, -1}, Pcm},          {{3, 1, 22050, 8, 64, -1}, Pcm},
        {{1, 8, 192000, 16, 16, -1}, Pcm},        {{1, 1, 8000, 1, 8, -1}, Pcm},
        {{1, 8, 192000, 32, 32, -1}, Pcm},        {{3, 2, 44100, 4, 16, -1}, NoSource},
        {{1, 2, 7999, 4, 16, -1}, NoSource},      {{1, 2, 192001, 4, 16, -1}, NoSource},
        {{1, 9, 44100, 18, 16, -1}, NoSource},    {{1, 0, 44100, 0, 16, -1}, NoSource},
        {{1, 2, 44100, 4, 12, -1}, NoSource},     {{1, 2, 44100, 8, 16, -1}, NoSource},
        {{2, 2, 44100, 1024, 4, 32}, NoSource},   {{2, 1, 44100, 2048, 4, 32}, NoSource},
        {{2, 2, 22050, 2048, 4, 32}, NoSource},   {{2, 2, 44100, 2048, 4, 0}, NoSource},
        {{0x11, 2, 44100, 2048, 4, 2}, NoSource}, {{1, 2, 44100, 4, 24, -1}, NoSource},
        {{3, 1, 44100, 8, 32, -1}, NoSource},     {{1, 2, 44100, 6, 16, -1}, NoSource}};
    for (const auto& [v, kind] : variants) {
        Bytes f = WavBuilder()
                      .fmt(v.tag, v.channels, v.rate, v.align, v.bits, v.extra)
                      .chunk("data", data)
                      .build();
        EXPECT_EQ(identify(f).kind, kind)
            << v.tag << "/" << v.channels << "/" << v.rate << "/" << v.align;
    }
}

// Extended format chunks as the player takes them: WAVE_FORMAT_EXTENSIBLE
// and MS ADPCM with its samples per block, opened in-process as their kind or
// refused (and left to DirectShow).
TEST(WavFormats, OpensExtensibleAndAdpcmChunksInRangeAndRefusesTheRest) {
    const Bytes data = countingPcm(100);
    const Bytes adpcmBlocks(4096, 0x11);
    auto extensible = [&](uint16_t channels, uint16_t bits, uint16_t valid, uint16_t subFormat,
                          uint16_t cbSize = 22) {
        return WavBuilder()
            .extensibleFormat(channels, 48000, bits, valid, subFormat, cbSize)
            .chunk("data", data)
            .build();
    };
    auto adpcm = [&](uint16_t channels, uint32_t rate, uint16_t align, uint16_t perBlock) {
        return WavBuilder()
            .adpcmFormat(channels, rate, align, perBlock)
            .chunk("data", adpcmBlocks)
            .build();
    };
    const std::pair<const char*, Bytes> opened[] = {
        {"EXTENSIBLE PCM 24 in 24", extensible(2, 24, 24, 1)},
        {"EXTENSIBLE PCM 24 in 32", extensible(2, 32, 24, 1)},
        {"EXTENSIBLE PCM, valid bits 0", extensible(2, 16, 0, 1)},
        {"EXTENSIBLE float, 6 channels", extensible(6, 32, 32, 3)},
        {"EXTENSIBLE with more than 22 extra bytes", extensible(2, 16, 16, 1, 30)},
        {"ADPCM, today's kind", WavBuilder().adpcmFormat().chunk("data", adpcmBlocks).build()},
        {"ADPCM, today's kind whatever its samples per block", adpcm(2, 44100, 2048, 1)},
        {"ADPCM mono 22050", adpcm(1, 22050, 512, 1012)},
        {"ADPCM stereo 48000, 1024-byte blocks", adpcm(2, 48000, 1024, 1012)},
    };
    const std::pair<const char*, Bytes> refused[] = {
        {"EXTENSIBLE with 21 extra bytes", extensible(2, 16, 16, 1, 21)},
        {"EXTENSIBLE without extra bytes", extensible(2, 16, 16, 1, 0)},
        {"EXTENSIBLE of an unknown SubFormat", extensible(2, 16, 16, 2)},
        {"EXTENSIBLE valid bits above the container", extensible(2, 24, 32, 1)},
        {"EXTENSIBLE float of 16 bits", extensible(2, 16, 16, 3)},
        {"ADPCM mono 22050, samples per block 0", adpcm(1, 22050, 512, 0)},
        {"ADPCM samples per block against the block align", adpcm(1, 22050, 512, 1000)},
        {"ADPCM of 3 channels", adpcm(3, 22050, 1024, 1012)},
    };
    TempDir dir;
    int n = 0;
    for (const auto& [what, file] : opened) {
        NativePlayer player;
        const std::string path = dir.write("a" + std::to_string(++n) + ".wav", file);
        EXPECT_GE(player.open(path.c_str(), -1, 0, nullptr), 0) << what;
        EXPECT_EQ(player.kind(), std::strstr(what, "ADPCM") ? Adpcm : Pcm) << what;
    }
    for (const auto& [what, file] : refused) {
        NativePlayer player;
        const std::string path = dir.write("r" + std::to_string(++n) + ".wav", file);
        EXPECT_EQ(player.open(path.c_str(), -1, 0, nullptr), -1) << what;
        EXPECT_EQ(player.kind(), NoSource) << what;
    }
}

// Float samples of any value play: 32-bit ones reach the device unchanged,
// 64-bit ones as the nearest float 32 (beyond its range, infinity).
TEST(WavFormats, FloatSamplesOfAnyValuePlay) {
    const float nan32 = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float f32[] = {nan32, inf, -inf, 1e30f, -1e30f, 3.5f, 1e-40f, -0.0f, 0.25f, -1.0f};
    Bytes f32Data(sizeof f32);
    std::memcpy(f32Data.data(), f32, sizeof f32);
    TempDir dir;
    const std::string single =
        dir.write("f32.wav", WavBuilder().fmt(3, 2, 48000, 8, 32).chunk("data", f32Data).build());
    EXPECT_EQ(firstDifference(render(single, mode(Single, 0)), f32Data), -1);

    const double nan64 = std::numeric_limits<double>::quiet_NaN();
    const double f64[] = {1e300, -1e300, 1e39,
                          nan64, 1e-320, 3.5,
                          0.1,   -1.0,   std::numeric_limits<double>::infinity()};
    const float nearest[] = {inf, -inf, inf, nan32, 0.0f, 3.5f, 0.1f, -1.0f, inf};
    Bytes f64Data(sizeof f64);
    std::memcpy(f64Data.data(), f64, sizeof f64);
    const std::string doubles =
        dir.write("f64.wav", WavBuilder().fmt(3, 1, 44100, 8, 64).chunk("data", f64Data).build());
    const Bytes out = render(doubles, mode(Single, 0));
    ASSERT_EQ(out.size(), sizeof nearest);
    for (size_t i = 0; i < std::size(nearest); ++i) {
        float got;
        std::memcpy(&got, &out[4 * i], 4);
        if (std::isnan(nearest[i]))
            EXPECT_TRUE(std::isnan(got)) << i;
        else
            EXPECT_EQ(std::memcmp(&got, &nearest[i], 4), 0) << i << ": " << got;
    }
}

TEST(WavIdentify, PcmNeedsARiffSizeBelowTheFileSize) {
    Bytes f = WavBuilder().pcmFormat().chunk("data", countingPcm(10)).build();
    EXPECT_EQ(
        identify(WavBuilder().pcmFormat().chunk("data", countingPcm(10)).build(f.size())).kind,
        NoSource);
    EXPECT_EQ(
        identify(WavBuilder().pcmFormat().chunk("data", countingPcm(10)).build(0xFFFFFFFF)).kind,
        NoSource);
    EXPECT_EQ(
        identify(WavBuilder().pcmFormat().chunk("data", countingPcm(10)).build(f.size() - 1)).kind,
        Pcm);
    // The fmt chunk must come first.
    Bytes late =
        WavBuilder().chunk("junk", Bytes(4)).pcmFormat().chunk("data", countingPcm(10)).build();
    EXPECT_EQ(identify(late).kind, NoSource);
}

TEST(WavIdentify, ReadsLengthLoopAndInfo) {
    TrackInfo t;
    WavLayout l =
        identify(WavBuilder()
                     .pcmFormat()
                     .chunk("LIST", info({{"INAM", text("Song")}, {"IART", text("Band")}}))
                     .chunk("data", countingPcm(1000))
                     .smpl(100, 900)
                     .build(),
                 t);
    EXPECT_EQ(l.kind, Pcm);
    EXPECT_EQ(l.dataOffset, 12u + 24 + (8 + 4 + 14 + 14) + 8);
    EXPECT_EQ(t.length, 4000u);
    EXPECT_EQ(t.hasLoop, 1);
    EXPECT_EQ(t.loopStart, 100u);
    EXPECT_EQ(t.loopEnd, 900u);
    EXPECT_STREQ(t.title, "Song");
    EXPECT_STREQ(t.artist, "Band");
}

TEST(WavIdentify, SmplEdgeCases) {
    TrackInfo none;
    identify(WavBuilder().pcmFormat().chunk("data", countingPcm(10)).smpl(5, 9, 0).build(), none);
    EXPECT_EQ(none.hasLoop, 0);
    EXPECT_EQ(none.loopStart, 0u);
    EXPECT_EQ(none.loopEnd, 0u);
    TrackInfo equal;
    identify(WavBuilder().pcmFormat().chunk("data", countingPcm(10)).smpl(7, 7).build(), equal);
    EXPECT_EQ(equal.hasLoop, 0);
    EXPECT_EQ(equal.loopStart, 7u);
    EXPECT_EQ(equal.loopEnd, 7u);
    // A later smpl replaces the values; the flag, once set, stays.
    TrackInfo later;
    identify(WavBuilder().pcmFormat().chunk("data", countingPcm(10)).smpl(1, 5).smpl(9, 3).build(),
             later);
    EXPECT_EQ(later.hasLoop, 1);
    EXPECT_EQ(later.loopStart, 9u);
    EXPECT_EQ(later.loopEnd, 3u);
    // A huge loop count with a chunk too short for one record reads nothing.
    Bytes shortSmpl(36, 0);
    shortSmpl[28] = shortSmpl[29] = shortSmpl[30] = shortSmpl[31] = 0xFF;
    TrackInfo huge;
    identify(
        WavBuilder().pcmFormat().chunk("data", countingPcm(10)).chunk("smpl", shortSmpl).build(),
        huge);
    EXPECT_EQ(huge.hasLoop, 0);
}

// A cue loop counts only where no smpl loop is found.
TEST(WavIdentify, CueLoopWithoutASmplLoop) {
    struct Row {
        const char* what;
        WavBuilder file;
        int32_t hasLoop;
        uint32_t start, end;
    };
    const Bytes data = countingPcm(10);
    const Bytes cue = cuePayload({{2, 900}, {1, 100}});
    const Row rows[] = {
        {"cue only", WavBuilder().pcmFormat().chunk("data", data).chunk("cue ", cue), 1, 100, 900},
        {"smpl start equals end", WavBuilder().pcmFormat().smpl(7, 7).chunk("cue ", cue), 1, 100,
         900},
        {"smpl loop first", WavBuilder().pcmFormat().chunk("cue ", cue).smpl(5, 9), 1, 5, 9},
        {"one point", WavBuilder().pcmFormat().smpl(7, 7).chunk("cue ", cuePayload({{1, 3}})), 0, 7,
         7},
        {"cue past the file",
         WavBuilder().pcmFormat().chunk("data", data).chunk("cue ", cue, 1000).raw({0}), 1, 100,
         900},
        {"second point cut by the file",
         WavBuilder()
             .pcmFormat()
             .chunk("data", data)
             .raw(slice(WavBuilder().chunk("cue ", cue).build(), 12, 12 + 8 + 4 + 24 + 23)),
         0, 0, 0},
    };
    for (const Row& r : rows) {
        TrackInfo t;
        identify(r.file.build(), t);
        EXPECT_EQ(t.hasLoop, r.hasLoop) << r.what;
        EXPECT_EQ(t.loopStart, r.start) << r.what;
        EXPECT_EQ(t.loopEnd, r.end) << r.what;
    }
    TrackInfo known;
    known.infoKnown = 1;
    identify(WavBuilder().pcmFormat().chunk("cue ", cue).build(), known);
    EXPECT_EQ(known.hasLoop, 0);
}

TEST(WavIdentify, InfoTextLimits) {
    TrackInfo t;
    identify(WavBuilder()
                 .pcmFormat()
                 .chunk("LIST", info({{"INAM", text("Title", false)}}))
                 .chunk("data", {})
                 .build(),
             t);
    EXPECT_STREQ(t.title, "Titl");  // the size counts the terminator
    // Size -1: copied up to the first zero, at most 259 characters.
    Bytes list = {'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M', 0xFF, 0xFF, 0xFF, 0xFF};
    Bytes long_(400, 'x');
    list.insert(list.end(), long_.begin(), long_.end());
    TrackInfo u;
    identify(WavBuilder().pcmFormat().chunk("data", {}).chunk("LIST", list).build(), u);
    EXPECT_EQ(std::strlen(u.title), 259u);
    // A text without terminator at the very end of the file stops at the end.
    Bytes tail = {'I', 'N', 'F', 'O', 'I', 'A', 'R', 'T', 200, 0, 0, 0, 'a', 'b', 'c'};
    TrackInfo v;
    identify(WavBuilder().pcmFormat().chunk("data", {}).chunk("LIST", tail, 300).build(), v);
    EXPECT_STREQ(v.artist, "abc");
}

TEST(WavIdentify, InfoNeverSplitsADoubleByteCharacter) {
    // 258 ASCII bytes, then a two-byte character that would straddle the limit.
    Bytes name(258, 'a');
    name.push_back(0x95);
    name.push_back(0x5C);
    name.push_back(0);
    TrackInfo t;
    identify(
        WavBuilder().pcmFormat().chunk("data", {}).chunk("LIST", info({{"INAM", name}})).build(),
        t);
    EXPECT_EQ(std::strlen(t.title), 258u);
}

TEST(WavIdentify, OddChunksAreNotPadded) {
    TrackInfo t;
    WavLayout l = identify(WavBuilder()
                               .pcmFormat()
                               .chunk("junk", Bytes(3))
                               .chunk("data", countingPcm(20))
                               .smpl(2, 9)
                               .build(),
                           t);
    EXPECT_EQ(l.dataOffset, 20u + 16 + 8 + 3 + 8);
    EXPECT_EQ(t.hasLoop, 1);
    // With a pad byte, the walk lands one byte off and finds no data chunk.
    WavLayout padded = identify(WavBuilder()
                                    .pcmFormat()
                                    .chunk("junk", Bytes(3), -1, true)
                                    .chunk("data", countingPcm(20))
                                    .build());
    EXPECT_EQ(padded.dataOffset, 0u);
}

TEST(WavIdentify, AdpcmLengthCountsWholeBlocks) {
    TrackInfo t;
    identify(WavBuilder().adpcmFormat().chunk("data", Bytes(5000)).build(), t);
    EXPECT_EQ(t.length, 16288u);
}

TEST(WavIdentify, PcmLengthIsWholeFrames) {
    TrackInfo t;
    identify(WavBuilder().pcmFormat().chunk("data", Bytes(4003)).build(), t);
    EXPECT_EQ(t.length, 4000u);
}

TEST(WavIdentify, TemplateLoopWinsButFileTextsReplaceTemplateTexts) {
    TrackInfo t;
    t.infoKnown = 1;
    t.length = 123;
    t.hasLoop = 1;
    t.loopStart = 1;
    t.loopEnd = 2;
    std::strcpy(t.title, "From list");
    identify(WavBuilder()
                 .pcmFormat()
                 .chunk("LIST", info({{"INAM", text("From file")}}))
                 .chunk("data", countingPcm(9))
                 .smpl(3, 4)
                 .build(),
             t);
    EXPECT_EQ(t.length, 123u);
    EXPECT_EQ(t.loopStart, 1u);
    EXPECT_STREQ(t.title, "From file");
}

// Damaged files: each is refused or read only as far as it holds, with no
// read outside the bytes (ASan in the sanitizer build) and no hang.
TEST(WavDamaged, ChunkWalkSurvivesEveryLie) {
    const Bytes pcm = countingPcm(50);
    std::vector<std::pair<const char*, Bytes>> files = {
        {"header cut inside fmt", slice(WavBuilder().pcmFormat().build(), 0, 30)},
        {"chunk header cut", slice(WavBuilder().pcmFormat().chunk("data", pcm).build(), 0, 48)},
        {"data past the end", WavBuilder().pcmFormat().chunk("data", pcm, 1 << 30).build()},
        {"data size -1", WavBuilder().pcmFormat().chunk("data", pcm, 0xFFFFFFFF).build()},
        {"chunk size -1 before data",
         WavBuilder().pcmFormat().chunk("junk", Bytes(8), 0xFFFFFFFF).chunk("data", pcm).build()},
        {"chunk size wraps to zero",
         WavBuilder().pcmFormat().chunk("junk", Bytes(8), 0xFFFFFFF8).chunk("data", pcm).build()},
        {"fmt size -1", WavBuilder().chunk("fmt ", Bytes(16), 0xFFFFFFFF).build()},
        {"LIST size -1", WavBuilder()
                             .pcmFormat()
                             .chunk("data", pcm)
                             .chunk("LIST", info({{"INAM", text("x")}}), 0xFFFFFFFF)
                             .build()},
        {"INFO subchunk size -1",
         WavBuilder()
             .pcmFormat()
             .chunk("data", pcm)
             .chunk("LIST", {'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M', 0xFF, 0xFF, 0xFF, 0xFF, 'a'})
             .build()},
        {"INFO subchunk header cut", WavBuilder()
                                         .pcmFormat()
                                         .chunk("data", pcm)
                                         .chunk("LIST", {'I', 'N', 'F', 'O', 'I', 'N'}, 40)
                                         .build()},
        {"LIST type cut", WavBuilder()
                              .pcmFormat()
                              .chunk("data", pcm)
                              .raw({'L', 'I', 'S', 'T', 4, 0, 0, 0, 'I', 'N'})
                              .build()},
        {"smpl cut",
         WavBuilder().pcmFormat().chunk("data", pcm).chunk("smpl", Bytes(40, 0xFF), 60).build()},
        {"data size 0", WavBuilder().pcmFormat().chunk("data", {}).build()},
    };
    for (const auto& [what, file] : files) {
        SCOPED_TRACE(what);
        TrackInfo t;
        WavLayout l = identify(file, t);
        if (l.kind != NoSource && l.dataOffset != 0) {
            EXPECT_LE(static_cast<uint64_t>(l.dataOffset) + l.dataBytes, file.size());
            EXPECT_LE(t.length, l.dataBytes);
        }
        EXPECT_LT(std::strlen(t.title), kTextSize);
    }
}

TEST(WavDamaged, DamagedFilesPlayAsFarAsTheyHold) {
    TempDir dir;
    const Bytes pcm = countingPcm(3000);
    // The data chunk claims far more than the file holds.
    std::string past =
        dir.write("past.wav", WavBuilder().pcmFormat().chunk("data", pcm, 1 << 30).build());
    EXPECT_EQ(firstDifference(render(past, mode(Single, 0)), pcm), -1);
    // No data chunk at all: the player refuses it.
    std::string noData =
        dir.write("nodata.wav", WavBuilder().pcmFormat().chunk("junk", pcm).build());
    NativePlayer player;
    EXPECT_EQ(player.open(noData.c_str(), -1, 0, nullptr), -1);
    EXPECT_EQ(player.kind(), NoSource);
    // An empty file and a missing one.
    std::string empty = dir.write("empty.wav", {});
    EXPECT_EQ(player.open(empty.c_str(), -1, 0, nullptr), -1);
    EXPECT_EQ(player.open(dir.path("missing.wav").c_str(), -1, 1, nullptr), -1);
}
