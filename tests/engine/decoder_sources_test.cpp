// The MP3, FLAC and Opus sources' own contracts: what they open as, where a
// seek lands, that a release closes the file, and what damage does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#ifndef _WIN32
#include <unistd.h>

#include <filesystem>
#endif

#include "engine/flac_source.h"
#include "engine/mp3_source.h"
#include "engine/native_player.h"
#include "engine/opus_source.h"
#include "engine/player_environment.h"
#include "engine/text.h"
#include "tests/engine/test_support.h"

using namespace testing_support;
using namespace tarnuvo;

namespace {

struct Decoded {
    const char* file;
    SourceKind kind;
    uint32_t rate, frames;
    // Opus promises the position after a seek, not the same samples.
    bool seekSameSamples;
};

// Kind, rate, channels and device of a play open are the renderer's --info table's.
const Decoded kDecoded[] = {
    {"mp3_vbr_48000_stereo.mp3", Mp3, 48000, 45013, true},
    {"mp3_cbr_48000_mono.mp3", Mp3, 48000, 43007, true},
    {"flac16_44100_stereo.flac", Flac, 44100, 40013, true},
    {"flac24_96000_stereo.flac", Flac, 96000, 90011, true},
    {"flac8_22050_mono.flac", Flac, 22050, 20023, true},
    {"opus_48000_stereo.opus", Opus, 48000, 48017, false},
};

std::unique_ptr<AudioSource> openSource(SourceKind kind, const std::string& path) {
    TrackInfo track;
    if (kind == Mp3) {
        auto s = std::make_unique<Mp3Source>();
        return s->open(path.c_str(), track, true) ? std::move(s) : nullptr;
    }
    if (kind == Flac) {
        auto s = std::make_unique<FlacSource>();
        return s->open(path.c_str(), track) ? std::move(s) : nullptr;
    }
    auto s = std::make_unique<OpusSource>();
    return s->open(path.c_str(), track) ? std::move(s) : nullptr;
}

// Everything from the source's position on, in reads of `chunk` frames.
Bytes readRest(AudioSource& s, uint32_t chunk) {
    const size_t frameBytes = size_t{s.format().channels} * s.format().intermediateBytes();
    Bytes all, block(chunk * frameBytes);
    while (uint32_t got = s.read(block.data(), chunk)) {
        all.insert(all.end(), block.begin(), block.begin() + got * frameBytes);
    }
    return all;
}

// Whether this process holds `path` open.
bool heldOpen(const std::string& path) {
#ifdef _WIN32
    // A file the C library opened cannot be deleted: try on a copy's name.
    const std::string moved = path + ".moved";
    if (std::rename(path.c_str(), moved.c_str()) != 0) return true;
    std::rename(moved.c_str(), path.c_str());
    return false;
#else
    namespace fs = std::filesystem;
    const fs::path target = fs::canonical(path);
    for (const auto& fd : fs::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        if (fs::read_symlink(fd.path(), ec) == target) return true;
    }
    return false;
#endif
}

// An ID3v2.3 tag holding one TIT2 frame in Latin-1.
Bytes id3Title(const std::string& title) {
    const uint32_t frame = static_cast<uint32_t>(title.size()) + 1;
    Bytes t = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, static_cast<uint8_t>(10 + frame)};
    for (char c : std::string("TIT2")) t.push_back(static_cast<uint8_t>(c));
    t.insert(t.end(), {0, 0, 0, static_cast<uint8_t>(frame), 0, 0, 0});
    t.insert(t.end(), title.begin(), title.end());
    return t;
}

void fakeTagReader(const char*, WindowHandle, TrackInfo& track) {
    copyText(track.title, kTextSize, "from the tag reader");
}

}  // namespace

TEST(DecoderSources, AProbeReleasesTheSourceAndKeepsTheRateAndLength) {
    for (const Decoded& d : kDecoded) {
        // An MP3's probe length is an estimate; the exact count comes with play.
        NativePlayer probe;
        ASSERT_EQ(probe.open(fixture(d.file).c_str(), -1, 1, nullptr), 0) << d.file;
        EXPECT_EQ(probe.kind(), NoSource) << d.file;  // released at once
        EXPECT_EQ(probe.sampleRate, d.rate) << d.file;
        if (d.kind != Mp3) {
            EXPECT_EQ(probe.frameCount, d.frames) << d.file;
        }
        EXPECT_NEAR(probe.frameCount, d.frames, d.rate / 10.0) << d.file;
    }
}

TEST(DecoderSources, ASeekLandsOnTheFrame) {
    for (const Decoded& d : kDecoded) {
        std::unique_ptr<AudioSource> s = openSource(d.kind, fixture(d.file));
        ASSERT_TRUE(s) << d.file;
        const Bytes straight = readRest(*s, 1000);
        const size_t frameBytes = straight.size() / d.frames;
        ASSERT_EQ(straight.size(), size_t{d.frames} * frameBytes) << d.file;
        for (uint32_t at : {d.frames / 2 + 7, 1u, 1153u, d.frames - 10, 0u}) {
            ASSERT_TRUE(s->seek(at)) << d.file << " " << at;
            const Bytes rest = readRest(*s, 777);
            ASSERT_EQ(rest.size(), straight.size() - at * frameBytes) << d.file << " " << at;
            if (d.seekSameSamples) {
                EXPECT_EQ(firstDifference(rest, slice(straight, at * frameBytes, straight.size())),
                          -1)
                    << d.file << " " << at;
            }
        }
        // Past the end there is nothing to read, whatever the seek said.
        s->seek(d.frames + 100000);
        EXPECT_EQ(readRest(*s, 100).size(), 0u) << d.file;
    }
}

TEST(DecoderSources, StopAndProbeCloseTheFile) {
    TempDir dir;
    for (const Decoded& d : kDecoded) {
        const std::string path = dir.write(d.file, readFile(fixture(d.file)));
        NativePlayer p;
        ASSERT_GT(p.open(path.c_str(), -1, 0, nullptr), 0) << d.file;
        EXPECT_TRUE(heldOpen(path)) << d.file;
        p.releaseDecoder();
        EXPECT_FALSE(heldOpen(path)) << d.file;
        ASSERT_EQ(p.open(path.c_str(), -1, 1, nullptr), 0) << d.file;
        EXPECT_FALSE(heldOpen(path)) << d.file;
    }
}

TEST(DecoderSources, TheTagReaderNamesOnlyFilesWithoutTexts) {
    const Bytes mp3 = readFile(fixture("mp3_untagged_44100_stereo.mp3"));
    Bytes titled = id3Title("Own title");
    titled.insert(titled.end(), mp3.begin(), mp3.end());
    struct Case {
        const char* name;
        Bytes file;
        const char* title;
    };
    const Case cases[] = {
        {"titled.mp3", titled, "Own title"},
        {"plain.mp3", mp3, "from the tag reader"},
        {"plain.flac", readFile(fixture("flac24_96000_stereo.flac")), "from the tag reader"},
        {"plain.opus", readFile(fixture("opus_48000_stereo.opus")), "from the tag reader"},
    };
    TempDir dir;
    setTagFiller(&fakeTagReader);
    for (const Case& c : cases) {
        for (int32_t probeOnly : {0, 1}) {
            NativePlayer p;
            ASSERT_GE(p.open(dir.write(c.name, c.file).c_str(), -1, probeOnly, nullptr), 0)
                << c.name;
            EXPECT_STREQ(p.title, c.title) << c.name;
        }
    }
    setTagFiller(nullptr);
}
