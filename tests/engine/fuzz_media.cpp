// libFuzzer target: WAV and Ogg Vorbis identification plus the first buffers
// of playback, a seek included. The first input byte picks the play mode,
// the loop count and the seek target; the rest is the file.
//
// Ogg pages carry a checksum, so a blind mutation of an Ogg file is refused
// before the Vorbis headers, the comments or the loop are looked at. The
// custom mutator below mends the checksums of every whole page after each
// mutation; other files pass through as libFuzzer's mutators left them.
#include <unistd.h>

#include <array>
#include <cstdint>
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

// The Ogg checksum: CRC-32 with the polynomial 0x04C11DB7, most significant
// bit first, starting from 0, with no final inversion.
const std::array<uint32_t, 256>& oggCrcTable() {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t r = i << 24;
            for (int k = 0; k < 8; ++k) r = (r << 1) ^ ((r & 0x80000000u) ? 0x04C11DB7u : 0);
            t[i] = r;
        }
        return t;
    }();
    return table;
}

// Rewrites the checksum of every whole page in `file`. A page starts at its
// capture pattern; bytes between pages (a mutation may insert some) are
// skipped, and a page cut by the end of the file is left alone.
void mendOggPages(uint8_t* file, size_t size) {
    constexpr size_t kHeader = 27;  // up to the segment count
    constexpr size_t kChecksumAt = 22;
    const auto& table = oggCrcTable();
    size_t at = 0;
    while (at + kHeader <= size) {
        if (std::memcmp(file + at, "OggS", 4) != 0) {
            ++at;
            continue;
        }
        const size_t segments = file[at + 26];
        if (at + kHeader + segments > size) return;
        size_t length = kHeader + segments;
        for (size_t i = 0; i < segments; ++i) length += file[at + kHeader + i];
        if (at + length > size) return;
        std::memset(file + at + kChecksumAt, 0, 4);
        uint32_t crc = 0;
        for (size_t i = 0; i < length; ++i) crc = (crc << 8) ^ table[(crc >> 24) ^ file[at + i]];
        for (int b = 0; b < 4; ++b)
            file[at + kChecksumAt + b] = static_cast<uint8_t>(crc >> (8 * b));
        at += length;
    }
}

}  // namespace

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int) {
    size = LLVMFuzzerMutate(data, size, maxSize);
    // The control byte comes first; only an Ogg file after it is mended.
    if (size > 5 && std::memcmp(data + 1, "OggS", 4) == 0) mendOggPages(data + 1, size - 1);
    return size;
}

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
