// The texts a track shows in the list: its time and its row's cells.
// Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/track_info.h"

namespace tarnuvo {

// Room for any formatted time with a sign in front: "+405:47.88".
constexpr size_t kTimeTextSize = 16;

// Bytes of 44100 Hz 16-bit stereo PCM as minutes, seconds and hundredths
// ("%02u:%02u.%02u", minutes unbounded), truncated. Writes at most outSize
// bytes including the terminating zero; returns the length written.
size_t formatTime(uint32_t bytes, char* out, size_t outSize);
template <size_t N>
size_t formatTime(uint32_t bytes, char (&out)[N]) {
    return formatTime(bytes, out, N);
}

// The same for a count of sample frames at `rate` (0 reads as 44,100 Hz),
// which may stand for more time than 32 bits of bytes hold: 2^32 - 1 frames
// at 44,100 Hz read "1623:11.54".
size_t formatFrameTime(uint32_t frames, uint32_t rate, char* out, size_t outSize);
template <size_t N>
size_t formatFrameTime(uint32_t frames, uint32_t rate, char (&out)[N]) {
    return formatFrameTime(frames, rate, out, N);
}

// The list's columns by sub-item number.
enum RowColumn : int32_t { kTitleColumn = 0, kTimeColumn = 1, kLoopColumn = 2, kArtistColumn = 3 };
constexpr int32_t kRowColumnCount = 4;

// What the Time cell shows for a length of 0: nothing for a row that was just
// inserted (the length is not known yet), "00:00.00" for a row rewritten
// after the track was opened.
enum class ZeroLength { Blank, Shown };

struct RowCells {
    char title[kTextSize];
    char time[kTimeTextSize];
    char loop[8];
    char artist[kTextSize];

    // The text of a sub-item; "" for a number outside the columns.
    const char* column(int32_t subItem) const;
};

void rowCellsOf(const TrackInfo& track, ZeroLength zero, RowCells& out);

}  // namespace tarnuvo
