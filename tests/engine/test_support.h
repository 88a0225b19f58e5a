// Helpers shared by the engine tests: files, WAV building, loop expectations.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <vorbis/vorbisfile.h>

#include "engine/track_info.h"
#include "tools/render/renderer.h"

namespace testing_support {

using Bytes = std::vector<uint8_t>;

// A path of the build tree as this build opens it (under Wine, on Z:).
inline std::string hostPath(std::string p) {
#ifdef _WIN32
    for (char& c : p) c = c == '/' ? '\\' : c;
    p = "Z:" + p;
#endif
    return p;
}

// A fixture built by make_fixtures.py, as a path this build can open.
inline std::string fixture(const std::string& name) {
    return hostPath(std::string(TARNUVO_FIXTURES) + "/" + name);
}

inline Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

class TempDir {
public:
    TempDir() {
        static int counter = 0;
        auto base = std::filesystem::temp_directory_path();
        for (;;) {
            dir_ = base / ("tarnuvo-test-" + std::to_string(std::rand()) + "-" +
                           std::to_string(++counter));
            if (std::filesystem::create_directory(dir_)) break;
        }
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string write(const std::string& name, const Bytes& bytes) const {
        std::string p = path(name);
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return p;
    }

private:
    std::filesystem::path dir_;
};

inline void put16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

struct CuePoint {
    uint32_t id, offset;
};

// A `cue ` chunk's payload of the given points; `declared` replaces the
// count and `cut` takes bytes off the end.
inline Bytes cuePayload(std::initializer_list<CuePoint> points, int64_t declared = -1,
                        size_t cut = 0) {
    Bytes b;
    put32(b,
          declared >= 0 ? static_cast<uint32_t>(declared) : static_cast<uint32_t>(points.size()));
    for (const CuePoint& p : points) {
        put32(b, p.id);
        put32(b, 0);  // dwPosition
        b.insert(b.end(), {'d', 'a', 't', 'a'});
        put32(b, 0);  // dwChunkStart
        put32(b, 0);  // dwBlockStart
        put32(b, p.offset);
    }
    b.resize(b.size() - cut);
    return b;
}

// Builds RIFF/WAVE files chunk by chunk, damaged ones included.
class WavBuilder {
public:
    static Bytes formatFields(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t align,
                              uint16_t bits) {
        Bytes f;
        put16(f, tag);
        put16(f, channels);
        put32(f, rate);
        put32(f, rate * align);
        put16(f, align);
        put16(f, bits);
        return f;
    }
    WavBuilder& fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t align, uint16_t bits,
                    int32_t extra = -1) {
        Bytes f = formatFields(tag, channels, rate, align, bits);
        if (extra >= 0) {
            put16(f, static_cast<uint32_t>(extra));
            f.resize(f.size() + static_cast<size_t>(extra), 0);
        }
        return chunk("fmt ", f);
    }
    WavBuilder& pcmFormat() { return fmt(1, 2, 44100, 4, 16); }
    WavBuilder& adpcmFormat() { return fmt(2, 2, 44100, 2048, 4, 32); }
    // WAVE_FORMAT_EXTENSIBLE; `cbSize` bytes follow it, of which the first 22
    // are the valid bits, the channel mask and the SubFormat GUID.
    WavBuilder& extensibleFormat(uint16_t channels, uint32_t rate, uint16_t bits,
                                 uint16_t validBits, uint16_t subFormat, uint16_t cbSize = 22) {
        static const uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                              0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        Bytes f =
            formatFields(0xFFFE, channels, rate, static_cast<uint16_t>(channels * bits / 8), bits);
        Bytes extension;
        put16(extension, validBits);
        put32(extension, channels == 1 ? 0x4u : (1u << channels) - 1);
        put16(extension, subFormat);
        extension.insert(extension.end(), kGuidTail, kGuidTail + 14);
        extension.resize(cbSize, 0);
        put16(f, cbSize);
        f.insert(f.end(), extension.begin(), extension.end());
        return chunk("fmt ", f);
    }
    // MS ADPCM with its samples per block and the seven standard coefficient pairs.
    WavBuilder& adpcmFormat(uint16_t channels, uint32_t rate, uint16_t align,
                            uint16_t samplesPerBlock) {
        static const int16_t kCoefficients[14] = {256, 0,   512, -256, 0,    0,   192,
                                                  64,  240, 0,   460,  -208, 392, -232};
        Bytes f = formatFields(2, channels, rate, align, 4);
        put16(f, 32);
        put16(f, samplesPerBlock);
        put16(f, 7);
        for (int16_t c : kCoefficients) put16(f, static_cast<uint16_t>(c));
        return chunk("fmt ", f);
    }
    // A chunk with its real size, or a declared size that lies.
    WavBuilder& chunk(const char* id, const Bytes& data, int64_t declared = -1, bool pad = false) {
        body_.insert(body_.end(), id, id + 4);
        put32(body_,
              declared >= 0 ? static_cast<uint32_t>(declared) : static_cast<uint32_t>(data.size()));
        body_.insert(body_.end(), data.begin(), data.end());
        if (pad && (data.size() & 1)) body_.push_back(0);
        return *this;
    }
    WavBuilder& raw(const Bytes& data) {
        body_.insert(body_.end(), data.begin(), data.end());
        return *this;
    }
    WavBuilder& smpl(uint32_t start, uint32_t end, uint32_t loops = 1) {
        Bytes s(36, 0);
        s[28] = static_cast<uint8_t>(loops);
        s[29] = static_cast<uint8_t>(loops >> 8);
        s[30] = static_cast<uint8_t>(loops >> 16);
        s[31] = static_cast<uint8_t>(loops >> 24);
        put32(s, 0);
        put32(s, 0);
        put32(s, start);
        put32(s, end);
        put32(s, 0);
        put32(s, 0);
        return chunk("smpl", s);
    }
    Bytes build(int64_t riffSize = -1) const {
        Bytes out = {'R', 'I', 'F', 'F'};
        put32(out, riffSize >= 0 ? static_cast<uint32_t>(riffSize)
                                 : static_cast<uint32_t>(body_.size() + 4));
        out.insert(out.end(), {'W', 'A', 'V', 'E'});
        out.insert(out.end(), body_.begin(), body_.end());
        return out;
    }

private:
    Bytes body_;
};

// Every frame differs from every other, so any misplaced sample shows.
inline Bytes countingPcm(uint32_t frames) {
    Bytes b;
    b.reserve(frames * 4);
    for (uint32_t i = 0; i < frames; ++i) {
        put16(b, i & 0xFFFF);
        put16(b, (i >> 16) ^ 0x5A5A);
    }
    return b;
}

inline Bytes slice(const Bytes& b, size_t from, size_t to) {
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from),
                 b.begin() + static_cast<std::ptrdiff_t>(to));
}

