// The parts of an ID3v2 tag (versions 2.2 to 2.4) this player reads: title,
// artist and the TXXX frames that may carry loop points. Platform-free; every
// read stays inside the given bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/loop_tags.h"

namespace tarnuvo {

constexpr uint32_t kId3v2HeaderBytes = 10;

// The whole tag's size (header, frames, footer) from its first 10 bytes; 0
// when they do not start an ID3v2 tag.
uint64_t id3v2TagBytes(const uint8_t* header, size_t size);

struct Id3v2Texts {
    // The program's code page: UTF-8 and UTF-16 converted, encoding 0 taken
    // as bytes of the system code page.
    char title[kTextSize] = {};
    char artist[kTextSize] = {};
};

// Reads `size` bytes of a tag (from its header on; a tag cut short is read
// as far as its whole frames go). TXXX description/value pairs go to
// `loopTags` as UTF-8; in encoding 0 only their ASCII survives, the rest
// becoming '?', which is all loop names and values need.
void readId3v2(const uint8_t* tag, size_t size, Id3v2Texts& texts, LoopTagReader& loopTags);

}  // namespace tarnuvo
