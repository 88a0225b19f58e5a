#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "engine/adpcm.h"
#include "engine/wav_source.h"
#include "tests/engine/adpcm_reference.h"
#include "tests/engine/test_support.h"

using namespace testing_support;
using namespace tarnuvo;

namespace {

// The data chunk of a sox-made fixture, found without the engine's walk.
Bytes fixtureAdpcmData(const char* name = "adpcm_loop.wav") {
    return riffChunk(readFile(fixture(name)), "data");
}

Bytes block(uint8_t predL, uint8_t predR, int16_t delta, int16_t s1, int16_t s2, uint8_t nibbles) {
    Bytes b;
    b.push_back(predL);
    b.push_back(predR);
    put16(b, static_cast<uint16_t>(delta));
    put16(b, static_cast<uint16_t>(delta));
    put16(b, static_cast<uint16_t>(s1));
    put16(b, static_cast<uint16_t>(s1));
    put16(b, static_cast<uint16_t>(s2));
    put16(b, static_cast<uint16_t>(s2));
    b.resize(2048, nibbles);
    return b;
}

int16_t sampleAt(const uint8_t* pcm, size_t index) {
    return static_cast<int16_t>(pcm[2 * index] | pcm[2 * index + 1] << 8);
}

}  // namespace

TEST(Adpcm, ReferenceDecoderAgreesWithSox) {
    // Validates the test's own decoder: sox rounds the prediction down.
    const struct {
        const char *wav, *sox;
        int channels;
        size_t align;
    } files[] = {{"adpcm_loop.wav", "adpcm_ref.raw", 2, 2048},
                 {"adpcm_22050_mono.wav", "adpcm_22050_mono.raw", 1, 512},
                 {"adpcm_48000_stereo.wav", "adpcm_48000_stereo.raw", 2, 2048}};
    for (const auto& f : files) {
        Bytes data = fixtureAdpcmData(f.wav);
        ASSERT_GE(data.size(), f.align * 10) << f.wav;
        Bytes format = riffChunk(readFile(fixture(f.wav)), "fmt ");
        ASSERT_EQ(format[12] | format[13] << 8, static_cast<int>(f.align)) << f.wav;
        Bytes sox = readFile(fixture(f.sox));
        EXPECT_EQ(firstDifference(
                      referenceAdpcm(data.data(), data.size(), true, f.channels, f.align), sox),
                  -1)
            << f.wav;
    }
}

TEST(Adpcm, RandomAccessMatchesSequentialDecoding) {
    Bytes data = fixtureAdpcmData();
    Bytes want = referenceAdpcm(data.data(), data.size(), false);
    std::mt19937 rng(7);
    uint8_t out[8192];
    // Block edges, the documented cases and random stretches.
    const uint32_t fixed[][2] = {{0, 8192},
                                 {8144, 4},
                                 {8140, 8},
                                 {8143 * 2, 8192},
                                 {static_cast<uint32_t>(want.size()) - 4, 4}};
    for (const auto& f : fixed) {
        decodeAdpcm(out, data.data(), static_cast<uint32_t>(data.size()), f[0], f[1]);
        ASSERT_EQ(std::memcmp(out, &want[f[0]], f[1]), 0) << f[0] << "+" << f[1];
    }
    for (int i = 0; i < 300; ++i) {
        uint32_t n = 4 * (1 + rng() % 2048);
        uint32_t p = 4 * (rng() % ((want.size() - n) / 4));
        decodeAdpcm(out, data.data(), static_cast<uint32_t>(data.size()), p, n);
        ASSERT_EQ(std::memcmp(out, &want[p], n), 0) << p << "+" << n;
    }
}

