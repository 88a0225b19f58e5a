// Probing files as the loader will: the native player first, DirectShow only
// for what it refuses, nothing for a file neither can open.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "playlist/track_probe.h"

using namespace tarnuvo;

namespace {

// This thread probes with DirectShow graphs: a multithreaded apartment, as
// the loader thread's.
class ComApartment : public ::testing::Environment {
public:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_MULTITHREADED); }
    void TearDown() override { CoUninitialize(); }
};
const auto* const kCom = ::testing::AddGlobalTestEnvironment(new ComApartment);

// A fixture of the engine tests as a Windows path, and the same file's bytes.
std::string fixture(const char* name, const char* folder = TARNUVO_FIXTURES) {
    std::string p = std::string("Z:") + folder + "/" + name;
    for (char& c : p) c = c == '/' ? '\\' : c;
    return p;
}
std::vector<unsigned char> bytesOf(const char* name) {
    std::ifstream in(std::string(TARNUVO_FIXTURES) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
uint32_t le(const std::vector<unsigned char>& b, size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | b.at(at + static_cast<size_t>(i));
    return v;
}
// Offset of a RIFF chunk's body and its size.
bool findChunk(const std::vector<unsigned char>& b, const char* id, size_t& at, uint32_t& size) {
    for (size_t p = 12; p + 8 <= b.size(); p += 8 + size + (size & 1)) {
        size = le(b, p + 4, 4);
        if (std::memcmp(&b[p], id, 4) == 0) {
            at = p + 8;
            return true;
        }
    }
    return false;
}

std::string cp932(const wchar_t* text) {
    char out[256];
    WideCharToMultiByte(932, 0, text, -1, out, sizeof out, nullptr, nullptr);
    return out;
}

TEST(TrackProbe, AnAdpcmWavComesWithLengthLoopAndTags) {
    const auto bytes = bytesOf("adpcm_loop.wav");
    size_t fmtAt = 0, dataAt = 0;
    uint32_t fmtSize = 0, dataSize = 0;
    ASSERT_TRUE(findChunk(bytes, "fmt ", fmtAt, fmtSize));
    ASSERT_TRUE(findChunk(bytes, "data", dataAt, dataSize));
    const uint32_t blockAlign = le(bytes, fmtAt + 12, 2);
    const uint32_t framesPerBlock = le(bytes, fmtAt + 18, 2);
    ASSERT_GT(blockAlign, 0u);

    const std::string path = fixture("adpcm_loop.wav");
    TrackInfo out;
    ASSERT_EQ(probeTrack(path.c_str(), 7, out), 1);
    EXPECT_EQ(out.length, dataSize / blockAlign * framesPerBlock * 4);
    EXPECT_STREQ(out.title, "ADPCM loop");
    EXPECT_STREQ(out.artist, "sox");
    EXPECT_EQ(out.hasLoop, 1);
    EXPECT_EQ(out.loopStart, 12345u);  // the fixture's sampler loop
    EXPECT_EQ(out.loopEnd, 70001u);
    EXPECT_EQ(out.listIndex, 7);
    EXPECT_EQ(out.path, path);
    EXPECT_EQ(out.location, path);
}

TEST(TrackProbe, AnOggComesWithItsCommentsInTheCodePage) {
    const auto source = bytesOf("source.wav");
    size_t dataAt = 0;
    uint32_t dataSize = 0;
    ASSERT_TRUE(findChunk(source, "data", dataAt, dataSize));

    TrackInfo out;
    ASSERT_EQ(probeTrack(fixture("vorbis_loop.ogg").c_str(), 0, out), 1);
    EXPECT_EQ(out.length, dataSize);  // encoded from source.wav, every frame kept
    EXPECT_EQ(out.title, cp932(L"\x30EB\x30FC\x30D7\x66F2"));  // ループ曲
    EXPECT_STREQ(out.artist, "Tarnuvo");
    EXPECT_EQ(out.hasLoop, 1);
    EXPECT_EQ(out.loopStart, 23456u);         // LOOPSTART
    EXPECT_EQ(out.loopEnd, 23456u + 50000u);  // LOOPSTART + LOOPLENGTH
}

TEST(TrackProbe, AnMp3IsProbedInProcessAndAnMp3InRiffThroughAGraph) {
    TrackInfo out;
    ASSERT_EQ(probeTrack(fixture("tone.mp3").c_str(), 2, out), 1);
    // Three seconds: the probe's estimate, give or take the encoder's padding.
    EXPECT_NEAR(static_cast<double>(out.length), 3.0 * 176400, 0.1 * 176400);
    EXPECT_STREQ(out.title, "tone.mp3");  // no tags: the file name
    EXPECT_EQ(out.hasLoop, 0);
    EXPECT_EQ(out.listIndex, 2);
    // The native player refuses MP3 data in a WAV file; the graph takes it.
    TrackInfo riff;
    ASSERT_EQ(probeTrack(fixture("riff-mp3.wav", TARNUVO_PLAYLIST_FIXTURES).c_str(), 3, riff), 1);
    EXPECT_NEAR(static_cast<double>(riff.length), 176400, 0.1 * 176400);
    EXPECT_EQ(riff.listIndex, 3);
}

TEST(TrackProbe, WhatNoPlayerOpensAddsNothing) {
    TrackInfo out;
    std::memset(static_cast<void*>(&out), 0x5A, sizeof out);
    const TrackInfo before = out;
    const std::string longName = "Z:\\" + std::string(400, 'n') + ".wav";
    EXPECT_EQ(probeTrack(fixture("noise.xyz").c_str(), 0, out), 0);
    EXPECT_EQ(probeTrack(fixture("vorbis_headers_cut.ogg").c_str(), 0, out), 0);
    EXPECT_EQ(probeTrack(fixture("missing.wav").c_str(), 0, out), 0);
    EXPECT_EQ(probeTrack(longName.c_str(), 0, out), 0);
    EXPECT_EQ(probeTrack("", 0, out), 0);
    EXPECT_EQ(probeTrack(nullptr, 0, out), 0);
    EXPECT_EQ(std::memcmp(&out, &before, sizeof out), 0);
}

}  // namespace
