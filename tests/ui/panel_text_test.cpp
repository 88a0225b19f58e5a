// The panel's texts: bounded, cut on character boundaries, never negative.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/panel_text.h"

namespace tarnuvo {
namespace {

// Code page 932: "あ" is 0x82 0xA0.
const std::string kA = "\x82\xA0";

std::string repeat(const std::string& piece, int times) {
    std::string s;
    for (int i = 0; i < times; ++i) s += piece;
    return s;
}

// A clock written out by hand: hundredths to "mm:ss.hh".
std::string clockText(uint64_t hundredths) {
    const uint64_t minutes = hundredths / 6000, seconds = hundredths / 100 % 60;
    const uint64_t rest = hundredths % 100;
    auto two = [](uint64_t v) {
        std::string s = std::to_string(v);
        return s.size() < 2 ? "0" + s : s;
    };
    return two(minutes) + ":" + two(seconds) + "." + two(rest);
}

std::string title(int32_t number, const std::string& name, const std::string& artist,
                  size_t size = kTitleLineSize) {
    std::string out(size, '\x7F');
    const size_t n = titleLineText(number, name.c_str(), artist.c_str(), out.data(), size);
    EXPECT_EQ(n, std::strlen(out.c_str()));
    return out.c_str();
}

TEST(PanelTitleLine, NumberTitleAndArtist) {
    EXPECT_EQ(title(1, "Song", "Band"), "01.Song / Band");
    EXPECT_EQ(title(12, "Song", ""), "12.Song");
    EXPECT_EQ(title(100, "", ""), "100.");
}

TEST(PanelTitleLine, TheLongestFieldsFitWhole) {
    const std::string name(259, 'T'), artist(259, 'A');
    const std::string line = title(2147483647, name, artist);
    EXPECT_EQ(line, "2147483647." + name + " / " + artist);
    EXPECT_EQ(line.size() + 1, kTitleLineSize - 1) << "room for the widest number too";
    EXPECT_EQ(title(-2147483647 - 1, name, artist).size(), kTitleLineSize - 1);
}

TEST(PanelTitleLine, FieldsWithoutTerminatorAreReadTo259Bytes) {
    TrackInfo track;
    std::memset(track.title, 'T', sizeof track.title);
    std::memset(track.artist, 'A', sizeof track.artist);
    char out[kTitleLineSize];
    titleLineText(1, track.title, track.artist, out, sizeof out);
    EXPECT_EQ(std::string(out), "01." + std::string(259, 'T') + " / " + std::string(259, 'A'));
}

TEST(PanelTitleLine, AShortBufferCutsBetweenCharacters) {
    // Room for 8 bytes: "01." and two of the three characters.
    EXPECT_EQ(title(1, repeat(kA, 3), "", 9), "01." + repeat(kA, 2));
    EXPECT_EQ(title(1, repeat(kA, 3), "", 10), "01." + repeat(kA, 3));
    // A title whose 259th byte starts a character loses that character.
    const std::string name = std::string(1, 'x') + repeat(kA, 129);  // 259 bytes
    EXPECT_EQ(title(1, name, ""), "01." + name);
    const std::string cut = repeat(kA, 130);  // 260 bytes, unterminated at 259
    EXPECT_EQ(title(1, cut, ""), "01." + repeat(kA, 129));
}

std::string timeValue(int32_t mode, uint32_t elapsed, uint32_t position, uint32_t length) {
    char out[kTimeTextSize];
    timeValueText(mode, elapsed, position, length, out, sizeof out);
    return out;
}

TEST(PanelTimeLine, EachTimeModeWithItsSign) {
    const uint32_t second = 176400;
    EXPECT_EQ(timeValue(TimeElapsed, 7 * second, 1 * second, 3 * second), "+00:07.00");
    EXPECT_EQ(timeValue(TimeSeek, 7 * second, 1 * second, 3 * second), "00:01.00");
    EXPECT_EQ(timeValue(TimeRemaining, 7 * second, 1 * second, 3 * second), "-00:02.00");
    EXPECT_EQ(timeValue(5, 7 * second, 1 * second, 3 * second), "+00:07.00");
}

TEST(PanelTimeLine, HundredMinutesAndMoreRender) {
    EXPECT_EQ(timeValue(TimeElapsed, 176400u * 6000, 0, 0), "+100:00.00");
    EXPECT_EQ(timeValue(TimeElapsed, UINT32_MAX, 0, 0), "+" + clockText(UINT32_MAX / 1764));
    EXPECT_EQ(timeValue(TimeRemaining, 0, 0, UINT32_MAX), "-" + clockText(UINT32_MAX / 1764));
}

TEST(PanelTimeLine, RemainingTimeNeverGoesBelowZero) {
    // No length at all (a stream stored without one) and a stale length.
    EXPECT_EQ(timeValue(TimeRemaining, 0, 176400, 0), "-00:00.00");
    EXPECT_EQ(timeValue(TimeRemaining, 0, 1000001, 1000000), "-00:00.00");
    EXPECT_EQ(timeValue(TimeRemaining, 0, 1000000, 1000000), "-00:00.00");
    EXPECT_EQ(timeValue(TimeRemaining, 0, UINT32_MAX, 1), "-00:00.00");
}

TEST(PanelTimeLine, LengthAndCounter) {
    char out[kLengthTextSize];
    lengthText(176400u * 61 + 1764 * 5, out, sizeof out);
    EXPECT_STREQ(out, " / 01:01.05");
    char counter[kCounterTextSize];
    counterText(3, 5, counter, sizeof counter);
    EXPECT_STREQ(counter, "03/05");
    counterText(123, 99, counter, sizeof counter);
    EXPECT_STREQ(counter, "23/99");
    counterText(UINT32_MAX, 0, counter, sizeof counter);
    EXPECT_STREQ(counter, (std::to_string(UINT32_MAX % 100) + "/00").c_str());
}

TEST(PanelLoopLine, PointsAreFramesAndNeverOverflow) {
    char out[kLoopLineSize];
    loopLineText(44100, 88200, out, sizeof out);
    EXPECT_STREQ(out, "LoopTime: 00:01.00-00:02.00");
    // Four times these does not fit in 32 bits.
    const uint32_t start = 1u << 30, end = UINT32_MAX;
    loopLineText(start, end, out, sizeof out);
    EXPECT_EQ(std::string(out), "LoopTime: " + clockText(uint64_t{start} * 100 / 44100) + "-" +
                                    clockText(uint64_t{end} * 100 / 44100));
}

TEST(PanelModeBox, NamesOfThePlayModes) {
    EXPECT_STREQ(playModeName(Single), "Single");
    EXPECT_STREQ(playModeName(RepeatOne), "Repeat One");
    EXPECT_STREQ(playModeName(RepeatAll), "Repeat All");
    EXPECT_STREQ(playModeName(Random), "Random");
    EXPECT_STREQ(playModeName(4), "Single");
    EXPECT_STREQ(playModeName(-1), "Single");
}

std::string popupText(int32_t number, const std::string& name) {
    char out[kPopupTextSize];
    trackPopupText(number, name.c_str(), out, sizeof out);
    return out;
}

TEST(TrackPopup, ColumnsStartAt21_41_61And81) {
    std::string starts;
    for (int32_t i = 1; i <= kTrackPopupEntries; ++i)
        if (startsPopupColumn(i)) starts += std::to_string(i) + " ";
    EXPECT_EQ(starts, "21 41 61 81 ");
}

TEST(TrackPopup, ItemsAreCutTo30BytesOnACharacterBoundary) {
    EXPECT_EQ(popupText(7, "Song"), "07.Song");
    EXPECT_EQ(popupText(1, std::string(40, 'x')), "01." + std::string(27, 'x'));
    // 3 + 28 bytes: the 14th character would end at byte 31.
    EXPECT_EQ(popupText(1, repeat(kA, 14)), "01." + repeat(kA, 13));
    EXPECT_EQ(popupText(1, "x" + repeat(kA, 14)), "01.x" + repeat(kA, 13));
}

TEST(TrackPopup, AmpersandsAreDoubledAfterTheCut) {
    EXPECT_EQ(popupText(2, "Rock & Roll"), "02.Rock && Roll");
    EXPECT_EQ(popupText(3, std::string(40, '&')), "03." + std::string(54, '&'));
    // "ソ" (0x83 0x5C) and "ポ" (0x83 0x7C) keep their second bytes as they are.
    EXPECT_EQ(popupText(4, "\x83\x5C&\x83\x7C"), "04.\x83\x5C&&\x83\x7C");
}

}  // namespace
}  // namespace tarnuvo
