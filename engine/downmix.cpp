#include "engine/downmix.h"

namespace tarnuvo {
namespace {

constexpr double kHalfPower = 0.70710678118654752;

enum Speaker : uint32_t {
    FrontLeft = 0x1,
    FrontRight = 0x2,
    FrontCenter = 0x4,
    LowFrequency = 0x8,
    BackLeft = 0x10,
    BackRight = 0x20,
    FrontLeftOfCenter = 0x40,
    FrontRightOfCenter = 0x80,
    BackCenter = 0x100,
    SideLeft = 0x200,
    SideRight = 0x400,
    TopCenter = 0x800,
    TopFrontLeft = 0x1000,
    TopFrontCenter = 0x2000,
    TopFrontRight = 0x4000,
    TopBackLeft = 0x8000,
    TopBackCenter = 0x10000,
    TopBackRight = 0x20000,
};

struct Weight {
    double left, right;
};

Weight weightOf(uint32_t speaker) {
    switch (speaker) {
        case FrontLeft:
        case FrontLeftOfCenter:
            return {1, 0};
        case FrontRight:
        case FrontRightOfCenter:
            return {0, 1};
        case FrontCenter:
            return {kHalfPower, kHalfPower};
        case BackLeft:
        case SideLeft:
        case TopFrontLeft:
            return {kHalfPower, 0};
        case BackRight:
        case SideRight:
        case TopFrontRight:
            return {0, kHalfPower};
        case BackCenter:
        case TopFrontCenter:
        case TopCenter:
            return {0.5, 0.5};
        case TopBackLeft:
            return {0.5, 0};
        case TopBackRight:
            return {0, 0.5};
        case TopBackCenter:
            return {kHalfPower * 0.5, kHalfPower * 0.5};
        default:  // the low-frequency channel and unknown bits
            return {0, 0};
    }
}

DownmixMatrix fromSpeakers(uint32_t channels, const uint32_t* speakers) {
    DownmixMatrix m;
    m.channels = channels > kMaxSourceChannels ? kMaxSourceChannels : channels;
    double sumLeft = 0, sumRight = 0;
    Weight w[kMaxSourceChannels] = {};
    for (uint32_t i = 0; i < m.channels; ++i) {
        w[i] = weightOf(speakers[i]);
        sumLeft += w[i].left;
        sumRight += w[i].right;
    }
    for (uint32_t i = 0; i < m.channels; ++i) {
        m.left[i] = sumLeft > 0 ? static_cast<float>(w[i].left / sumLeft) : 0.0f;
        m.right[i] = sumRight > 0 ? static_cast<float>(w[i].right / sumRight) : 0.0f;
    }
    return m;
}

}  // namespace

uint32_t defaultChannelMask(uint32_t channels) {
    switch (channels) {
        case 1:
            return FrontCenter;
        case 2:
            return FrontLeft | FrontRight;
        case 3:
            return FrontLeft | FrontRight | FrontCenter;
        case 4:
            return FrontLeft | FrontRight | BackLeft | BackRight;
        case 5:
            return FrontLeft | FrontRight | FrontCenter | BackLeft | BackRight;
        case 6:
            return FrontLeft | FrontRight | FrontCenter | LowFrequency | BackLeft | BackRight;
        case 7:
            return FrontLeft | FrontRight | FrontCenter | LowFrequency | BackCenter | SideLeft |
                   SideRight;
        case 8:
            return FrontLeft | FrontRight | FrontCenter | LowFrequency | BackLeft | BackRight |
                   SideLeft | SideRight;
        default:
            return 0;
    }
}

DownmixMatrix downmixForMask(uint32_t channels, uint32_t mask) {
    uint32_t speakers[kMaxSourceChannels] = {};
    uint32_t bit = 1;
    for (uint32_t i = 0; i < channels && i < kMaxSourceChannels; ++i) {
        while (bit != 0 && !(mask & bit)) bit <<= 1;
        speakers[i] = bit;  // 0 once the mask has no more speakers
        if (bit != 0) bit <<= 1;
    }
    return fromSpeakers(channels, speakers);
}

DownmixMatrix downmixForVorbis(uint32_t channels) {
    static const uint32_t kOrders[kMaxSourceChannels][kMaxSourceChannels] = {
        {FrontCenter},
        {FrontLeft, FrontRight},
        {FrontLeft, FrontCenter, FrontRight},
        {FrontLeft, FrontRight, BackLeft, BackRight},
        {FrontLeft, FrontCenter, FrontRight, BackLeft, BackRight},
        {FrontLeft, FrontCenter, FrontRight, BackLeft, BackRight, LowFrequency},
        {FrontLeft, FrontCenter, FrontRight, SideLeft, SideRight, BackCenter, LowFrequency},
        {FrontLeft, FrontCenter, FrontRight, SideLeft, SideRight, BackLeft, BackRight,
         LowFrequency},
    };
    if (channels == 0 || channels > kMaxSourceChannels) return DownmixMatrix{};
    return fromSpeakers(channels, kOrders[channels - 1]);
}

DownmixMatrix downmixFor(const SourceFormat& format) {
    if (format.order == ChannelOrder::Vorbis) return downmixForVorbis(format.channels);
    const uint32_t mask =
        format.channelMask != 0 ? format.channelMask : defaultChannelMask(format.channels);
    return downmixForMask(format.channels, mask);
}

}  // namespace tarnuvo