// The payload of the first chunk `id` of a RIFF file, found by a plain walk
// from the first chunk; empty when there is none.
inline Bytes riffChunk(const Bytes& riff, const char* id) {
    for (size_t at = 12; at + 8 <= riff.size();) {
        const size_t size = riff[at + 4] | riff[at + 5] << 8 | riff[at + 6] << 16 |
                            static_cast<size_t>(riff[at + 7]) << 24;
        const size_t end = std::min(riff.size(), at + 8 + size);
        if (std::memcmp(&riff[at], id, 4) == 0) return slice(riff, at + 8, end);
        at += 8 + size + (size & 1);
    }
    return {};
}

// The stream a looped track must produce: start to loop end, then `passes`
// passes of the loop range, the last one running on through the tail.
// The device stream of a looping track from output frame `from` to the end
// of its fade: past the loop end it wraps to the loop start for ever, and
// fade frame k = t - fadeStart scales by (length - k) / length, in double,
// rounded as the device takes it. 16-bit or float samples.
inline Bytes expectedFadeStream(const Bytes& device, size_t frameBytes, bool isFloat,
                                uint64_t loopStart, uint64_t loopEnd, uint64_t from,
                                uint64_t fadeStart, uint64_t length) {
    Bytes out;
    const size_t sampleBytes = isFloat ? 4 : 2;
    const uint64_t loop = loopEnd - loopStart;
    for (uint64_t t = from; t < fadeStart + length; ++t) {
        const uint64_t src = t < loopEnd ? t : loopStart + (t - loopEnd) % loop;
        const int64_t k = static_cast<int64_t>(t) - static_cast<int64_t>(fadeStart);
        for (size_t at = 0; at < frameBytes; at += sampleBytes) {
            const uint8_t* p = &device[src * frameBytes + at];
            if (isFloat) {
                float x;
                std::memcpy(&x, p, 4);
                if (k >= 0) x = static_cast<float>(static_cast<double>(x) * (length - k) / length);
                const auto* b = reinterpret_cast<const uint8_t*>(&x);
                out.insert(out.end(), b, b + 4);
            } else {
                int16_t x = static_cast<int16_t>(p[0] | p[1] << 8);
                if (k >= 0) {
                    x = static_cast<int16_t>(
                        std::nearbyint(static_cast<double>(x) * (length - k) / length));
                }
                put16(out, static_cast<uint16_t>(x));
            }
        }
    }
    return out;
}

