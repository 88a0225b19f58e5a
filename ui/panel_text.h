// The texts of the information panel and of its track popup: bounded, in
// buffers that hold the longest input, cut on character boundaries.
// Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/track_info.h"
#include "playlist/track_text.h"

namespace tarnuvo {

enum TimeMode : int32_t { TimeElapsed = 0, TimeSeek = 1, TimeRemaining = 2 };

// "%02d." of any 32-bit number, a title, " / " and an artist of 259 bytes each.
constexpr size_t kNumberTextSize = 13;
constexpr size_t kTitleLineSize = (kNumberTextSize - 1) + (kTextSize - 1) + 3 + (kTextSize - 1) + 1;
// " / " and a time.
constexpr size_t kLengthTextSize = 3 + kTimeTextSize;
// "LoopTime: ", two frame times and "-".
constexpr size_t kLoopLineSize = 10 + 2 * kTimeTextSize + 1;
// "%02u/%02u" of two values below 100.
constexpr size_t kCounterTextSize = 6;
// A track popup item: 30 bytes of text, each "&" doubled.
constexpr size_t kPopupTextBytes = 30;
constexpr size_t kPopupTextSize = 2 * kPopupTextBytes + 1;

// "%02d." + title, and " / " + artist when the artist is not empty. Fields
// that lack a terminator are read up to their 259th byte.
size_t titleLineText(int32_t number, const char* title, const char* artist, char* out,
                     size_t outSize);

// The time line's value: "+" and the total played (Elapsed), the position
// (Seek), or "-" and what is left of the length (Remaining), never below 0.
// With a fade in effect (fadeLeft >= 0) Remaining counts down to the fade's
// end instead. Any other mode reads as Elapsed.
size_t timeValueText(int32_t timeMode, uint32_t elapsedTotal, uint32_t position, uint32_t length,
                     int64_t fadeLeft, char* out, size_t outSize);

// " / " and the length.
size_t lengthText(uint32_t length, char* out, size_t outSize);

// The passes heard and the passes wanted, each modulo 100: "03/05".
size_t counterText(uint32_t loopsDone, int32_t loopCount, char* out, size_t outSize);

// "LoopTime: " + start + "-" + end, from loop points in sample frames at
// `rate` (0 reads as 44,100 Hz).
constexpr size_t kLoopLabelLength = 10;  // "LoopTime: "
size_t loopLineText(uint32_t loopStart, uint32_t loopEnd, uint32_t rate, char* out, size_t outSize);

// "Single", "Repeat One", "Repeat All", "Random"; any other mode is Single.
const char* playModeName(int32_t playMode);

// Entries the track popup lists, and whether item `number` (from 1) starts a
// new column of the popup: 21, 41, 61 and 81 do.
constexpr int32_t kTrackPopupEntries = 99;
constexpr int32_t kTrackPopupColumn = 20;
bool startsPopupColumn(int32_t number);

// "%02d." + title cut to 30 bytes on a character boundary, then every "&"
// doubled so the menu shows it instead of underlining the next character.
size_t trackPopupText(int32_t number, const char* title, char* out, size_t outSize);

}  // namespace tarnuvo
