// A plain sequential MS ADPCM decoder, written apart from the engine's. With
// floor division it must agree with sox; with division truncating toward
// zero it is what the engine must produce. One or two channels, any block
// size; a trailing partial block is not decoded.
#pragma once

#include <cstdint>
#include <vector>

namespace testing_support {

inline std::vector<uint8_t> referenceAdpcm(const uint8_t* data, size_t bytes, bool floorDivision,
                                           int channels = 2, size_t blockAlign = 2048) {
    static const int adapt[16] = {230, 230, 230, 230, 307, 409, 512, 614,
                                  768, 614, 512, 409, 307, 230, 230, 230};
    static const int c1[7] = {256, 512, 0, 192, 240, 460, 392};
    static const int c2[7] = {0, -256, 0, 64, 0, -208, -232};
    std::vector<uint8_t> pcm;
    auto emit = [&](int v) {
        pcm.push_back(static_cast<uint8_t>(v & 0xFF));
        pcm.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    };
    auto s16 = [](const uint8_t* p) {
        return static_cast<int>(static_cast<int16_t>(p[0] | p[1] << 8));
    };
    const size_t header = 7 * static_cast<size_t>(channels);
    if (channels < 1 || channels > 2 || blockAlign <= header) return pcm;
    for (size_t at = 0; at + blockAlign <= bytes; at += blockAlign) {
        const uint8_t* b = data + at;
        int pred[2], delta[2], s1[2], s2[2];
        // Predictor bytes, then deltas, newer and older samples, each per channel.
        for (int ch = 0; ch < channels; ++ch) {
            pred[ch] = b[ch] > 6 ? 6 : b[ch];
            delta[ch] = s16(b + channels + 2 * ch);
            s1[ch] = s16(b + 3 * channels + 2 * ch);
            s2[ch] = s16(b + 5 * channels + 2 * ch);
        }
        for (int ch = 0; ch < channels; ++ch) emit(s2[ch]);
        for (int ch = 0; ch < channels; ++ch) emit(s1[ch]);
        // Nibbles high first, channels taking turns.
        for (size_t n = 0; n < 2 * (blockAlign - header); ++n) {
            const int ch = static_cast<int>(n % static_cast<size_t>(channels));
            const uint8_t byte = b[header + n / 2];
            const int nib = n % 2 == 0 ? byte >> 4 : byte & 15;
            long long sum = static_cast<long long>(s1[ch]) * c1[pred[ch]] +
                            static_cast<long long>(s2[ch]) * c2[pred[ch]];
            long long p =
                floorDivision ? (sum >= 0 ? sum / 256 : -((-sum + 255) / 256)) : sum / 256;
            long long v = p + static_cast<long long>(nib >= 8 ? nib - 16 : nib) * delta[ch];
            v = v > 32767 ? 32767 : v < -32768 ? -32768 : v;
            s2[ch] = s1[ch];
            s1[ch] = static_cast<int>(v);
            delta[ch] = adapt[nib] * delta[ch] / 256;
            if (delta[ch] < 16) delta[ch] = 16;
            emit(static_cast<int>(v));
        }
    }
    return pcm;
}

}  // namespace testing_support