inline Bytes expectedLoopStream(const Bytes& pcm, uint32_t loopStart, uint32_t loopEnd,
                                uint32_t passes, size_t frameBytes = 4) {
    if (passes == 0) return pcm;
    const size_t s = loopStart * frameBytes, e = loopEnd * frameBytes;
    Bytes out = slice(pcm, 0, e);
    for (uint32_t i = 1; i < passes; ++i) {
        Bytes pass = slice(pcm, s, e);
        out.insert(out.end(), pass.begin(), pass.end());
    }
    Bytes last = slice(pcm, s, pcm.size());
    out.insert(out.end(), last.begin(), last.end());
    return out;
}

// Start to loop end, then the loop range forever, cut to n bytes.
inline Bytes expectedEndless(const Bytes& pcm, size_t from, size_t loopStart, size_t loopEnd,
                             size_t n) {
    Bytes out;
    size_t pos = from;
    while (out.size() < n) {
        if (pos >= loopEnd) pos = loopStart;
        size_t take = std::min(loopEnd - pos, n - out.size());
        out.insert(out.end(), pcm.begin() + static_cast<std::ptrdiff_t>(pos),
                   pcm.begin() + static_cast<std::ptrdiff_t>(pos + take));
        pos += take;
    }
    return out;
}

// Offset of the first difference, or -1 when equal (sizes included).
inline int64_t firstDifference(const Bytes& a, const Bytes& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return static_cast<int64_t>(i);
    return a.size() == b.size() ? -1 : static_cast<int64_t>(n);
}

// A straight decode of a whole Ogg Vorbis file with this build's library:
// no seeks, no carry, nothing of the engine's reader.
inline Bytes decodeVorbisSequentially(const std::string& path) {
    Bytes pcm;
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) return pcm;
    char buf[4096];
    int section = 0;
    for (long got; (got = ov_read(&vf, buf, sizeof(buf), 0, 2, 1, &section)) != 0;) {
        if (got > 0) pcm.insert(pcm.end(), buf, buf + got);
    }
    ov_clear(&vf);
    return pcm;
}

inline Bytes render(const std::string& path, const tarnuvo::RenderOptions& options,
                    tarnuvo::RenderResult* result = nullptr) {
    tarnuvo::VectorWriter out;
    tarnuvo::RenderResult r = tarnuvo::renderTrack(path.c_str(), options, out);
    if (result) *result = r;
    return out.bytes;
}

inline tarnuvo::RenderOptions mode(int32_t playMode, int32_t loops, int64_t maxBytes = -1) {
    tarnuvo::RenderOptions o;
    o.playMode = playMode;
    o.loopCount = loops;
    o.maxBytes = maxBytes;
    return o;
}

}  // namespace testing_support
