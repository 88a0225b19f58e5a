// Loop points and texts from name=value comments: Vorbis, FLAC and Opus
// comments and MP3's ID3v2 TXXX frames all speak this one language.
// Names are case-insensitive; LOOP_START, LOOP-START, LOOP_BEGIN and
// XIPH_CUE_LOOPSTART mean LOOPSTART; LOOP_END, LOOP-END and XIPH_CUE_LOOPEND
// mean LOOPEND; LOOP_LENGTH means LOOPLENGTH. A value with ':' is a time
// (h:m:s, m:s or :s, up to 9 fraction digits) converted at the stream's rate.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/track_info.h"

namespace tarnuvo {

// Room for a UTF-8 text whose conversion fills a kTextSize field: a character
// takes at most four UTF-8 bytes and at least one byte in the code page.
constexpr size_t kUtf8TextSize = 4 * kTextSize;

// A loop of a stream's frames from another source than comments (a WAV
// `smpl` or `cue ` chunk); `found` only when start < end.
struct FrameLoop {
    bool found = false;
    uint32_t start = 0;
    uint32_t end = 0;  // exclusive
};

class LoopTagReader {
public:
    // `rate` converts time values; 0 ignores them. A time of more frames
    // than 32 bits hold is ignored.
    explicit LoopTagReader(uint32_t rate) : rate_(rate) {}

    // One "NAME=value" comment of `length` bytes (not terminated); one
    // without '=' is ignored.
    void addComment(const char* comment, size_t length);
    // A name and its value apart (an ID3v2 TXXX description and text).
    void addPair(const char* name, size_t nameLength, const char* value, size_t valueLength);

    // The loop as the comments give it: the last of LOOPLENGTH and LOOPEND
    // sets the end; once any LOOPLENGTH was seen, LOOPSTART is added.
    FrameLoop loop() const;
    // TITLE and ARTIST as UTF-8 (the last of each); empty when absent.
    const char* titleUtf8() const { return title_; }
    const char* artistUtf8() const { return artist_; }

private:
    uint32_t rate_;
    uint32_t start_ = 0;
    uint32_t end_ = 0;
    bool lengthGiven_ = false;
    char title_[kUtf8TextSize] = {};
    char artist_[kUtf8TextSize] = {};
};

// Sets the track's loop from `loop` unless the track's info is known
// (hasLoop 0 when not found), as a file's own values are taken.
void applyFileLoop(const FrameLoop& loop, TrackInfo& track);

// Title and artist given as UTF-8, converted to the program's code page;
// empty values leave the track's texts alone.
void applyUtf8Texts(const char* titleUtf8, const char* artistUtf8, TrackInfo& track);

}  // namespace tarnuvo
