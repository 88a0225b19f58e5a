#include "engine/loop_tags.h"

#include <cstring>
#include <string>

#include "engine/text.h"

namespace tarnuvo {
namespace {

enum class Field { None, Start, End, Length, StartEnd, Title, Artist };

struct Name {
    const char* text;  // upper case
    Field field;
};

constexpr Name kNames[] = {
    {"LOOPSTART", Field::Start},
    {"LOOP_START", Field::Start},
    {"LOOP-START", Field::Start},
    {"LOOP_BEGIN", Field::Start},
    {"XIPH_CUE_LOOPSTART", Field::Start},
    {"LOOPEND", Field::End},
    {"LOOP_END", Field::End},
    {"LOOP-END", Field::End},
    {"XIPH_CUE_LOOPEND", Field::End},
    {"LOOPLENGTH", Field::Length},
    {"LOOP_LENGTH", Field::Length},
    {"LOOP", Field::StartEnd},
    {"TITLE", Field::Title},
    {"ARTIST", Field::Artist},
};

Field fieldOf(const char* name, size_t length) {
    for (const Name& n : kNames) {
        if (std::strlen(n.text) != length) continue;
        size_t i = 0;
        for (; i < length; ++i) {
            char c = name[i];
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            if (c != n.text[i]) break;
        }
        if (i == length) return n.field;
    }
    return Field::None;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits only, at most 32 bits; an empty run reads as 0 with `digits` 0.
bool readField(const char*& p, const char* end, uint64_t& value, size_t& digits) {
    value = 0;
    digits = 0;
    for (; p < end && isDigit(*p); ++p, ++digits) {
        value = value * 10 + static_cast<uint64_t>(*p - '0');
        if (value > UINT32_MAX) return false;
    }
    return true;
}

// "h:m:s", "m:s" or ":s", seconds with up to nine fraction digits, in
// frames at `rate`. False when it does not parse or needs more than 32 bits.
bool parseTime(const char* text, size_t length, uint32_t rate, uint32_t& frames) {
    const char* p = text;
    const char* end = text + length;
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    while (end > p && (end[-1] == ' ' || end[-1] == '\t')) --end;
    uint64_t seconds = 0;
    uint64_t value = 0;
    size_t digits = 0;
    int colons = 0;
    for (;;) {
        if (!readField(p, end, value, digits)) return false;
        if (p == end || *p != ':') break;
        // At most h:m:s, and only the leading field may be empty (":s").
        if (colons == 2 || (digits == 0 && colons > 0)) return false;
        seconds = seconds * 60 + value;
        ++colons;
        ++p;
    }
    if (colons == 0 || digits == 0) return false;
    seconds = seconds * 60 + value;
    uint64_t fraction = 0, scale = 1;
    if (p < end && *p == '.') {
        ++p;
        for (; p < end && isDigit(*p); ++p) {
            if (scale == 1000000000) return false;
            fraction = fraction * 10 + static_cast<uint64_t>(*p - '0');
            scale *= 10;
        }
        if (scale == 1) return false;
    }
    if (p != end || seconds > UINT32_MAX) return false;
    // Both factors fit 32 bits, and the fraction adds less than `rate`:
    // no step overflows 64 bits.
    const uint64_t total = seconds * rate + fraction * rate / scale;
    if (total > UINT32_MAX) return false;
    frames = static_cast<uint32_t>(total);
    return true;
}

// Copies UTF-8 up to the first zero, cut on a character boundary.
void copyUtf8(char (&dst)[kUtf8TextSize], const char* value, size_t length) {
    size_t n = 0;
    while (n < length && n < kUtf8TextSize - 1 && value[n] != '\0') ++n;
    if (n < length && n == kUtf8TextSize - 1 && value[n] != '\0') {
        // Cut: drop a sequence the cut split.
        size_t lead = n;
        while (lead > 0 && (static_cast<uint8_t>(value[lead]) & 0xC0) == 0x80) --lead;
        n = lead;
    }
    std::memcpy(dst, value, n);
    dst[n] = '\0';
}

}  // namespace

void LoopTagReader::addComment(const char* comment, size_t length) {
    const void* eq = std::memchr(comment, '=', length);
    if (!eq) return;
    const size_t nameLength = static_cast<size_t>(static_cast<const char*>(eq) - comment);
    addPair(comment, nameLength, comment + nameLength + 1, length - nameLength - 1);
}

void LoopTagReader::addPair(const char* name, size_t nameLength, const char* value,
                            size_t valueLength) {
    const Field field = fieldOf(name, nameLength);
    switch (field) {
        case Field::None:
            return;
        case Field::Title:
            copyUtf8(title_, value, valueLength);
            return;
        case Field::Artist:
            copyUtf8(artist_, value, valueLength);
            return;
        case Field::StartEnd: {
            // "s<start>e<end>", read from a copy of at most 255 bytes as it
            // always was: a longer value may lose its 'e'.
            char copy[256];
            size_t n = 0;
            while (n < sizeof(copy) - 1 && n < valueLength && value[n] != '\0') {
                copy[n] = value[n];
                ++n;
            }
            copy[n] = '\0';
            if (char* e = std::strchr(copy, 'e')) {
                *e = '\0';
                start_ = static_cast<uint32_t>(parseDecimal(copy[0] ? copy + 1 : copy));
                end_ = static_cast<uint32_t>(parseDecimal(e + 1));
            }
            return;
        }
        default:
            break;
    }
    size_t textLength = 0;
    while (textLength < valueLength && value[textLength] != '\0') ++textLength;
    uint32_t frames = 0;
    if (std::memchr(value, ':', textLength)) {
        if (rate_ == 0 || !parseTime(value, textLength, rate_, frames)) return;
    } else {
        frames = static_cast<uint32_t>(parseDecimal(std::string(value, textLength).c_str()));
    }
    if (field == Field::Start) {
        start_ = frames;
    } else {
        end_ = frames;
        if (field == Field::Length) lengthGiven_ = true;
    }
}

FrameLoop LoopTagReader::loop() const {
    FrameLoop l;
    l.start = start_;
    l.end = lengthGiven_ ? end_ + start_ : end_;  // wraps like the 32-bit sum it always was
    l.found = l.start < l.end;
    return l;
}

void applyFileLoop(const FrameLoop& loop, TrackInfo& track) {
    if (track.infoKnown) return;
    track.hasLoop = loop.found ? 1 : 0;
    track.loopStart = loop.start;
    track.loopEnd = loop.end;
}

void applyUtf8Texts(const char* titleUtf8, const char* artistUtf8, TrackInfo& track) {
    if (titleUtf8[0] != '\0') {
        track.title[0] = '\0';
        systemCodec().fromUtf8(titleUtf8, track.title, kTextSize);
    }
    if (artistUtf8[0] != '\0') {
        track.artist[0] = '\0';
        systemCodec().fromUtf8(artistUtf8, track.artist, kTextSize);
    }
}

}  // namespace tarnuvo
