// The panel's texts and record, and the sliders' scales.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/units.h"
#include "ui/panel_content.h"
#include "ui/seek_scale.h"
#include "ui/volume_scale.h"

namespace tarnuvo {
namespace {

const std::string kA = "\x82\xA0";  // "あ" in code page 932
std::string times(const std::string& s, int n) {
    std::string out;
    while (n-- > 0) out += s;
    return out;
}
// Hundredths written out by hand.
std::string clock(uint64_t h) {
    char text[32];
    std::snprintf(text, sizeof text, "%02llu:%02llu.%02llu", (unsigned long long)(h / 6000),
                  (unsigned long long)(h / 100 % 60), (unsigned long long)(h % 100));
    return text;
}

TEST(PanelText, TitleLinesAreBoundedAndCutBetweenCharacters) {
    char out[kTitleLineSize];
    const std::string longest(259, 'T');
    titleLineText(-2147483647 - 1, longest.c_str(), longest.c_str(), out, sizeof out);
    EXPECT_EQ(std::string(out), "-2147483648." + longest + " / " + longest);
    titleLineText(1, "Song", "", out, sizeof out);
    EXPECT_STREQ(out, "01.Song");
    titleLineText(1, times(kA, 3).c_str(), "", out, 9);  // room for 8 bytes
    EXPECT_EQ(std::string(out), "01." + times(kA, 2));
    TrackInfo unterminated;  // 260 bytes of characters: the last one does not fit
    for (size_t i = 0; i < sizeof unterminated.title; i += 2)
        std::memcpy(unterminated.title + i, kA.data(), 2);
    titleLineText(1, unterminated.title, "", out, sizeof out);
    EXPECT_EQ(std::string(out), "01." + times(kA, 129));
}

TEST(PanelText, TimesCountersLoopLinesAndPopupItems) {
    // The last number before the text: time units to the end of a fade, -1 without one.
    const struct {
        int32_t mode;
        uint32_t elapsed, position, length;
        int64_t fadeLeft;
        std::string text;
    } cases[] = {{0, 6000 * 176400u, 0, 0, -1, "+100:00.00"},
                 {1, 0, 176400, 0, -1, "00:01.00"},
                 {2, 0, 176400, 3 * 176400, -1, "-00:02.00"},
                 {2, 0, 176400, 0, -1, "-00:00.00"},  // stored without a length
                 {2, 0, UINT32_MAX, 1, -1, "-00:00.00"},
                 {2, 0, 0, UINT32_MAX, -1, "-" + clock(UINT32_MAX / 1764)},
                 {7, 5, 0, 0, -1, "+00:00.00"},
                 // A fade counts down to its own end, past the length too.
                 {2, 0, 176400, 3 * 176400, 12 * 176400 + 1764, "-00:12.01"},
                 {2, 0, 5 * 176400, 3 * 176400, 176400, "-00:01.00"},
                 {2, 0, 0, 0, int64_t{1} << 40, "-" + clock(UINT32_MAX / 1764)},
                 {0, 176400, 0, 0, 5 * 176400, "+00:01.00"},
                 {1, 0, 2 * 176400, 0, 5 * 176400, "00:02.00"}};
    for (const auto& c : cases) {
        char out[kTimeTextSize];
        timeValueText(c.mode, c.elapsed, c.position, c.length, c.fadeLeft, out, sizeof out);
        EXPECT_EQ(out, c.text) << c.fadeLeft;
    }
    char counter[kCounterTextSize], loop[kLoopLineSize], popup[kPopupTextSize];
    counterText(123, 5, counter, sizeof counter);
    EXPECT_STREQ(counter, "23/05");
    // Four times these points does not fit in 32 bits.
    loopLineText(1u << 30, UINT32_MAX, 0, loop, sizeof loop);
    EXPECT_EQ(std::string(loop),
              "LoopTime: " + clock((1ull << 30) / 441) + "-" + clock(UINT32_MAX / 441ull));
    loopLineText(96000, 1440000, 48000, loop, sizeof loop);
    EXPECT_STREQ(loop, "LoopTime: 00:02.00-00:30.00") << "frames at the track's own rate";
    const std::pair<std::string, std::string> items[] = {
        {"Rock & Roll", "02.Rock && Roll"},
        {std::string(40, '&'), "02." + std::string(54, '&')},  // cut first, then doubled
        {times(kA, 14), "02." + times(kA, 13)},
        {"\x83\x5C&\x83\x7C", "02.\x83\x5C&&\x83\x7C"}};  // trail bytes stay as they are
    for (const auto& [title, text] : items) {
        trackPopupText(2, title.c_str(), popup, sizeof popup);
        EXPECT_EQ(popup, text);
    }
}

TEST(PanelContent, LengthAndLoopTimesOfATrackAtItsOwnRate) {
    TrackInfo t;
    t.sampleRate = 48000;
    t.frameCount = 1500123;
    t.length = 5512952;
    t.hasLoop = 1;
    t.loopStart = 96000;
    t.loopEnd = 1440000;
    PanelSource s;
    s.shown = &t;
    PanelContent c;
    gatherPanelContent(s, c);
    EXPECT_STREQ(c.length, " / 00:31.25");
    EXPECT_STREQ(c.loopTimes, "00:02.00-00:30.00");
}

TEST(PanelContent, LoadingAndAPlayerWithoutAnEntry) {
    TrackInfo t;
    t.hasLoop = 1;
    PanelSource s;
    s.shown = &t;
    s.listHasEntries = true;
    s.playerLoading = 1;
    PanelContent c;
    gatherPanelContent(s, c);
    EXPECT_STREQ(c.title, "") << "no entry, no number";
    EXPECT_EQ(c.fileLine, FileLine::Loading);
    EXPECT_STREQ(c.loopTimes, "00:00.00-00:00.00");
}

TEST(SeekScale, FramesFitEveryLengthAndTargetsNeverWrap) {
    // Length (time units), rate, loop points (the track's frames), then the
    // slider's range and selection in 44,100 Hz frames.
    const struct {
        uint32_t length, rate, loopStart, loopEnd;
        int32_t maxFrames, selectionStart, selectionEnd;
    } cases[] = {
        // The end lies beyond the track: the selection stays on the channel.
        {3000000000u, 0, 44100, UINT32_MAX, 750000000, 44100, 750000000},
        {5512952, 48000, 96000, 1440000, 1378238, 88200, 1323000},
        {4294967292u, 8000, 8000, UINT32_MAX, 1073741823, 44100, 1073741823},
    };
    for (const auto& c : cases) {
        TrackInfo t;
        t.length = c.length;
        t.sampleRate = c.rate;
        t.hasLoop = 1;
        t.loopStart = c.loopStart;
        t.loopEnd = c.loopEnd;
        const SeekScale s = seekScaleFor(t);
        EXPECT_EQ(s.maxFrames, c.maxFrames) << c.rate;
        EXPECT_EQ(s.selectionStart, c.selectionStart) << c.rate;
        EXPECT_EQ(s.selectionEnd, c.selectionEnd) << c.rate;
    }
    // 1:00.00 at any rate; the player lands it on the frame at or before.
    EXPECT_EQ(seekTargetFor(2646000, UINT32_MAX), 10584000u);
    EXPECT_EQ(framesFromUnits(10584000, 48000), 2880000u);
    EXPECT_EQ(seekTargetFor(2646000, 400000), 400000u);
    EXPECT_EQ(seekTargetFor(INT32_MAX, UINT32_MAX), UINT32_MAX);
    EXPECT_EQ(seekTargetFor(-5, 100), 0u);
    // Channel 10..110, thumb 10 wide: 95 pixels of span.
    EXPECT_EQ(clickedFrames(29, 10, 110, 5, 950000), 190000);
    EXPECT_EQ(clickedFrames(110, 10, 110, 5, 950000), 950000);
    EXPECT_EQ(clickedFrames(9, 10, 110, 5, 950000), -1);
    EXPECT_EQ(clickedFrames(15, 10, 20, 10, 1000), -1) << "no span left";
}

TEST(VolumeScale, PositionsComeBackAndDecibelsAreTruncated) {
    int creeps = 0;
    for (int32_t s = 0; s <= 1000; ++s) {
        const uint64_t v = volumeForSlider(s);
        ASSERT_TRUE(v * 1000 <= s * 65535ull && (v + 1) * 1000 > s * 65535ull) << s;
        ASSERT_EQ(sliderForVolume(static_cast<uint32_t>(v) | 0xABCD0000u), s);
        creeps += int32_t(v * 1000 / 65535) != s;
    }
    EXPECT_EQ(creeps, 995) << "what truncation would have done";
    EXPECT_EQ(sliderForVolume(0xFFFFFFFFu), 1000);
    char text[kDecibelTextSize];
    const std::pair<uint32_t, const char*> known[] = {
        {65535, "-0.00 dB"}, {32767, "-6.02 dB"}, {0, "-100.00 dB"}, {1, "-96.32 dB"}};
    for (const auto& [level, expected] : known) {
        volumeDecibelText(level, text, sizeof text);
        EXPECT_STREQ(text, expected);
    }
    for (uint32_t v = 1; v < 65535; v += 7) {
        volumeDecibelText(v, text, sizeof text);
        int whole = 0, hundredths = 0;
        ASSERT_EQ(std::sscanf(text, "-%d.%d dB", &whole, &hundredths), 2);
        const double shown = -(whole + hundredths / 100.0), exact = 20 * std::log10(v / 65535.0);
        ASSERT_TRUE(exact <= shown + 1e-9 && exact > shown - 0.01 - 1e-9) << v;
    }
}

}  // namespace
}  // namespace tarnuvo
