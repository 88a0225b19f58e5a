// MS ADPCM, mono or stereo, decoded block by block.
#pragma once

#include <cstdint>

namespace tarnuvo {

struct AdpcmChannel {
    int32_t coef1 = 0, coef2 = 0;
    int32_t delta = 0;
    int32_t sample1 = 0, sample2 = 0;
};

// Decodes one nibble (0..15) and advances the channel's state.
int16_t decodeNibble(AdpcmChannel& ch, uint32_t nibble);

// Decodes one block of `align` bytes into `perBlock` interleaved frames of
// `channels` (1 or 2). The caller has checked that align and perBlock agree.
void decodeAdpcmBlock(const uint8_t* block, uint32_t align, uint32_t channels, uint32_t perBlock,
                      int16_t* out);

// Decodes one 2048-byte stereo block into 2036 frames (8144 bytes).
void decodeAdpcmBlock(const uint8_t* block, int16_t* out);

// Writes the track's PCM bytes p .. p+n-1 (n at most 8192) to dst, decoding
// from the ADPCM data at `data`. `dataBytes` bounds every read: bytes of
// blocks that are not wholly present come out as silence.
void decodeAdpcm(uint8_t* dst, const uint8_t* data, uint32_t dataBytes, uint32_t p, uint32_t n);

}  // namespace tarnuvo