TEST(Adpcm, BlockStartsWithTheOlderInitialSample) {
    Bytes b = block(0, 0, 16, 1000, -2000, 0);
    Bytes two = b;
    Bytes second = block(0, 0, 16, 111, 222, 0);
    two.insert(two.end(), second.begin(), second.end());
    uint8_t out[8];
    decodeAdpcm(out, two.data(), static_cast<uint32_t>(two.size()), 0, 8);
    EXPECT_EQ(sampleAt(out, 0), -2000);
    EXPECT_EQ(sampleAt(out, 2), 1000);
    decodeAdpcm(out, two.data(), static_cast<uint32_t>(two.size()), 8144, 4);
    EXPECT_EQ(sampleAt(out, 0), 222);
    EXPECT_EQ(sampleAt(out, 1), 222);
}

TEST(Adpcm, PredictorAboveSixUsesTheLastPair) {
    for (uint8_t pred : {7, 9, 255}) {
        Bytes high = block(pred, pred, 100, 3000, 1000, 0x12);
        Bytes six = block(6, 6, 100, 3000, 1000, 0x12);
        uint8_t a[8144], b[8144];
        decodeAdpcm(a, high.data(), 2048, 0, 8144);
        decodeAdpcm(b, six.data(), 2048, 0, 8144);
        EXPECT_EQ(std::memcmp(a, b, sizeof(a)), 0) << int(pred);
    }
}

TEST(Adpcm, PredictionSaturatesAndDeltaStaysBounded) {
    // Nibble 7 over and over drives the prediction up and delta far beyond
    // anything an encoder writes; UBSan watches for signed overflow.
    Bytes b = block(1, 1, 32767, 32000, 32000, 0x77);
    uint8_t out[8144];
    decodeAdpcm(out, b.data(), 2048, 0, 8144);
    EXPECT_EQ(sampleAt(out, 4), 32767);
    EXPECT_EQ(sampleAt(out, 4071), 32767);
    Bytes down = block(0, 0, 32767, -32000, -32000, 0x88);
    decodeAdpcm(out, down.data(), 2048, 0, 8144);
    EXPECT_EQ(sampleAt(out, 4071), -32768);
    // A nibble that leaves delta at its floor.
    AdpcmChannel ch{256, 0, 1, 0, 0};
    decodeNibble(ch, 0);
    EXPECT_EQ(ch.delta, 16);
}

TEST(Adpcm, PartialLastBlockIsNotPlayed) {
    Bytes data = block(0, 0, 16, 5, 5, 0x11);
    Bytes partial = block(0, 0, 16, 9, 9, 0x11);
    data.insert(data.end(), partial.begin(), partial.begin() + 952);  // 3000 bytes in all
    TempDir dir;
    std::string path = dir.write("a.wav", WavBuilder().adpcmFormat().chunk("data", data).build());
    RenderResult r;
    Bytes out = render(path, mode(Single, 0), &r);
    EXPECT_EQ(out.size(), 8144u);
    // Reads past the whole blocks give silence instead of leaving the data.
    uint8_t tail[16];
    decodeAdpcm(tail, data.data(), static_cast<uint32_t>(data.size()), 8144, 16);
    EXPECT_TRUE(std::all_of(tail, tail + 16, [](uint8_t v) { return v == 0; }));
}

TEST(LoopStreamAdpcm, LoopMatchesTheSequentialDecode) {
    Bytes data = fixtureAdpcmData();
    Bytes pcm = referenceAdpcm(data.data(), data.size(), false);
    for (uint32_t loops : {0u, 2u}) {
        RenderResult r;
        Bytes out =
            render(fixture("adpcm_loop.wav"), mode(RepeatAll, static_cast<int32_t>(loops)), &r);
        EXPECT_EQ(firstDifference(out, expectedLoopStream(pcm, 12345, 70001, loops)), -1) << loops;
    }
    Bytes endless = render(fixture("adpcm_loop.wav"), mode(RepeatOne, 0, 900000));
    EXPECT_EQ(firstDifference(endless, expectedEndless(pcm, 0, 12345 * 4, 70001 * 4, 900000)), -1);
}
