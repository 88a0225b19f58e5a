#include <gtest/gtest.h>

#include "engine/native_player.h"
#include "engine/vorbis_source.h"
#include "tests/engine/test_support.h"

using namespace testing_support;
using namespace tarnuvo;

namespace {

TrackInfo parse(std::vector<std::string> comments) {
    std::vector<char*> ptrs;
    for (std::string& c : comments) ptrs.push_back(c.data());
    TrackInfo t;
    parseVorbisComments(ptrs.data(), static_cast<int>(ptrs.size()), t);
    return t;
}

}  // namespace

TEST(VorbisComments, LoopForms) {
    TrackInfo a = parse({"LOOPSTART=1000", "LOOPLENGTH=500"});
    EXPECT_EQ(a.hasLoop, 1);
    EXPECT_EQ(a.loopStart, 1000u);
    EXPECT_EQ(a.loopEnd, 1500u);
    TrackInfo b = parse({"loopstart=1000", "LoopEnd=2000"});
    EXPECT_EQ(b.hasLoop, 1);
    EXPECT_EQ(b.loopEnd, 2000u);
    TrackInfo c = parse({"LOOPSTART=2000", "LOOPEND=1000"});
    EXPECT_EQ(c.hasLoop, 0);
    EXPECT_EQ(c.loopStart, 2000u);
    EXPECT_EQ(c.loopEnd, 1000u);
    TrackInfo d = parse({"LOOP=s100e200"});
    EXPECT_EQ(d.loopStart, 100u);
    EXPECT_EQ(d.loopEnd, 200u);
    EXPECT_EQ(parse({"LOOP=100"}).hasLoop, 0);
    // LOOPEND after LOOPLENGTH replaces the length, and the start is still added.
    TrackInfo e = parse({"LOOPSTART=10", "LOOPLENGTH=5", "LOOPEND=30"});
    EXPECT_EQ(e.loopEnd, 40u);
}

TEST(VorbisComments, DamagedValues) {
    // No "=", empty values, signs, junk and numbers far out of range: atoi
    // rules with saturation, the same in every build.
    EXPECT_EQ(parse({"LOOPSTART", "LOOPLENGTH"}).hasLoop, 0);
    TrackInfo a = parse({"LOOPSTART=  +12abc", "LOOPEND=99999999999999999999"});
    EXPECT_EQ(a.loopStart, 12u);
    EXPECT_EQ(a.loopEnd, 2147483647u);
    TrackInfo b = parse({"LOOPSTART=-5", "LOOPEND=10"});
    EXPECT_EQ(b.loopStart, 0xFFFFFFFBu);
    EXPECT_EQ(b.hasLoop, 0);
    TrackInfo c = parse({"LOOPSTART=-99999999999999", "LOOPEND=x"});
    EXPECT_EQ(c.loopStart, 0x80000000u);
    EXPECT_EQ(c.loopEnd, 0u);
    // A LOOP= value longer than the copy is cut, never overrun.
    std::string longLoop = "LOOP=s" + std::string(400, '1') + "e5";
    EXPECT_EQ(parse({longLoop}).loopEnd, 0u);
}

TEST(VorbisComments, TemplateLoopWinsOverComments) {
    std::string c1 = "LOOPSTART=5", c2 = "LOOPEND=9", c3 = "TITLE=Own";
    char* list[] = {c1.data(), c2.data(), c3.data()};
    TrackInfo t;
    t.infoKnown = 1;
    t.loopStart = 1;
    t.loopEnd = 2;
    parseVorbisComments(list, 3, t);
    EXPECT_EQ(t.loopStart, 1u);
    EXPECT_STREQ(t.title, "Own");
}

TEST(VorbisSource, LibraryDecodeAgreesWithOggdec) {
    // Natively the library is the one oggdec uses: bit-exact. The Windows
    // build's float code may round differently, so allow a few LSB there.
    Bytes ours = decodeVorbisSequentially(fixture("vorbis_loop.ogg"));
    Bytes oggdec = readFile(fixture("vorbis_ref.raw"));
    ASSERT_EQ(ours.size(), oggdec.size());
#ifdef _WIN32
    for (size_t i = 0; i < ours.size(); i += 2) {
        int a = static_cast<int16_t>(ours[i] | ours[i + 1] << 8);
        int b = static_cast<int16_t>(oggdec[i] | oggdec[i + 1] << 8);
        ASSERT_LE(std::abs(a - b), 2) << "sample " << i / 2;
    }
#else
    EXPECT_EQ(firstDifference(ours, oggdec), -1);
#endif
}

