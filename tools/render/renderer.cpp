#include "tools/render/renderer.h"

#include <cstring>

namespace tarnuvo {

RenderPlayer::RenderPlayer(ByteWriter& out, int64_t maxBytes) : out_(out), maxBytes_(maxBytes) {
    for (uint32_t i = 0; i < kBufferCount; ++i) buffer(i).data = blocks_[i];
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
    beginStream();
    for (uint32_t i = 0; i < kQueueDepth; ++i) fillBuffer(*this);
    return 1;
}

int32_t RenderPlayer::seek(uint32_t position) {
    pendingStart = position;
    hasPendingStart = true;
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
    RenderPlayer player(out, options.maxBytes);
    player.attach(nullptr, &env);
    if (player.open(input, -1, 0, nullptr) < 0) {
        result.status = 1;
        return result;
    }
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

void makeWavHeader(uint8_t (&h)[44], uint32_t dataBytes) {
    auto put32 = [&](int at, uint32_t v) {
        for (int i = 0; i < 4; ++i) h[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    std::memcpy(h, "RIFF", 4);
    put32(4, dataBytes + 36);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put32(20, 1 | (2u << 16));
    put32(24, 44100);
    put32(28, kBytesPerSecond);
    put32(32, 4 | (16u << 16));
    std::memcpy(h + 36, "data", 4);
    put32(40, dataBytes);
}

}  // namespace tarnuvo
