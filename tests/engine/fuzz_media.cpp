// libFuzzer target: WAV and Ogg Vorbis identification plus the first buffers
// of playback, a seek included. The first input byte picks the play mode,
// the loop count and the seek target; the rest is the file.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "engine/wav_source.h"
#include "tools/render/renderer.h"

namespace {

class NullWriter : public tarnuvo::ByteWriter {
public:
    bool write(const uint8_t*, size_t) override { return true; }
};

const std::string& scratchPath() {
    static const std::string path = "/tmp/tarnuvo-fuzz-" + std::to_string(getpid()) + ".bin";
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t control = data[0];
    const uint8_t* file = data + 1;
    const size_t fileSize = size - 1;

    {
        // An exact-size copy so that any read past the end is caught.
        std::unique_ptr<uint8_t[]> copy(new uint8_t[fileSize ? fileSize : 1]);
        if (fileSize) std::memcpy(copy.get(), file, fileSize);
        tarnuvo::TrackInfo track;
        tarnuvo::identifyWav(copy.get(), static_cast<uint32_t>(fileSize), track);
    }

    FILE* f = std::fopen(scratchPath().c_str(), "wb");
    if (!f) return 0;
    std::fwrite(file, 1, fileSize, f);
    std::fclose(f);

    tarnuvo::PlayerEnvironment env;
    env.playMode = control & 3;
    env.loopCount = (control >> 2) & 7;
    NullWriter out;
    tarnuvo::RenderPlayer player(out, 1 << 20);
    player.attach(nullptr, &env);
    if (player.open(scratchPath().c_str(), -1, 0, nullptr) < 0) return 0;
    player.applyLoopRange();
    player.setVolume(control * 257u);
    player.play(0);
    tarnuvo::RenderResult result;
    player.run(result, 12);
    const uint32_t target = (control >> 5) * (player.length / 7 + 1) + (control & 3);
    player.seek(target);
    player.applyLoopRange();
    player.play(0);
    player.run(result, 12);
    player.stop();
    return 0;
}
