// The volume slider's positions against the 16-bit gain, and the decibels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "ui/volume_scale.h"

namespace tarnuvo {
namespace {

TEST(VolumeScale, PositionsGiveTruncatedGains) {
    EXPECT_EQ(volumeForSlider(1000), 65535u);
    EXPECT_EQ(volumeForSlider(500), 32767u);
    EXPECT_EQ(volumeForSlider(0), 0u);
    EXPECT_EQ(volumeForSlider(1001), 65535u);
    EXPECT_EQ(volumeForSlider(-1), 0u);
    for (int32_t s = 0; s <= 1000; ++s) {
        // The largest gain not above s thousandths of full volume.
        const uint64_t v = volumeForSlider(s);
        ASSERT_LE(v * 1000, uint64_t(s) * 65535) << s;
        ASSERT_GT((v + 1) * 1000, uint64_t(s) * 65535) << s;
    }
}

TEST(VolumeScale, EveryPositionComesBackUnchanged) {
    int truncatedCreeps = 0;
    for (int32_t s = 0; s <= 1000; ++s) {
        const uint32_t v = volumeForSlider(s);
        ASSERT_EQ(sliderForVolume(v), s) << s;
        ASSERT_EQ(sliderForVolume(v | 0xABCD0000u), s) << "only the low word counts";
        if (int32_t(v * 1000 / 65535) != s) ++truncatedCreeps;
    }
    // What plain truncation would have done.
    EXPECT_EQ(truncatedCreeps, 995);
}

TEST(VolumeScale, AnUntouchedPlayerReadsFullVolume) {
    EXPECT_EQ(sliderForVolume(0xFFFFFFFFu), 1000);
    EXPECT_EQ(sliderForVolume(0), 0);
}

std::string decibels(uint32_t level) {
    char out[kDecibelTextSize];
    volumeDecibelText(level, out, sizeof out);
    return out;
}

TEST(VolumeTooltip, KnownLevels) {
    EXPECT_EQ(decibels(65535), "-0.00 dB");
    EXPECT_EQ(decibels(0xFFFFFFFFu), "-0.00 dB");
    EXPECT_EQ(decibels(32767), "-6.02 dB");
    EXPECT_EQ(decibels(0), "-100.00 dB");
    EXPECT_EQ(decibels(0x12340000u), "-100.00 dB");
    EXPECT_EQ(decibels(1), "-96.32 dB");
}

TEST(VolumeTooltip, EveryGainReadsItsDecibelsTruncatedTowardZero) {
    for (uint32_t v = 1; v < 65535; ++v) {
        const std::string text = decibels(v);
        int whole = 0, hundredths = 0;
        ASSERT_EQ(std::sscanf(text.c_str(), "-%d.%d dB", &whole, &hundredths), 2) << text;
        const long double shown = -(whole + hundredths / 100.0L);
        const long double exact = 20.0L * std::log10(static_cast<long double>(v) / 65535.0L);
        // Truncated toward zero: never below the exact value, less than a
        // hundredth above it.
        ASSERT_LE(exact, shown + 1e-9L) << v;
        ASSERT_GT(exact, shown - 0.01L - 1e-9L) << v;
    }
}

}  // namespace
}  // namespace tarnuvo
