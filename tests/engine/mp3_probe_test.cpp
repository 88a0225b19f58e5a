#include <gtest/gtest.h>

#include <string>

#include "engine/mp3_probe.h"
#include "tests/engine/test_support.h"

using namespace tarnuvo;
using testing_support::Bytes;

namespace {

// One frame: its header and zeros to the length the header gives.
Bytes frame(uint8_t b1, uint8_t b2, uint8_t b3 = 0x00) {
    Bytes f = {0xFF, b1, b2, b3};
    MpegFrameHeader h;
    if (parseMpegFrameHeader(f.data(), h)) f.resize(h.bytes, 0);
    return f;
}
Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
Bytes text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}
// An ID3v2.3 tag that claims `body` bytes after its header and holds
// `held` of them.
Bytes id3(uint32_t body, uint32_t held) {
    Bytes t = {'I', 'D', '3', 3, 0, 0};
    for (int shift : {21, 14, 7, 0}) t.push_back(static_cast<uint8_t>((body >> shift) & 0x7F));
    t.resize(10 + held, 0);
    return t;
}
Bytes id3(uint32_t body) {
    return id3(body, body);
}

const Bytes kL3 = frame(0xFB, 0x90);      // MPEG-1 layer III, 128 kbit/s, 44,100 Hz
const Bytes kL3At48 = frame(0xFB, 0x94);  // the same at 48,000 Hz
const Bytes kMpeg2 = frame(0xF3, 0x80);   // MPEG-2 layer III, 64 kbit/s, 22,050 Hz
const Bytes kLayer2 = frame(0xFD, 0xA4);  // MPEG-1 layer II, 160 kbit/s, 48,000 Hz
const Bytes kFreeFormat = {0xFF, 0xFB, 0x00, 0x00, 0, 0, 0, 0};

}  // namespace

TEST(Mp3Probe, TakesOnlyAudioThatStartsWithTwoFrames) {
    struct Case {
        const char* what;
        Bytes file;
        int64_t start;
    };
    const Case cases[] = {
        {"bare frames", kL3 + kL3, 0},
        {"ID3v2 tag, then frames", id3(100) + kL3 + kL3, 110},
        {"two tags, then frames", id3(100) + id3(5) + kL3 + kL3, 125},
        {"MPEG-2 layer III", kMpeg2 + kMpeg2, 0},
        {"layer II", kLayer2 + kLayer2 + kLayer2, 0},
        {"a lone frame header", kL3, -1},
        {"a frame, then garbage", kL3 + text("garbage!"), -1},
        {"second frame at another rate", kL3 + kL3At48, -1},
        {"free format", kFreeFormat + kFreeFormat, -1},
        {"junk before the first frame", Bytes{0} + kL3 + kL3, -1},
        {"frames after junk after the tag", id3(20) + Bytes{0, 0} + kL3 + kL3, -1},
        {"a tag bigger than the file", id3(1 << 20, 0) + kL3 + kL3, -1},
        {"RIFF WAVE holding MP3", text("RIFF\x40\0\0\0WAVEfmt ") + kL3 + kL3, -1},
        {"AVI", text("RIFF\x40\0\0\0AVI LIST") + kL3 + kL3, -1},
        {"MP4", Bytes{0, 0, 0, 0x20} + text("ftypM4A ") + kL3 + kL3, -1},
        {"MP4 after a tag", id3(10) + Bytes{0, 0, 0, 0x20} + text("ftypisom") + kL3, -1},
        {"ASF", Bytes{0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11} + kL3 + kL3, -1},
        {"MPEG program stream", Bytes{0, 0, 1, 0xBA, 0x44, 0, 4, 0} + kL3 + kL3, -1},
        {"AAC in ADTS", frame(0xF1, 0x50, 0x80) + frame(0xF1, 0x50, 0x80), -1},
        {"empty", Bytes{}, -1},
        {"garbage", text("0123456789abcdef0123456789abcdef"), -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mp3AudioStart(c.file.data(), c.file.size()), c.start) << c.what;
    }
}
