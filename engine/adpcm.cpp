#include "engine/adpcm.h"

#include <cstring>

#include "engine/wav_source.h"

namespace tarnuvo {
namespace {

constexpr int32_t kAdaptation[16] = {230, 230, 230, 230, 307, 409, 512, 614,
                                     768, 614, 512, 409, 307, 230, 230, 230};
constexpr int32_t kCoef1[7] = {256, 512, 0, 192, 240, 460, 392};
constexpr int32_t kCoef2[7] = {0, -256, 0, 64, 0, -208, -232};
// Bounds delta so that adaptation * delta (768 at most) stays inside 32 bits
// on damaged data; real encoders never come near it.
constexpr int32_t kMaxDelta = 0x1FFFFF;
constexpr uint32_t kMaxRequest = 8192;
constexpr uint32_t kWorkBlocks = 3;

int16_t le16s(const uint8_t* p) {
    return static_cast<int16_t>(p[0] | p[1] << 8);
}

void initChannel(AdpcmChannel& ch, uint8_t predictor, int16_t delta, int16_t s1, int16_t s2) {
    const uint32_t index = predictor > 6 ? 6 : predictor;
    ch.coef1 = kCoef1[index];
    ch.coef2 = kCoef2[index];
    ch.delta = delta;
    ch.sample1 = s1;
    ch.sample2 = s2;
}

}  // namespace

int16_t decodeNibble(AdpcmChannel& ch, uint32_t nibble) {
    const int32_t predicted = (ch.sample1 * ch.coef1 + ch.sample2 * ch.coef2) / 256;
    const int32_t s = nibble < 8 ? static_cast<int32_t>(nibble) : static_cast<int32_t>(nibble) - 16;
    int64_t value = static_cast<int64_t>(predicted) + static_cast<int64_t>(s) * ch.delta;
    if (value > 32767) value = 32767;
    if (value < -32768) value = -32768;
    ch.sample2 = ch.sample1;
    ch.sample1 = static_cast<int32_t>(value);
    int32_t delta = (kAdaptation[nibble & 15] * ch.delta) >> 8;
    if (delta < 16) delta = 16;
    if (delta > kMaxDelta) delta = kMaxDelta;
    ch.delta = delta;
    return static_cast<int16_t>(value);
}

void decodeAdpcmBlock(const uint8_t* block, uint32_t align, uint32_t channels, uint32_t perBlock,
                      int16_t* out) {
    if (perBlock < 2) return;
    int16_t* const end = out + static_cast<size_t>(perBlock) * channels;
    if (channels == 1) {
        AdpcmChannel ch;
        initChannel(ch, block[0], le16s(block + 1), le16s(block + 3), le16s(block + 5));
        *out++ = static_cast<int16_t>(ch.sample2);
        *out++ = static_cast<int16_t>(ch.sample1);
        for (const uint8_t* p = block + 7; p < block + align && out < end; ++p) {
            *out++ = decodeNibble(ch, *p >> 4);
            if (out < end) *out++ = decodeNibble(ch, *p & 15);
        }
        return;
    }
    AdpcmChannel left, right;
    initChannel(left, block[0], le16s(block + 2), le16s(block + 6), le16s(block + 10));
    initChannel(right, block[1], le16s(block + 4), le16s(block + 8), le16s(block + 12));
    *out++ = static_cast<int16_t>(left.sample2);
    *out++ = static_cast<int16_t>(right.sample2);
    *out++ = static_cast<int16_t>(left.sample1);
    *out++ = static_cast<int16_t>(right.sample1);
    for (const uint8_t* p = block + 14; p < block + align && out < end; ++p) {
        *out++ = decodeNibble(left, *p >> 4);
        *out++ = decodeNibble(right, *p & 15);
    }
}

void decodeAdpcmBlock(const uint8_t* block, int16_t* out) {
    decodeAdpcmBlock(block, kAdpcmBlockBytes, 2, kAdpcmBlockPcmBytes / 4, out);
}

void decodeAdpcm(uint8_t* dst, const uint8_t* data, uint32_t dataBytes, uint32_t p, uint32_t n) {
    if (n > kMaxRequest) n = kMaxRequest;
    const uint32_t k = p / kAdpcmBlockPcmBytes;
    const uint32_t o = p % kAdpcmBlockPcmBytes;
    if (o + n == 0) return;
    int16_t work[kWorkBlocks * kAdpcmBlockPcmBytes / 2];
    const uint32_t wholeBlocks = dataBytes / kAdpcmBlockBytes;
    uint32_t have = 0;
    for (uint32_t b = k; have < o + n; ++b) {
        int16_t* out = work + have / 2;
        if (b < wholeBlocks) {
            decodeAdpcmBlock(data + static_cast<size_t>(b) * kAdpcmBlockBytes, out);
        } else {
            std::memset(out, 0, kAdpcmBlockPcmBytes);
        }
        have += kAdpcmBlockPcmBytes;
    }
    std::memcpy(dst, reinterpret_cast<const uint8_t*>(work) + o, n);
}

}  // namespace tarnuvo
