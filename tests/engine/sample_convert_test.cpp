#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/downmix.h"
#include "engine/native_player.h"
#include "engine/sample_convert.h"
#include "engine/units.h"
#include "tests/engine/test_support.h"

using namespace testing_support;
using namespace tarnuvo;

TEST(SampleConvert, FallbackDevicesRoundClampAndSilenceNaN) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float in;
        int16_t rounded, truncated;
    };
    // rounded: a float in -1..1 on a 16-bit device; truncated: an int16-scale value.
    const Case cases[] = {
        {0.5f / 32768, 0, 0},
        {1.5f / 32768, 2, 0},
        {2.5f / 32768, 2, 0},
        {-1.5f / 32768, -2, 0},
        {1.0f, 32767, 1},
        {-1.0f, -32768, -1},
        {2.0f, 32767, 2},
        {-2.0f, -32768, -2},
        {nan, 0, 0},
        {inf, 32767, 32767},
        {-inf, -32768, -32768},
        {32767.9f, 32767, 32767},
        {-32768.9f, -32768, -32768},
        {-0.9f, -29491, 0},
        {100.7f, 32767, 100},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(roundToDevice16(c.in), c.rounded) << c.in;
        EXPECT_EQ(truncateToDevice16(c.in), c.truncated) << c.in;
    }
}

TEST(SampleConvert, DownmixKeepsFullScaleAndDropsTheLowFrequencies) {
    struct Case {
        DownmixMatrix m;
        int lfe;  // the low-frequency channel's index, -1 for none
    };
    const Case cases[] = {{downmixForVorbis(6), 5},
                          {downmixForMask(6, defaultChannelMask(6)), 3},
                          {downmixForVorbis(3), -1},
                          {downmixForMask(8, defaultChannelMask(8)), 3},
                          {downmixForVorbis(8), 7}};
    for (const Case& c : cases) {
        float left = 0, right = 0;
        for (uint32_t i = 0; i < c.m.channels; ++i) {
            left += c.m.left[i];
            right += c.m.right[i];
        }
        // The same signal on every channel comes out at (almost) the same level.
        EXPECT_NEAR(left, 1.0f, 1e-6f) << c.m.channels;
        EXPECT_NEAR(right, 1.0f, 1e-6f) << c.m.channels;
        if (c.lfe >= 0) {
            EXPECT_EQ(c.m.left[c.lfe], 0.0f);
            EXPECT_EQ(c.m.right[c.lfe], 0.0f);
        }
    }
    // Vorbis 5.1 is L C R Ls Rs LFE: the centre goes to both sides.
    const DownmixMatrix v = downmixForVorbis(6);
    EXPECT_GT(v.left[1], 0.0f);
    EXPECT_EQ(v.left[1], v.right[1]);
    EXPECT_EQ(v.right[0], 0.0f);
    EXPECT_EQ(v.left[2], 0.0f);
}

TEST(SampleConvert, FloatSamplesReachAFloatDeviceUnchanged) {
    SourceFormat source;
    source.rate = 48000;
    source.channels = 2;
    source.type = SampleType::F32;
    OutputStage stage;
    stage.configure(source, preferredDevice(source));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float in[4] = {nan, 3.5f, -std::numeric_limits<float>::infinity(), -0.0f};
    float out[4] = {};
    stage.render(in, 2, reinterpret_cast<uint8_t*>(out));
    EXPECT_EQ(std::memcmp(in, out, sizeof in), 0);
}

// An entry stored before rates were: the file's own end, its loop when the
// entry had none, the entry's loop converted from 44,100 Hz frames otherwise.
TEST(SampleConvert, EntriesWithoutARateTakeTheFilesOwnEndAndConvertTheirLoop) {
    const std::string path = fixture("vorbis_48k.ogg");
    NativePlayer own;
    ASSERT_GE(own.open(path.c_str(), -1, 0, nullptr), 0);
    ASSERT_EQ(own.sampleRate, 48000u);
    struct Case {
        uint32_t rate, length;
        int32_t hasLoop;
        uint32_t start, end;
        uint32_t wantStart, wantEnd, wantFrames;
    };
    const Case cases[] = {
        // DirectShow's length and no loop: everything from the file.
        {0, 1000, 0, 0, 0, own.loopStart, own.loopEnd, own.frameCount},
        // A loop in 44,100 Hz frames, converted to 48,000 Hz.
        {0, 1000, 1, 44100, 88200, 48000, 96000, own.frameCount},
        // The list knew the rate: its values stand.
        {48000, 4000, 1, 480, 960, 480, 960, 1000},
    };
    for (const Case& c : cases) {
        TrackInfo entry;
        entry.sampleRate = c.rate;
        entry.length = c.length;
        entry.frameCount = c.rate ? 1000 : 0;
        entry.hasLoop = c.hasLoop;
        entry.loopStart = c.start;
        entry.loopEnd = c.end;
        NativePlayer p;
        ASSERT_GE(p.open(path.c_str(), 0, 0, &entry), 0);
        EXPECT_EQ(p.sampleRate, 48000u);
        EXPECT_EQ(p.loopStart, c.wantStart) << c.rate << "/" << c.start;
        EXPECT_EQ(p.loopEnd, c.wantEnd) << c.rate << "/" << c.start;
        EXPECT_EQ(p.frameCount, c.wantFrames) << c.rate << "/" << c.start;
    }
}
