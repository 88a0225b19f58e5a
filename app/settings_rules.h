// How stored setting values become members, and members stored texts.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "engine/player_environment.h"

namespace tarnuvo {

constexpr int32_t kColumnCount = 4;
constexpr LONG kMinimumWindowWidth = 400;
constexpr LONG kMinimumWindowHeight = 300;

// The remainder of value by modulus, in 0..modulus - 1 also for a negative
// value (every reader of a mode or a loop count expects that range).
int32_t remainderInRange(int32_t value, int32_t modulus);

// Any non-zero value is on.
inline int32_t storedBoolean(int32_t value) {
    return value != 0 ? 1 : 0;
}

// `value` moved into low..high.
inline int32_t clampedSetting(int32_t value, int32_t low, int32_t high) {
    return value < low ? low : value > high ? high : value;
}

// Widens a rectangle under the minimum width by moving its right edge and
// heightens one under the minimum height by moving its bottom.
void raiseToMinimumSize(RECT& rect);

// The profile encoding of a rectangle: its 16 bytes in memory order as 32
// upper-case hexadecimal digits, then two digits of the low byte of their sum.
constexpr size_t kStoredRectChars = 34;
void encodeStoredRect(const RECT& rect, char* out, size_t size);
// False, leaving `rect` alone, when the length or the checksum is wrong.
bool decodeStoredRect(const char* text, RECT& rect);

// "a:b:c:d": each piece, in decimal, into the element of its position; the
// elements without a piece keep their value. An empty text changes nothing.
void parseColumnList(const char* text, int32_t (&values)[kColumnCount]);

// The four values in decimal joined by ':'.
void formatColumnList(const int32_t (&values)[kColumnCount], char* out, size_t size);

// "0x" and at least six upper-case hexadecimal digits.
void formatColour(COLORREF colour, char* out, size_t size);

}  // namespace tarnuvo
