#include "ui/panel_text.h"

#include <cstdio>

#include "engine/text.h"

namespace tarnuvo {
namespace {

// Appends src (at most srcMax bytes of it) at out + used; never splits a
// character, always terminates. Returns the new length.
size_t append(char* out, size_t outSize, size_t used, const char* src,
              size_t srcMax = kTextSize - 1) {
    if (used + 1 >= outSize) return used;
    return used + copyText(out + used, outSize - used, src, srcMax);
}

size_t numberText(int32_t number, char* out, size_t outSize) {
    char digits[kNumberTextSize];
    std::snprintf(digits, sizeof digits, "%02d.", number);
    return append(out, outSize, 0, digits);
}

}  // namespace

size_t titleLineText(int32_t number, const char* title, const char* artist, char* out,
                     size_t outSize) {
    if (!out || outSize == 0) return 0;
    size_t used = numberText(number, out, outSize);
    used = append(out, outSize, used, title);
    if (artist[0] != '\0') {
        used = append(out, outSize, used, " / ");
        used = append(out, outSize, used, artist);
    }
    return used;
}

size_t timeValueText(int32_t timeMode, uint32_t elapsedTotal, uint32_t position, uint32_t length,
                     int64_t fadeLeft, char* out, size_t outSize) {
    if (!out || outSize == 0) return 0;
    const char* sign = "+";
    uint32_t value = elapsedTotal;
    if (timeMode == TimeSeek) {
        sign = "";
        value = position;
    } else if (timeMode == TimeRemaining) {
        // A stale or missing length must not wrap around to hours.
        sign = "-";
        value = position < length ? length - position : 0;
        // Position and length know nothing of the passes to come; a fade knows
        // where the sound ends.
        if (fadeLeft >= 0)
            value = fadeLeft < UINT32_MAX ? static_cast<uint32_t>(fadeLeft) : UINT32_MAX;
    }
    size_t used = append(out, outSize, 0, sign);
    char time[kTimeTextSize];
    formatTime(value, time);
    return append(out, outSize, used, time);
}

size_t lengthText(uint32_t length, char* out, size_t outSize) {
    if (!out || outSize == 0) return 0;
    char time[kTimeTextSize];
    formatTime(length, time);
    return append(out, outSize, append(out, outSize, 0, " / "), time);
}

size_t counterText(uint32_t loopsDone, int32_t loopCount, char* out, size_t outSize) {
    if (!out || outSize == 0) return 0;
    const int n = std::snprintf(out, outSize, "%02u/%02u", loopsDone % 100,
                                static_cast<uint32_t>(loopCount) % 100);
    if (n < 0) out[0] = '\0';
    return n < 0 ? 0 : static_cast<size_t>(n) < outSize ? static_cast<size_t>(n) : outSize - 1;
}

size_t loopLineText(uint32_t loopStart, uint32_t loopEnd, uint32_t rate, char* out,
                    size_t outSize) {
    if (!out || outSize == 0) return 0;
    char start[kTimeTextSize], end[kTimeTextSize];
    formatFrameTime(loopStart, rate, start);
    formatFrameTime(loopEnd, rate, end);
    size_t used = append(out, outSize, 0, "LoopTime: ");
    used = append(out, outSize, used, start);
    used = append(out, outSize, used, "-");
    return append(out, outSize, used, end);
}

const char* playModeName(int32_t playMode) {
    switch (playMode) {
        case RepeatOne:
            return "Repeat One";
        case RepeatAll:
            return "Repeat All";
        case Random:
            return "Random";
        default:
            return "Single";
    }
}

bool startsPopupColumn(int32_t number) {
    return number > 1 && (number - 1) % kTrackPopupColumn == 0;
}

size_t trackPopupText(int32_t number, const char* title, char* out, size_t outSize) {
    if (!out || outSize == 0) return 0;
    char cut[kPopupTextBytes + 1];
    append(cut, sizeof cut, numberText(number, cut, sizeof cut), title);
    // Doubled only where "&" is a character of its own, never a trail byte.
    const TextCodec& codec = systemCodec();
    char doubled[kPopupTextSize];
    size_t n = 0;
    for (size_t i = 0; cut[i] != '\0'; ++i) {
        doubled[n++] = cut[i];
        if (codec.isLeadByte(static_cast<uint8_t>(cut[i])) && cut[i + 1] != '\0')
            doubled[n++] = cut[++i];
        else if (cut[i] == '&')
            doubled[n++] = '&';
    }
    doubled[n] = '\0';
    return copyText(out, outSize, doubled);
}

}  // namespace tarnuvo
