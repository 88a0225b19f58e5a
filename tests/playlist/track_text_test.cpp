// Times and row cells of a track.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/units.h"
#include "playlist/track_text.h"

using namespace tarnuvo;

namespace {

std::string timeOf(uint32_t bytes) {
    char text[kTimeTextSize];
    const size_t n = formatTime(bytes, text);
    EXPECT_EQ(n, std::strlen(text));
    return text;
}

std::string twoDigits(unsigned v) {
    return std::string(1, static_cast<char>('0' + v / 10)) + static_cast<char>('0' + v % 10);
}

TEST(FormatTime, KnownValues) {
    EXPECT_EQ(timeOf(0), "00:00.00");
    EXPECT_EQ(timeOf(1763), "00:00.00");
    EXPECT_EQ(timeOf(1764), "00:00.01");
    EXPECT_EQ(timeOf(51156), "00:00.29");  // 29 hundredths exactly
    EXPECT_EQ(timeOf(176400), "00:01.00");
    EXPECT_EQ(timeOf(176400 * 60 - 1), "00:59.99");
    EXPECT_EQ(timeOf(176400 * 60), "01:00.00");
    EXPECT_EQ(timeOf(176400u * 60 * 100), "100:00.00");  // minutes are not limited
    EXPECT_EQ(timeOf(UINT32_MAX), "405:47.88");
}

// Every hundredth of the first 100,000, at both of its edges, against a
// clock that counts up digit by digit.
TEST(FormatTime, EveryHundredthAtBothEdges) {
    unsigned minutes = 0, seconds = 0, hundredths = 0;
    for (uint32_t c = 0; c < 100000; ++c) {
        const std::string expected =
            twoDigits(minutes) + ":" + twoDigits(seconds) + "." + twoDigits(hundredths);
        ASSERT_EQ(timeOf(c * 1764), expected) << c;
        ASSERT_EQ(timeOf(c * 1764 + 1763), expected) << c;
        if (++hundredths == 100) {
            hundredths = 0;
            if (++seconds == 60) {
                seconds = 0;
                ++minutes;
            }
        }
    }
}

// Every frame of the first five seconds at each rate: the loop points
// (frames) and the length (time units made from frames) both show whole
// hundredths of the track's own time, floor(100 x frames / rate), against a
// clock that ticks as each hundredth begins.
TEST(FormatTime, EveryFrameOfFiveSecondsAtEveryRate) {
    for (const uint32_t rate : {8000u, 22050u, 32000u, 44100u, 48000u, 96000u, 192000u}) {
        unsigned seconds = 0, hundredths = 0;
        uint64_t nextTick = (rate + 99) / 100;  // the first frame of hundredth 1
        std::string expected = "00:00.00";
        uint32_t wrong = 0, firstWrong = 0;
        for (uint32_t f = 0; f <= 5 * rate; ++f) {
            if (f == nextTick) {
                if (++hundredths == 100) {
                    hundredths = 0;
                    ++seconds;
                }
                const uint64_t tick = seconds * 100ull + hundredths + 1;
                nextTick = (tick * rate + 99) / 100;
                expected = "00:" + twoDigits(seconds) + "." + twoDigits(hundredths);
            }
            char loopPoint[kTimeTextSize], length[kTimeTextSize];
            formatFrameTime(f, rate, loopPoint);
            formatTime(unitsFromFrames(f, rate), length);
            if (expected != loopPoint || expected != length) {
                if (wrong++ == 0) firstWrong = f;
            }
        }
        EXPECT_EQ(wrong, 0u) << rate << " Hz, first at frame " << firstWrong;
    }
    char text[kTimeTextSize];
    formatFrameTime(UINT32_MAX, 0, text);
    EXPECT_STREQ(text, "1623:11.54") << "an unknown rate counts as 44,100 Hz";
    formatFrameTime(UINT32_MAX, 8000, text);
    EXPECT_STREQ(text, "8947:50.91") << "longer than 32 bits of time units";
}

TEST(FormatTime, StaysInsideItsBuffer) {
    char text[8];
    std::memset(text, 'z', sizeof text);
    EXPECT_EQ(formatTime(176400 * 75, text, 5), 4u);
    EXPECT_STREQ(text, "01:1");
    EXPECT_EQ(text[5], 'z');
    EXPECT_EQ(formatTime(176400, text, 1), 0u);
    EXPECT_EQ(text[0], '\0');
    EXPECT_EQ(text[1], '1');  // untouched beyond the given size
    EXPECT_EQ(formatTime(176400, nullptr, 8), 0u);
    EXPECT_EQ(formatTime(176400, text, 0), 0u);
}

TEST(RowCells, ShowTitleTimeLoopAndArtist) {
    TrackInfo t;
    std::strcpy(t.title, "Title");
    std::strcpy(t.artist, "Artist");
    t.length = 176400 * 2 + 1764 * 3;
    t.hasLoop = 1;
    RowCells cells;
    rowCellsOf(t, ZeroLength::Blank, cells);
    EXPECT_STREQ(cells.column(kTitleColumn), "Title");
    EXPECT_STREQ(cells.column(kTimeColumn), "00:02.03");
    EXPECT_STREQ(cells.column(kLoopColumn), "Loop");
    EXPECT_STREQ(cells.column(kArtistColumn), "Artist");
    EXPECT_STREQ(cells.column(-1), "");
    EXPECT_STREQ(cells.column(kRowColumnCount), "");

    t.hasLoop = 0;
    rowCellsOf(t, ZeroLength::Blank, cells);
    EXPECT_STREQ(cells.column(kLoopColumn), "");
}

TEST(RowCells, UnknownLengthIsBlankOnlyForANewRow) {
    TrackInfo t;
    RowCells cells;
    rowCellsOf(t, ZeroLength::Blank, cells);
    EXPECT_STREQ(cells.time, "");
    rowCellsOf(t, ZeroLength::Shown, cells);
    EXPECT_STREQ(cells.time, "00:00.00");
}

TEST(RowCells, UnterminatedTextsAreCut) {
    TrackInfo t;
    std::memset(t.title, 'T', sizeof t.title);
    std::memset(t.artist, 'A', sizeof t.artist);
    RowCells cells;
    rowCellsOf(t, ZeroLength::Blank, cells);
    EXPECT_EQ(std::string(cells.title), std::string(kTextSize - 1, 'T'));
    EXPECT_EQ(std::string(cells.artist), std::string(kTextSize - 1, 'A'));
}

}  // namespace
