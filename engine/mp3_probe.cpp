#include "engine/mp3_probe.h"

#include "engine/id3v2.h"

namespace tarnuvo {
namespace {

// kbit/s by bitrate index 1..14.
constexpr uint16_t kBitratesV1[3][14] = {
    {32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}};
constexpr uint16_t kBitratesV2[2][14] = {
    {32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
    {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}};
constexpr uint32_t kRatesV1[3] = {44100, 48000, 32000};

}  // namespace

bool parseMpegFrameHeader(const uint8_t* p, MpegFrameHeader& h) {
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
    const uint32_t versionBits = (p[1] >> 3) & 3;
    const uint32_t layerBits = (p[1] >> 1) & 3;
    const uint32_t bitrateIndex = p[2] >> 4;
    const uint32_t rateIndex = (p[2] >> 2) & 3;
    if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 ||
        rateIndex == 3)
        return false;
    h.version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
    h.layer = 4 - layerBits;
    h.rate = kRatesV1[rateIndex] >> (h.version == 1 ? 0 : h.version == 2 ? 1 : 2);
    h.channels = (p[3] >> 6) == 3 ? 1 : 2;
    const uint32_t padding = (p[2] >> 1) & 1;
    const uint32_t kbps = h.version == 1 ? kBitratesV1[h.layer - 1][bitrateIndex - 1]
                                         : kBitratesV2[h.layer == 1 ? 0 : 1][bitrateIndex - 1];
    const uint32_t bps = kbps * 1000;
    if (h.layer == 1) {
        h.bytes = (12 * bps / h.rate + padding) * 4;
    } else {
        // MPEG-2 and 2.5 layer III frames hold half as many samples.
        const uint32_t factor = h.layer == 3 && h.version != 1 ? 72 : 144;
        h.bytes = factor * bps / h.rate + padding;
    }
    return h.bytes > 4;
}

bool mpegFramesStart(const uint8_t* data, size_t size) {
    MpegFrameHeader first, second;
    if (size < 4 || !parseMpegFrameHeader(data, first)) return false;
    if (size < 4 || first.bytes > size - 4) return false;
    if (!parseMpegFrameHeader(data + first.bytes, second)) return false;
    return first.version == second.version && first.layer == second.layer &&
           first.rate == second.rate;
}

int64_t mp3AudioStart(const uint8_t* file, size_t size) {
    size_t at = 0;
    for (int i = 0; i < kMaxId3v2Tags; ++i) {
        const uint64_t tag = id3v2TagBytes(file + at, size - at);
        if (tag >= size - at) return -1;
        at += static_cast<size_t>(tag);
        if (tag == 0) break;
    }
    return mpegFramesStart(file + at, size - at) ? static_cast<int64_t>(at) : -1;
}

}  // namespace tarnuvo
