// A player set up so that every buffer it fills holds one loop wrap: a loop
// one buffer long in the middle of the track, entered before the first
// timed fill. Shared by the native benchmark and the timing tool for Wine.
#pragma once

#include <string>

#include "tools/render/renderer.h"

namespace tarnuvo {

class DiscardingSink : public BufferSink {
public:
    void queue(uint32_t, OutputBuffer&) override {}
};
class DiscardingWriter : public ByteWriter {
public:
    bool write(const uint8_t*, size_t) override { return true; }
};

// Opens `path` into `player` and fills until the buffers hold a wrap each;
// false when the file does not open.
inline bool startWrapFills(RenderPlayer& player, PlayerEnvironment& env, const std::string& path,
                           BufferSink& sink) {
    env.playMode = RepeatOne;
    player.attach(nullptr, &env);
    if (player.open(path.c_str(), -1, 0, nullptr) < 0) return false;
    player.setVolume(50000);  // the gain is part of every real fill
    player.hasLoop = 1;
    player.loopStart = player.availableFrames() / 2;
    player.loopEnd = player.loopStart + player.bufferFrames();
    player.applyLoopRange();
    player.play(0);
    for (int i = 0; i < 1000 && player.buffer(player.headerIndex).wraps == 0; ++i) {
        player.fillBuffer(sink);
    }
    return player.buffer(player.headerIndex).wraps != 0;
}

}  // namespace tarnuvo
