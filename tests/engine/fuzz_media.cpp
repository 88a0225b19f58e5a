// libFuzzer target: identification of every kind the engine plays (WAV, Ogg
// Vorbis and Opus, MP3, FLAC) plus the first buffers of playback, a seek
// included. The first input byte picks the kind of file, the second the play
// mode, the loop count and the seek target; the rest is the file.
//
// Ogg pages and FLAC frames carry checksums, so a blind mutation of such a
// file is refused before its headers, comments or loop are looked at. The
// kind says which checksums to mend before the file is written: none (WAV,
// MP3, and files whose damage includes their checksums), those of every
// whole Ogg page, or FLAC's frame header CRC-8 and frame CRC-16.
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/mp3_probe.h"
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

// FLAC's checksums, most significant bit first from 0: CRC-8 with the
// polynomial 0x07 over a frame header, CRC-16 with 0x8005 over a whole frame.
uint32_t flacCrc(const uint8_t* p, size_t n, int width, uint32_t poly) {
    const uint32_t top = 1u << (width - 1), mask = (top << 1) - 1;
    uint32_t crc = 0;
    for (size_t i = 0; i < n; ++i) {
        crc ^= static_cast<uint32_t>(p[i]) << (width - 8);
        for (int k = 0; k < 8; ++k) crc = ((crc << 1) ^ ((crc & top) ? poly : 0)) & mask;
    }
    return crc;
}

// The length of the frame header at `p` up to and with its CRC-8, or 0 when
// the bytes there cannot start one (as a decoder hunting for sync sees it).
size_t flacHeaderBytes(const uint8_t* p, size_t n) {
    if (n < 5 || p[0] != 0xFF || (p[1] & 0xFE) != 0xF8) return 0;
    const int blockCode = p[2] >> 4, rateCode = p[2] & 15;
    if (blockCode == 0 || rateCode == 15 || (p[3] >> 4) > 10 || (p[3] & 1)) return 0;
    size_t number = 1;  // the frame or sample number, UTF-8 coded
    for (uint8_t lead = p[4]; number < 7 && (lead & 0x80) && (lead & (0x40 >> (number - 1)));)
        ++number;
    if ((p[4] & 0xC0) == 0x80) return 0;
    size_t bytes = 4 + number + 1;                                 // and the CRC-8
    if (blockCode == 6 || blockCode == 7) bytes += blockCode - 5;  // a block size
    if (rateCode >= 12) bytes += rateCode == 12 ? 1 : 2;           // a rate
    return bytes <= n ? bytes : 0;
}

// Rewrites the checksums of every frame in a FLAC file: each place after the
// metadata blocks where a frame header can start begins a frame that ends
// where the next begins (or the file ends).
void mendFlacFrames(uint8_t* file, size_t size) {
    if (size < 4 || std::memcmp(file, "fLaC", 4) != 0) return;
    size_t at = 4;
    for (bool last = false; !last;) {
        if (at + 4 > size) return;
        last = (file[at] & 0x80) != 0;
        at += 4 + (static_cast<size_t>(file[at + 1]) << 16 | file[at + 2] << 8 | file[at + 3]);
    }
    std::vector<std::pair<size_t, size_t>> frames;  // where, header length
    for (; at + 1 < size; ++at) {
        if (const size_t header = flacHeaderBytes(file + at, size - at))
            frames.emplace_back(at, header);
    }
    for (size_t i = 0; i < frames.size(); ++i) {
        const auto [begin, header] = frames[i];
        const size_t end = i + 1 < frames.size() ? frames[i + 1].first : size;
        file[begin + header - 1] = static_cast<uint8_t>(flacCrc(file + begin, header - 1, 8, 0x07));
        if (end - begin < header + 2) continue;
        const uint32_t crc = flacCrc(file + begin, end - begin - 2, 16, 0x8005);
        file[end - 2] = static_cast<uint8_t>(crc >> 8);
        file[end - 1] = static_cast<uint8_t>(crc);
    }
}

enum Kind { kAsIs, kOgg, kFlac, kKinds };

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint8_t control = data[1];
    // An exact-size copy so that any read past the end is caught.
    const size_t fileSize = size - 2;
    std::unique_ptr<uint8_t[]> file(new uint8_t[fileSize ? fileSize : 1]);
    if (fileSize) std::memcpy(file.get(), data + 2, fileSize);
    if (data[0] % kKinds == kOgg) mendOggPages(file.get(), fileSize);
    if (data[0] % kKinds == kFlac) mendFlacFrames(file.get(), fileSize);
    {
        tarnuvo::TrackInfo track;
        tarnuvo::identifyWav(file.get(), static_cast<uint32_t>(fileSize), track);
        tarnuvo::mp3AudioStart(file.get(), fileSize);
    }

    FILE* f = std::fopen(scratchPath().c_str(), "wb");
    if (!f) return 0;
    std::fwrite(file.get(), 1, fileSize, f);
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
