#include "engine/wav_source.h"

#include <cstring>

#include "engine/text.h"

namespace tarnuvo {
namespace {

constexpr uint32_t kFmtStart = 12;
constexpr uint32_t kChunkHeader = 8;
constexpr uint32_t kFmtFieldsEnd = 38;     // through the extra-format size
constexpr uint32_t kSmplLoopCountAt = 36;  // from the chunk header
constexpr uint32_t kSmplFirstLoopEnd = 60;
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
        } else if (is(chunk, "smpl")) {
            // Only the first loop record is read, and only when it lies in
            // both the chunk and the file, whatever the loop count says.
            if (offset + kSmplFirstLoopEnd <= size && s >= kSmplFirstLoopEnd - kChunkHeader &&
                le32(chunk + kSmplLoopCountAt) >= 1) {
                r.start = le32(chunk + 52);
                r.end = le32(chunk + 56);
                if (r.start < r.end) r.loop = true;
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

bool formatIs(const uint8_t* base, uint16_t tag, uint16_t align, uint16_t bits) {
    return le16(base + 20) == tag && le16(base + 22) == 2 && le32(base + 24) == 44100 &&
           le16(base + 32) == align && le16(base + 34) == bits;
}

}  // namespace

WavLayout identifyWav(const uint8_t* base, uint32_t size, TrackInfo& track) {
    WavLayout layout;
    if (size < kFmtFieldsEnd || !is(base, "RIFF") || !is(base + 8, "WAVE") ||
        !is(base + kFmtStart, "fmt ")) {
        return layout;
    }
    if (formatIs(base, 1, 4, 16) && le32(base + 4) < size) {
        layout.kind = Pcm;
        layout.blockSize = 4;
    } else if (formatIs(base, 2, 2048, 4) && le16(base + 36) == 32) {
        layout.kind = Adpcm;
        layout.blockSize = kAdpcmBlockBytes;
    } else {
        return layout;
    }

    const WalkResult walk = walkChunks(base, size, track);
    layout.dataOffset = walk.dataOffset;
    if (walk.dataOffset != 0) {
        const uint32_t inFile = size - walk.dataOffset;
        layout.dataBytes = walk.dataSize < inFile ? walk.dataSize : inFile;
    }
    uint32_t trackLength;
    if (layout.kind == Pcm) {
        layout.pcmBytes = layout.dataBytes & ~3u;
        trackLength = layout.pcmBytes;
    } else {
        layout.pcmBytes = (layout.dataBytes / kAdpcmBlockBytes) * kAdpcmBlockPcmBytes;
        trackLength = layout.pcmBytes;
    }
    if (!track.infoKnown) {
        track.length = trackLength;
        track.hasLoop = walk.loop ? 1 : 0;
        track.loopStart = walk.start;
        track.loopEnd = walk.end;
    }
    return layout;
}

}  // namespace tarnuvo
