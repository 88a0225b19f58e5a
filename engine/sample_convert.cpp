#include "engine/sample_convert.h"

#include <cmath>
#include <cstring>
#include <type_traits>

namespace tarnuvo {
namespace {

constexpr float kScale16 = 32768.0f;
constexpr float kScale24 = 8388608.0f;
constexpr float kScale32 = 2147483648.0f;

uint32_t loadLe(const uint8_t* p, uint32_t bytes) {
    uint32_t v = 0;
    for (uint32_t i = 0; i < bytes; ++i) v |= static_cast<uint32_t>(p[i]) << (8 * i);
    return v;
}

// A sample as a float device takes it.
inline float toFloatScale(int16_t s) {
    return static_cast<float>(s) / kScale16;
}
inline float toFloatScale(float x) {
    return x;
}

}  // namespace

void decodeStoredSamples(const uint8_t* src, SampleType type, uint32_t containerBytes,
                         uint32_t clearBits, uint32_t samples, void* dst) {
    const uint32_t keep = clearBits >= 32 ? 0 : ~((uint32_t{1} << clearBits) - 1);
    auto* out16 = static_cast<int16_t*>(dst);
    auto* outF = static_cast<float*>(dst);
    const uint32_t step = containerBytes;
    switch (type) {
        case SampleType::U8:
            for (uint32_t i = 0; i < samples; ++i, src += step) {
                out16[i] = static_cast<int16_t>((static_cast<int32_t>(src[0] & keep) - 128) * 256);
            }
            break;
        case SampleType::S16:
            if (keep == ~0u) {  // the common case: the bytes are the samples
                std::memcpy(out16, src, static_cast<size_t>(samples) * 2);
                break;
            }
            for (uint32_t i = 0; i < samples; ++i, src += step) {
                out16[i] = static_cast<int16_t>(loadLe(src, 2) & keep);
            }
            break;
        case SampleType::S24:
            for (uint32_t i = 0; i < samples; ++i, src += step) {
                // Sign-extended through the top of a 32-bit word.
                const int32_t x = static_cast<int32_t>((loadLe(src, 3) & keep) << 8) / 256;
                outF[i] = static_cast<float>(x) / kScale24;
            }
            break;
        case SampleType::S32:
            for (uint32_t i = 0; i < samples; ++i, src += step) {
                outF[i] =
                    static_cast<float>(static_cast<int32_t>(loadLe(src, 4) & keep)) / kScale32;
            }
            break;
        case SampleType::F32:
            std::memcpy(outF, src, static_cast<size_t>(samples) * 4);
            break;
        case SampleType::F64:
            for (uint32_t i = 0; i < samples; ++i, src += step) {
                double d;
                std::memcpy(&d, src, 8);
                outF[i] = static_cast<float>(d);
            }
            break;
        default:
            break;
    }
}

int16_t roundToDevice16(float x) {
    if (std::isnan(x)) return 0;
    const double v = static_cast<double>(x) * 32768.0;
    if (v >= 32767.0) return 32767;
    if (v <= -32768.0) return -32768;
    return static_cast<int16_t>(std::nearbyint(v));
}

int16_t truncateToDevice16(float v) {
    if (std::isnan(v)) return 0;
    if (v >= 32767.0f) return 32767;
    if (v <= -32768.0f) return -32768;
    return static_cast<int16_t>(v);
}

void OutputStage::configure(const SourceFormat& source, const DeviceFormat& device) {
    device_ = device;
    sourceChannels_ = source.channels;
    sourceFloat_ = source.floatSamples();
    matrix_ = source.channels > 2 ? downmixFor(source) : DownmixMatrix{};
}

template <typename In, typename Out>
void OutputStage::direct(const In* src, uint32_t samples, Out* dst) const {
    const bool scaled = gain_ != 1.0f;
    for (uint32_t i = 0; i < samples; ++i) {
        if constexpr (std::is_same_v<Out, float>) {
            const float x = toFloatScale(src[i]);
            dst[i] = scaled ? x * gain_ : x;
        } else if constexpr (std::is_same_v<In, int16_t>) {
            dst[i] = scaled ? static_cast<int16_t>(static_cast<float>(src[i]) * gain_) : src[i];
        } else {
            dst[i] = roundToDevice16(scaled ? src[i] * gain_ : src[i]);
        }
    }
}

template <typename In, typename Out>
void OutputStage::downmix(const In* src, uint32_t frames, Out* dst) const {
    const uint32_t n = sourceChannels_;
    for (uint32_t f = 0; f < frames; ++f, src += n, dst += 2) {
        // Summed in the source's own scale, so an int16 source at full
        // volume keeps integer steps before the truncation.
        float left = 0.0f, right = 0.0f;
        for (uint32_t i = 0; i < n; ++i) {
            const float x = static_cast<float>(src[i]);
            left += matrix_.left[i] * x;
            right += matrix_.right[i] * x;
        }
        if (gain_ != 1.0f) {
            left *= gain_;
            right *= gain_;
        }
        if constexpr (std::is_same_v<Out, float>) {
            if constexpr (std::is_same_v<In, int16_t>) {
                left /= kScale16;
                right /= kScale16;
            }
            dst[0] = left;
            dst[1] = right;
        } else if constexpr (std::is_same_v<In, int16_t>) {
            dst[0] = truncateToDevice16(left);
            dst[1] = truncateToDevice16(right);
        } else {
            dst[0] = roundToDevice16(left);
            dst[1] = roundToDevice16(right);
        }
    }
}

template <typename In>
double OutputStage::unscaled(const In* src, uint32_t f, uint32_t c) const {
    const In* frame = src + static_cast<size_t>(f) * sourceChannels_;
    float v;
    if (sourceChannels_ > 2) {
        v = 0.0f;
        const float* coef = c == 0 ? matrix_.left : matrix_.right;
        for (uint32_t i = 0; i < sourceChannels_; ++i) v += coef[i] * static_cast<float>(frame[i]);
    } else {
        v = static_cast<float>(frame[c]);
    }
    // From the source's scale to the device's.
    const bool intScale = std::is_same_v<In, int16_t>;
    if (intScale && device_.isFloat) return v / kScale16;
    if (!intScale && !device_.isFloat) return static_cast<double>(v) * 32768.0;
    return v;
}

void OutputStage::fade(const void* src, uint32_t frames, uint8_t* dst, int64_t k,
                       uint32_t length) const {
    if (length == 0) return;
    const uint32_t channels = device_.channels;
    for (uint32_t f = 0; f < frames; ++f, ++k) {
        if (k < 0) continue;
        if (k >= length) break;
        for (uint32_t c = 0; c < channels; ++c) {
            const double s = sourceFloat_ ? unscaled(static_cast<const float*>(src), f, c)
                                          : unscaled(static_cast<const int16_t*>(src), f, c);
            const double v = (s * static_cast<double>(gain_) * static_cast<double>(length - k)) /
                             static_cast<double>(length);
            const size_t at = static_cast<size_t>(f) * channels + c;
            if (device_.isFloat) {
                reinterpret_cast<float*>(dst)[at] = static_cast<float>(v);
            } else {
                int16_t out = 0;
                if (!std::isnan(v)) {
                    out = v >= 32767.0    ? 32767
                          : v <= -32768.0 ? -32768
                                          : static_cast<int16_t>(std::nearbyint(v));
                }
                reinterpret_cast<int16_t*>(dst)[at] = out;
            }
        }
    }
}

void OutputStage::render(const void* src, uint32_t frames, uint8_t* dst) const {
    const bool mix = sourceChannels_ > 2;
    const uint32_t samples = frames * sourceChannels_;
    if (!mix && gain_ == 1.0f && sourceFloat_ == device_.isFloat) {
        // Full volume in the source's own type: the refill's common case.
        std::memcpy(dst, src, static_cast<size_t>(samples) * (sourceFloat_ ? 4 : 2));
        return;
    }
    // Device buffers come from the heap or aligned arrays: suitably aligned.
    if (sourceFloat_) {
        const auto* in = static_cast<const float*>(src);
        if (device_.isFloat) {
            auto* out = reinterpret_cast<float*>(dst);
            mix ? downmix(in, frames, out) : direct(in, samples, out);
        } else {
            auto* out = reinterpret_cast<int16_t*>(dst);
            mix ? downmix(in, frames, out) : direct(in, samples, out);
        }
    } else {
        const auto* in = static_cast<const int16_t*>(src);
        if (device_.isFloat) {
            auto* out = reinterpret_cast<float*>(dst);
            mix ? downmix(in, frames, out) : direct(in, samples, out);
        } else {
            auto* out = reinterpret_cast<int16_t*>(dst);
            mix ? downmix(in, frames, out) : direct(in, samples, out);
        }
    }
}

}  // namespace tarnuvo
