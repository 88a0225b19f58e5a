// A plain sequential MS ADPCM decoder, written apart from the engine's. With
// floor division it must agree with sox; with division truncating toward
// zero it is what the engine must produce.
#pragma once

#include <cstdint>
#include <vector>

namespace testing_support {

inline std::vector<uint8_t> referenceAdpcm(const uint8_t* data, size_t bytes, bool floorDivision) {
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
    for (size_t at = 0; at + 2048 <= bytes; at += 2048) {
        const uint8_t* b = data + at;
        int pred[2], delta[2], s1[2], s2[2];
        for (int ch = 0; ch < 2; ++ch) {
            pred[ch] = b[ch] > 6 ? 6 : b[ch];
            delta[ch] = s16(b + 2 + 2 * ch);
            s1[ch] = s16(b + 6 + 2 * ch);
            s2[ch] = s16(b + 10 + 2 * ch);
        }
        emit(s2[0]), emit(s2[1]), emit(s1[0]), emit(s1[1]);
        for (int i = 14; i < 2048; ++i) {
            for (int ch = 0; ch < 2; ++ch) {
                int nib = ch == 0 ? b[i] >> 4 : b[i] & 15;
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
    }
    return pcm;
}

}  // namespace testing_support
