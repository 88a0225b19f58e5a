// What a source delivers and what the output device receives.
#pragma once

#include <cstdint>

namespace tarnuvo {

// The sample type a source reads from its file. FlacInt holds up to 16 bits
// (int16 intermediate), FlacFloat 17 to 24.
enum class SampleType : uint8_t {
    U8,
    S16,
    S24,
    S32,
    F32,
    F64,
    Adpcm,
    Vorbis,
    Mp3,
    FlacInt,
    FlacFloat,
    Opus
};

// The channel layout a source's channels follow, for the downmix.
enum class ChannelOrder : uint8_t { WaveMask, Vorbis };

constexpr uint32_t kMaxSourceChannels = 8;

struct SourceFormat {
    uint32_t rate = 0;
    uint32_t channels = 0;
    SampleType type = SampleType::S16;
    ChannelOrder order = ChannelOrder::WaveMask;
    uint32_t channelMask = 0;  // WaveMask order only
    // Sources of more than 16 bits, and the decoders that produce float,
    // decode to float in -1..1; the others to int16. The device follows:
    // 16-bit PCM or IEEE float.
    bool floatSamples() const {
        switch (type) {
            case SampleType::S24:
            case SampleType::S32:
            case SampleType::F32:
            case SampleType::F64:
            case SampleType::Mp3:
            case SampleType::FlacFloat:
            case SampleType::Opus:
                return true;
            default:
                return false;
        }
    }
    uint32_t intermediateBytes() const { return floatSamples() ? 4 : 2; }
};

struct DeviceFormat {
    uint32_t rate = 44100;
    uint16_t channels = 2;
    bool isFloat = false;
    uint32_t bytesPerFrame() const { return channels * (isFloat ? 4u : 2u); }
    bool operator==(const DeviceFormat& o) const {
        return rate == o.rate && channels == o.channels && isFloat == o.isFloat;
    }
};

// The device a source asks for first: its own rate, mono or stereo, and the
// sample type its samples decode to.
inline DeviceFormat preferredDevice(const SourceFormat& f) {
    DeviceFormat d;
    d.rate = f.rate;
    d.channels = f.channels == 1 ? 1 : 2;
    d.isFloat = f.floatSamples();
    return d;
}

}  // namespace tarnuvo
