#include "engine/wav_source.h"

#include <cstring>

#include "engine/riff_loop.h"
#include "engine/text.h"
#include "engine/units.h"

namespace tarnuvo {
namespace {

constexpr uint32_t kFmtStart = 12;
constexpr uint32_t kChunkHeader = 8;
constexpr uint32_t kFmtFieldsEnd = 38;  // through the extra-format size
constexpr uint32_t kInfoTextMax = 260;

uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
bool is(const uint8_t* p, const char (&id)[5]) {
    return std::memcmp(p, id, 4) == 0;
}

struct WalkResult {
    uint32_t dataOffset = 0;
    uint32_t dataSize = 0;  // as declared
    bool loop = false;
    uint32_t start = 0, end = 0;
    FrameLoop cue;  // applies when no smpl loop was found
};

void copyInfoText(char* dst, const uint8_t* text, uint32_t declared, uint32_t available) {
    uint32_t limit = (declared == UINT32_MAX || declared > kInfoTextMax) ? kInfoTextMax : declared;
    if (limit == 0) return;  // a limit of zero copies nothing, not even the terminator
    copyText(dst, limit, reinterpret_cast<const char*>(text), available);
}

void walkInfo(const uint8_t* base, uint32_t size, uint64_t chunk, uint32_t s, TrackInfo& track) {
    // Subchunks live inside the LIST chunk and inside the file.
    const uint64_t listEnd = chunk + kChunkHeader + static_cast<uint64_t>(s);
    const uint64_t end = listEnd < size ? listEnd : size;
    for (uint64_t f = 4; f < s;) {
        const uint64_t sub = chunk + kChunkHeader + f;
        if (sub + kChunkHeader > end) break;
        const uint32_t z = le32(base + sub + 4);
        const uint64_t textAt = sub + kChunkHeader;
        const uint32_t available = static_cast<uint32_t>(end - textAt);
        if (is(base + sub, "INAM")) copyInfoText(track.title, base + textAt, z, available);
        if (is(base + sub, "IART")) copyInfoText(track.artist, base + textAt, z, available);
        f += static_cast<uint64_t>(z) + (z & 1) + kChunkHeader;
    }
}

WalkResult walkChunks(const uint8_t* base, uint32_t size, TrackInfo& track) {
    WalkResult r;
    uint64_t offset = 20 + static_cast<uint64_t>(le32(base + 16));
    while (offset < size) {
        // A chunk header cut off by the end of the file ends the walk.
        if (offset + kChunkHeader > size) break;
        const uint8_t* chunk = base + offset;
        const uint32_t s = le32(chunk + 4);
        if (is(chunk, "data")) {
            r.dataOffset = static_cast<uint32_t>(offset + kChunkHeader);
            r.dataSize = s;
        } else if (is(chunk, "smpl") || is(chunk, "cue ")) {
            // Loop records count only inside both the chunk and the file.
            const uint32_t inFile = static_cast<uint32_t>(size - offset - kChunkHeader);
            const uint8_t* payload = chunk + kChunkHeader;
            const uint32_t bytes = s < inFile ? s : inFile;
            if (is(chunk, "cue ")) {
                if (const FrameLoop cue = cueLoop(payload, bytes); cue.found) r.cue = cue;
            } else if (smplHasLoopRecord(payload, bytes)) {
                // A later record replaces the values; the flag, once set, stays.
                const FrameLoop smpl = smplLoop(payload, bytes);
                r.start = smpl.start;
                r.end = smpl.end;
                if (smpl.found) r.loop = true;
            }
        } else if (is(chunk, "LIST") && offset + 12 <= size && is(chunk + 8, "INFO")) {
            walkInfo(base, size, offset, s, track);
        }
        // Offsets past 32 bits end the walk; every step moves forward.
        offset += static_cast<uint64_t>(s) + kChunkHeader;
        if (offset > UINT32_MAX) break;
    }
    return r;
}

constexpr uint16_t kTagPcm = 1;
constexpr uint16_t kTagAdpcm = 2;
constexpr uint16_t kTagFloat = 3;
constexpr uint16_t kTagExtensible = 0xFFFE;
constexpr uint32_t kExtensibleExtra = 22;
constexpr uint32_t kExtensibleFmtBytes = 40;  // 18 + 22
constexpr uint32_t kAdpcmFmtBytes = 20;       // through samples per block
// The GUID tail shared by the KSDATAFORMAT_SUBTYPE values; the first two
// bytes carry the format tag.
constexpr uint8_t kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

struct FmtFields {
    uint16_t tag, channels, align, bits, extra;
    uint32_t rate, chunkBytes;
};

bool legacyFormat(const FmtFields& f, uint16_t tag, uint16_t align, uint16_t bits) {
    return f.tag == tag && f.channels == 2 && f.rate == 44100 && f.align == align && f.bits == bits;
}

bool sampleTypeFor(uint16_t tag, uint32_t bits, SampleType& type) {
    if (tag == kTagPcm) {
        switch (bits) {
            case 8:
                type = SampleType::U8;
                return true;
            case 16:
                type = SampleType::S16;
                return true;
            case 24:
                type = SampleType::S24;
                return true;
            case 32:
                type = SampleType::S32;
                return true;
            default:
                return false;
        }
    }
    if (tag == kTagFloat) {
        if (bits == 32) type = SampleType::F32;
        if (bits == 64) type = SampleType::F64;
        return bits == 32 || bits == 64;
    }
    return false;
}

// Tags 1 and 3 and the extensible form of either.
bool acceptSampled(const uint8_t* base, const FmtFields& f, WavLayout& layout) {
    uint16_t tag = f.tag;
    uint32_t valid = f.bits;
    uint32_t mask = 0;
    if (tag == kTagExtensible) {
        if (f.extra < kExtensibleExtra || f.chunkBytes < kExtensibleFmtBytes) return false;
        const uint8_t* sub = base + 44;
        if (std::memcmp(sub + 2, kSubFormatTail, sizeof kSubFormatTail) != 0) return false;
        tag = le16(sub);
        valid = le16(base + 38);
        mask = le32(base + 40);
        if (valid == 0) valid = f.bits;
        if (valid > f.bits) return false;
    }
    SampleType type;
    if (!sampleTypeFor(tag, f.bits, type)) return false;
    if (f.align != f.channels * (f.bits / 8u)) return false;
    layout.kind = Pcm;
    layout.format.type = type;
    layout.format.channelMask = mask;
    layout.blockAlign = f.align;
    if (tag == kTagPcm) layout.clearBits = f.bits - valid;
    return true;
}

bool acceptAdpcm(const uint8_t* base, const FmtFields& f, WavLayout& layout) {
    if (f.channels > 2 || f.bits != 4 || f.chunkBytes < kAdpcmFmtBytes) return false;
    const uint32_t header = 7u * f.channels;
    const uint32_t perBlock = le16(base + 38);
    if (f.align <= header || perBlock == 0 || perBlock != (f.align - header) * 2 / f.channels + 2) {
        return false;
    }
    layout.kind = Adpcm;
    layout.format.type = SampleType::Adpcm;
    layout.blockAlign = f.align;
    layout.samplesPerBlock = perBlock;
    return true;
}

// The kinds accepted before any rate or width was: their rules stay as they were.
bool acceptLegacy(const uint8_t* base, uint32_t size, const FmtFields& f, WavLayout& layout) {
    if (legacyFormat(f, kTagPcm, 4, 16) && le32(base + 4) < size) {
        layout.kind = Pcm;
        layout.format.type = SampleType::S16;
        layout.blockAlign = 4;
    } else if (legacyFormat(f, kTagAdpcm, 2048, 4) && f.extra == 32) {
        layout.kind = Adpcm;
        layout.format.type = SampleType::Adpcm;
        layout.blockAlign = kAdpcmBlockBytes;
        layout.samplesPerBlock = kAdpcmBlockPcmBytes / 4;
    } else {
        return false;
    }
    return true;
}

bool acceptFormat(const uint8_t* base, uint32_t size, WavLayout& layout) {
    FmtFields f;
    f.tag = le16(base + 20);
    f.channels = le16(base + 22);
    f.rate = le32(base + 24);
    f.align = le16(base + 32);
    f.bits = le16(base + 34);
    f.extra = le16(base + 36);
    f.chunkBytes = le32(base + 16);
    layout.format.rate = f.rate;
    layout.format.channels = f.channels;
    if (acceptLegacy(base, size, f, layout)) return true;
    // Every other kind: the whole format chunk lies in the file.
    if (f.chunkBytes < 16 || f.chunkBytes > size - 20) return false;
    if (f.rate < kMinRate || f.rate > kMaxRate || f.channels == 0 ||
        f.channels > kMaxSourceChannels) {
        return false;
    }
    if (f.tag == kTagAdpcm) return acceptAdpcm(base, f, layout);
    return le32(base + 4) < size && acceptSampled(base, f, layout);
}

}  // namespace

WavLayout identifyWav(const uint8_t* base, uint32_t size, TrackInfo& track) {
    WavLayout layout;
    if (size < kFmtFieldsEnd || !is(base, "RIFF") || !is(base + 8, "WAVE") ||
        !is(base + kFmtStart, "fmt ")) {
        return layout;
    }
    if (!acceptFormat(base, size, layout)) return WavLayout{};

    const WalkResult walk = walkChunks(base, size, track);
    layout.dataOffset = walk.dataOffset;
    if (walk.dataOffset != 0) {
        const uint32_t inFile = size - walk.dataOffset;
        layout.dataBytes = walk.dataSize < inFile ? walk.dataSize : inFile;
    }
    // A trailing partial frame or ADPCM block is not played.
    const uint32_t units = layout.dataBytes / layout.blockAlign;
    const uint64_t frames =
        layout.kind == Adpcm ? static_cast<uint64_t>(units) * layout.samplesPerBlock : units;
    layout.frames = frames > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(frames);
    if (!track.infoKnown) {
        track.sampleRate = layout.format.rate;
        track.frameCount = layout.frames;
        track.length = unitsFromFrames(layout.frames, layout.format.rate);
        track.hasLoop = walk.loop ? 1 : 0;
        track.loopStart = walk.start;
        track.loopEnd = walk.end;
        if (!walk.loop && walk.cue.found) applyFileLoop(walk.cue, track);
    }
    return layout;
}

}  // namespace tarnuvo