TEST(VorbisSource, OpensTheFixtureWithItsComments) {
    NativePlayer p;
    const int32_t size = p.open(fixture("vorbis_loop.ogg").c_str(), -1, 0, nullptr);
    ASSERT_GT(size, 0);
    EXPECT_EQ(p.kind(), Vorbis);
    EXPECT_EQ(p.length, 3u * 44100 * 4);
    EXPECT_EQ(static_cast<uint32_t>(size), p.length + 44);
    EXPECT_EQ(p.loopStart, 23456u);
    EXPECT_EQ(p.loopEnd, 73456u);
    // UTF-8 "ループ曲" arrives in code page 932.
    EXPECT_STREQ(p.title, "\x83\x8B\x81\x5B\x83\x76\x8B\xC8");
    EXPECT_STREQ(p.artist, "Tarnuvo");
}

TEST(VorbisSource, OpensEveryRateAndChannelCountAndRefusesDamage) {
    struct Case {
        const char* name;
        SourceKind kind;
        uint32_t rate, channels;
    };
    const Case cases[] = {{"vorbis_48k.ogg", Vorbis, 48000, 2},
                          {"vorbis_mono.ogg", Vorbis, 44100, 1},
                          {"source48.wav", Pcm, 48000, 2},
                          {"mono.wav", Pcm, 44100, 1},
                          {"vorbis_headers_cut.ogg", NoSource, 0, 0}};
    for (const Case& c : cases) {
        NativePlayer p;
        const int32_t size = p.open(fixture(c.name).c_str(), -1, 0, nullptr);
        EXPECT_EQ(size < 0, c.kind == NoSource) << c.name;
        EXPECT_EQ(p.kind(), c.kind) << c.name;
        EXPECT_EQ(p.sourceFormat().rate, c.rate) << c.name;
        EXPECT_EQ(p.sourceFormat().channels, c.channels) << c.name;
    }
}

TEST(VorbisSource, DamagedStreamsRenderWithoutRunningAway) {
    Bytes ref = decodeVorbisSequentially(fixture("vorbis_loop.ogg"));
    for (const char* name : {"vorbis_cut.ogg", "vorbis_corrupt.ogg"}) {
        for (int32_t m : {Single, RepeatAll}) {
            RenderResult r;
            Bytes out = render(fixture(name), mode(m, 3, 8 << 20), &r);
            EXPECT_LE(out.size(), 8u << 20) << name;
            EXPECT_TRUE(r.trackEnded || out.size() == (8u << 20)) << name;
        }
        // RepeatOne on a stream that may end early still loops or ends; never hangs.
        Bytes endless = render(fixture(name), mode(RepeatOne, 0, 2 << 20));
        EXPECT_LE(endless.size(), 2u << 20);
    }
    // Streams whose decoder set-up fails: found by fuzzing, once a crash.
    for (const char* name :
         {"vorbis-failed-codebook-setup.ogg", "vorbis-failed-codebook-setup-2.ogg"}) {
        std::string path = std::string(TARNUVO_REGRESSIONS) + "/" + name;
#ifdef _WIN32
        for (char& c : path) c = c == '/' ? '\\' : c;
        path = "Z:" + path;
#endif
        for (int32_t m : {Single, RepeatOne, RepeatAll}) {
            EXPECT_LE(render(path, mode(m, 3, 1 << 20)).size(), 1u << 20) << name;
        }
    }
    // A stream cut in half plays its intact first part exactly.
    Bytes out = render(fixture("vorbis_cut.ogg"), mode(Single, 0));
    ASSERT_GT(out.size(), 100000u);
    EXPECT_EQ(firstDifference(slice(out, 0, 100000), slice(ref, 0, 100000)), -1);
}

TEST(VorbisSource, ProbeReleasesTheDecoder) {
    NativePlayer p;
    EXPECT_EQ(p.open(fixture("vorbis_loop.ogg").c_str(), -1, 1, nullptr), 0);
    EXPECT_EQ(p.kind(), NoSource);
    EXPECT_EQ(p.loopStart, 23456u);
    // The file is closed: it can be removed at once (Windows refuses open files).
    TempDir dir;
    Bytes ogg = readFile(fixture("vorbis_loop.ogg"));
    std::string copy = dir.write("c.ogg", ogg);
    EXPECT_EQ(p.open(copy.c_str(), -1, 1, nullptr), 0);
    EXPECT_EQ(std::remove(copy.c_str()), 0);
}
