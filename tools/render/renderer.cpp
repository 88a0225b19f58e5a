#include "tools/render/renderer.h"

#include <cstring>

namespace tarnuvo {

RenderPlayer::RenderPlayer(ByteWriter& out, int64_t maxBytes) : out_(out), maxBytes_(maxBytes) {}

void RenderPlayer::limitSeconds(double seconds) {
    const DeviceFormat device = deviceChosen() ? deviceFormat() : preferredDeviceFormat();
    const auto frames = static_cast<int64_t>(seconds * device.rate);
    maxBytes_ = frames * device.bytesPerFrame();
}

void RenderPlayer::queue(uint32_t index, OutputBuffer& b) {
    queued_.push_back(index);
    marks_.push_back(b.mark);
    uint64_t n = b.length;
    if (maxBytes_ >= 0) {
        const uint64_t room =
            written_ < static_cast<uint64_t>(maxBytes_) ? maxBytes_ - written_ : 0;
        if (n > room) n = room;
    }
    if (n && !out_.write(b.data, static_cast<size_t>(n))) writeFailed_ = true;
    written_ += n;
}

int32_t RenderPlayer::play(intptr_t) {
    if (kind() == NoSource) return 0;
    if (!deviceChosen()) chooseDeviceFormat(preferredDeviceFormat());
    const uint32_t bytes = bufferBytes();
    if (blocks_.size() != static_cast<size_t>(bytes) * kBufferCount) {
        blocks_.assign(static_cast<size_t>(bytes) * kBufferCount, 0);
    }
    for (uint32_t i = 0; i < kBufferCount; ++i) buffer(i).data = blocks_.data() + size_t{i} * bytes;
    beginStream();
    for (uint32_t i = 0; i < kQueueDepth; ++i) fillBuffer(*this);
    return 1;
}

int32_t RenderPlayer::seek(uint32_t position) {
    setPendingStart(position);
    ended = true;
    state = Stopped;
    // The device hands every queued buffer back unheard.
    for (uint32_t index : queued_) discardBuffer(index);
    queued_.clear();
    return 1;
}

int32_t RenderPlayer::stop() {
    ended = true;
    state = Stopped;
    for (uint32_t index : queued_) discardBuffer(index);
    queued_.clear();
    releaseDecoder();
    return 1;
}

void RenderPlayer::run(RenderResult& result, uint32_t buffers) {
    uint32_t returned = 0;
    while (!queued_.empty() && !limitReached() && !writeFailed_) {
        if (buffers && returned == buffers) break;
        const uint32_t index = queued_.front();
        queued_.erase(queued_.begin());
        ++returned;
        if (accountBuffer(index)) {
            ended = true;
            result.trackEnded = true;
            result.endCommand = endCommand;
            break;
        }
        if (!ended) fillBuffer(*this);
    }
    if (writeFailed_) result.status = 2;
    result.loopsDone = loopsDone;
    result.loopsRead = loopsRead;
    result.bytes = written_;
    result.marks = marks_;
}

RenderResult renderTrack(const char* input, const RenderOptions& options, ByteWriter& out) {
    RenderResult result;
    PlayerEnvironment env;
    env.playMode = options.playMode;
    env.loopCount = options.loopCount;
    env.loopIgnore = options.loopIgnore;
    env.fadeOut = options.fadeMs >= 0 ? 1 : 0;
    if (options.fadeMs >= 0) env.fadeLengthMs = options.fadeMs;
    env.fadeDelayMs = options.fadeDelayMs;
    RenderPlayer player(out, options.maxBytes);
    player.attach(nullptr, &env);
    if (player.open(input, -1, 0, nullptr) < 0) {
        result.status = 1;
        return result;
    }
    if (options.maxSeconds >= 0) player.limitSeconds(options.maxSeconds);
    if (options.volume >= 0) player.setVolume(static_cast<uint32_t>(options.volume));
    player.applyLoopRange();
    if (options.seek) {
        player.seek(options.seekBytes);
        player.applyLoopRange();
    }
    player.play(0);
    player.run(result);
    return result;
}

bool renderDeviceFormat(const char* input, DeviceFormat& device) {
    NativePlayer probe;
    if (probe.open(input, -1, 0, nullptr) < 0) return false;
    device = probe.preferredDeviceFormat();
    return true;
}

std::vector<uint8_t> makeWavHeader(const DeviceFormat& device, uint32_t dataBytes) {
    std::vector<uint8_t> h;
    auto put16 = [&](uint32_t v) {
        h.push_back(static_cast<uint8_t>(v));
        h.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto put32 = [&](uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    auto id = [&](const char* four) { h.insert(h.end(), four, four + 4); };
    const uint32_t align = device.bytesPerFrame();
    const uint32_t fmtBytes = device.isFloat ? 18 : 16;
    const uint32_t factBytes = device.isFloat ? 12 : 0;
    id("RIFF");
    put32(4 + 8 + fmtBytes + factBytes + 8 + dataBytes);
    id("WAVE");
    id("fmt ");
    put32(fmtBytes);
    put16(device.isFloat ? 3 : 1);
    put16(device.channels);
    put32(device.rate);
    put32(device.rate * align);
    put16(align);
    put16(device.isFloat ? 32 : 16);
    if (device.isFloat) {
        put16(0);
        id("fact");
        put32(4);
        put32(dataBytes / align);
    }
    id("data");
    put32(dataBytes);
    return h;
}

}  // namespace tarnuvo
