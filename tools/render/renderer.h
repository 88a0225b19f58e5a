// Renders a track to PCM exactly as the waveOut player would play it: four
// buffers in flight, each returned buffer accounted and followed by one fill.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/native_player.h"

namespace tarnuvo {

struct RenderOptions {
    int32_t playMode = Single;
    int32_t loopCount = 2;
    int32_t loopIgnore = 0;
    int32_t volume = -1;  // -1: never set
    int32_t fadeMs = -1;  // -1: the tail follows the passes; else a fade of this length
    int32_t fadeDelayMs = 0;
    bool seek = false;
    uint32_t seekBytes = 0;  // time units
    int64_t maxBytes = -1;   // -1: no limit in bytes
    double maxSeconds = -1;  // < 0: no limit in seconds of the device stream
};

class ByteWriter {
public:
    virtual ~ByteWriter() = default;
    virtual bool write(const uint8_t* data, size_t n) = 0;
};

class VectorWriter : public ByteWriter {
public:
    bool write(const uint8_t* data, size_t n) override {
        bytes.insert(bytes.end(), data, data + n);
        return true;
    }
    std::vector<uint8_t> bytes;
};

struct RenderResult {
    int32_t status = 0;       // 0 done, 1 input refused, 2 other failure
    uint32_t endCommand = 0;  // the command the player would post at the end, 0 for none
    bool trackEnded = false;
    uint32_t loopsDone = 0;
    uint32_t loopsRead = 0;
    uint64_t bytes = 0;
    std::vector<intptr_t> marks;  // the mark of every buffer queued, in order
};

// A NativePlayer whose device is a queue in memory.
class RenderPlayer : public NativePlayer, private BufferSink {
public:
    explicit RenderPlayer(ByteWriter& out, int64_t maxBytes = -1);

    // Limits the output to whole device frames of `seconds`, once the device
    // format is known (after open).
    void limitSeconds(double seconds);

    int32_t play(intptr_t unused) override;
    int32_t seek(uint32_t position) override;
    int32_t stop() override;

    // Plays the queue out until the end of the track, the byte limit, or
    // until `buffers` buffers have come back (0: no limit).
    void run(RenderResult& result, uint32_t buffers = 0);
    bool limitReached() const {
        return maxBytes_ >= 0 && written_ >= static_cast<uint64_t>(maxBytes_);
    }

private:
    void queue(uint32_t index, OutputBuffer& buffer) override;

    ByteWriter& out_;
    int64_t maxBytes_;
    uint64_t written_ = 0;
    bool writeFailed_ = false;
    std::vector<uint32_t> queued_;
    std::vector<intptr_t> marks_;
    // Sized per device format: 192 kHz float stereo is too big for a stack.
    std::vector<uint8_t> blocks_;
};

RenderResult renderTrack(const char* input, const RenderOptions& options, ByteWriter& out);

// The device format `input` plays in; false when the file is refused.
bool renderDeviceFormat(const char* input, DeviceFormat& device);

// The WAV header of `dataBytes` in the device format: 44 bytes of 16-bit
// PCM, or 58 of IEEE float (an 18-byte format chunk and a fact chunk).
std::vector<uint8_t> makeWavHeader(const DeviceFormat& device, uint32_t dataBytes);

}  // namespace tarnuvo
