#include "engine/riff_loop.h"

namespace tarnuvo {
namespace {

constexpr uint32_t kSmplLoopCountAt = 28;
constexpr uint32_t kSmplFirstLoopStart = 44;  // the record's dwStart
constexpr uint32_t kSmplFirstLoopEnd = 52;    // past the record's dwEnd
constexpr uint32_t kCueRecordBytes = 24;
constexpr uint32_t kCueOffsetAt = 20;  // dwSampleOffset in a record

uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

bool smplHasLoopRecord(const uint8_t* payload, uint32_t size) {
    return size >= kSmplFirstLoopEnd && le32(payload + kSmplLoopCountAt) >= 1;
}

FrameLoop smplLoop(const uint8_t* payload, uint32_t size) {
    FrameLoop loop;
    if (!smplHasLoopRecord(payload, size)) return loop;
    loop.start = le32(payload + kSmplFirstLoopStart);
    loop.end = le32(payload + kSmplFirstLoopStart + 4);
    loop.found = loop.start < loop.end;
    return loop;
}

FrameLoop cueLoop(const uint8_t* payload, uint32_t size) {
    FrameLoop loop;
    if (size < 4) return loop;
    const uint32_t inPayload = (size - 4) / kCueRecordBytes;
    const uint32_t declared = le32(payload);
    const uint32_t points = declared < inPayload ? declared : inPayload;
    if (points < 2) return loop;
    // The two lowest ids in one pass; a strict comparison keeps file order
    // among equal ids.
    const uint8_t* first = nullptr;
    const uint8_t* second = nullptr;
    for (uint32_t i = 0; i < points; ++i) {
        const uint8_t* record = payload + 4 + static_cast<size_t>(i) * kCueRecordBytes;
        const uint32_t id = le32(record);
        if (!first || id < le32(first)) {
            second = first;
            first = record;
        } else if (!second || id < le32(second)) {
            second = record;
        }
    }
    loop.start = le32(first + kCueOffsetAt);
    loop.end = le32(second + kCueOffsetAt);
    loop.found = loop.start < loop.end;
    return loop;
}

}  // namespace tarnuvo
