// The seek slider counts frames, so every 32-bit byte length fits a trackbar.
#include <gtest/gtest.h>

#include <cstdint>

#include "ui/seek_scale.h"

namespace tarnuvo {
namespace {

TEST(SeekScale, RangeAndLoopSelectionInFrames) {
    TrackInfo t;
    t.length = 10 * 176400;
    t.hasLoop = 1;
    t.loopStart = 44100;
    t.loopEnd = 5 * 44100;
    SeekScale s = seekScaleFor(t);
    EXPECT_EQ(s.maxFrames, 441000);
    EXPECT_TRUE(s.hasSelection);
    EXPECT_EQ(s.selectionStart, 44100);
    EXPECT_EQ(s.selectionEnd, 220500);
    EXPECT_EQ(kSeekPageFrames * 4, 882000) << "5 s";
    EXPECT_EQ(kSeekLineFrames * 4, 176400) << "1 s";
    t.hasLoop = 0;
    EXPECT_FALSE(seekScaleFor(t).hasSelection);
}

TEST(SeekScale, LengthsBeyond31BitsStayPositive) {
    TrackInfo t;
    t.length = 3000000000u;
    EXPECT_EQ(seekScaleFor(t).maxFrames, 750000000);
    t.length = UINT32_MAX;
    EXPECT_EQ(seekScaleFor(t).maxFrames, 1073741823);
}

TEST(SeekScale, LoopPointsBeyondTheTrackStayOnTheChannel) {
    TrackInfo t;
    t.length = 4000;  // 1000 frames
    t.hasLoop = 1;
    t.loopStart = 3000000000u;
    t.loopEnd = UINT32_MAX;
    SeekScale s = seekScaleFor(t);
    EXPECT_EQ(s.selectionStart, 1000);
    EXPECT_EQ(s.selectionEnd, 1000);
}

TEST(SeekTarget, FourBytesAFrameUpToTheRangeEnd) {
    // One minute: beyond the 16 bits a scroll message carries.
    EXPECT_EQ(seekTargetFor(2646000, UINT32_MAX), 10584000u);
    EXPECT_EQ(seekTargetFor(2646000, 400000), 400000u);
    EXPECT_EQ(seekTargetFor(750000000, UINT32_MAX), 3000000000u);
    // Four times this overflows 32 bits: it clamps, never wraps.
    EXPECT_EQ(seekTargetFor(INT32_MAX, UINT32_MAX), UINT32_MAX);
    EXPECT_EQ(seekTargetFor(1073741824, 8), 8u);
    EXPECT_EQ(seekTargetFor(0, 100), 0u);
    EXPECT_EQ(seekTargetFor(-5, 100), 0u);
}

TEST(SeekClick, ThePointOnTheChannelScalesToTheRange) {
    // Channel 10..110, thumb 10 wide: 95 pixels of span.
    const int32_t left = 10, right = 110, half = 5, max = 950000;
    EXPECT_EQ(clickedFrames(left, left, right, half, max), 0);
    EXPECT_EQ(clickedFrames(left + 19, left, right, half, max), 190000);
    EXPECT_EQ(clickedFrames(left + 95, left, right, half, max), max);
    EXPECT_EQ(clickedFrames(right, left, right, half, max), max) << "the last half thumb";
    EXPECT_EQ(clickedFrames(left - 1, left, right, half, max), -1);
    EXPECT_EQ(clickedFrames(right + 1, left, right, half, max), -1);
    // Truncated, as a point between two frames belongs to the lower one.
    EXPECT_EQ(clickedFrames(left + 1, left, right, half, 100), 1);
}

TEST(SeekClick, NoSpanLeavesTheClickToTheSlider) {
    EXPECT_EQ(clickedFrames(10, 10, 20, 10, 1000), -1);
    EXPECT_EQ(clickedFrames(10, 10, 20, 15, 1000), -1);
    EXPECT_EQ(clickedFrames(12, 10, 10, 0, 1000), -1);
    EXPECT_EQ(clickedFrames(15, 10, 20, 2, 0), -1) << "an empty range";
}

}  // namespace
}  // namespace tarnuvo
