#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/loop_tags.h"
#include "engine/riff_loop.h"
#include "tests/engine/test_support.h"

using namespace testing_support;
using namespace tarnuvo;

namespace {

FrameLoop read(const std::vector<std::string>& comments, uint32_t rate) {
    LoopTagReader tags(rate);
    for (const std::string& c : comments) tags.addComment(c.data(), c.size());
    return tags.loop();
}

// The payload of WavBuilder's smpl chunk.
Bytes smplPayload(uint32_t start, uint32_t end, uint32_t loops = 1) {
    const Bytes wav = WavBuilder().smpl(start, end, loops).build();
    return Bytes(wav.begin() + 20, wav.end());
}

}  // namespace

TEST(LoopTags, SpellingsTimesAndTheRulesVorbisFilesAlwaysHad) {
    struct Row {
        const char* what;
        std::vector<std::string> comments;
        uint32_t rate;
        bool found;
        uint32_t start, end;
    };
    const uint32_t kMax = 0xFFFFFFFF;
    const Row rows[] = {
        {"length after start", {"LOOPSTART=1000", "LOOPLENGTH=500"}, 44100, true, 1000, 1500},
        {"length before start", {"LOOPLENGTH=500", "LOOPSTART=1000"}, 44100, true, 1000, 1500},
        {"any case", {"loopstart=10", "LoopEnd=20"}, 44100, true, 10, 20},
        {"LOOP_START, LOOP-END", {"LOOP_START=10", "loop-end=20"}, 44100, true, 10, 20},
        {"LOOP-START, LOOP_LENGTH", {"Loop-Start=5", "LOOP_LENGTH=7"}, 44100, true, 5, 12},
        {"LOOP_BEGIN, LOOP_END", {"LOOP_BEGIN=3", "LOOP_END=9"}, 44100, true, 3, 9},
        {"Xiph cue names", {"XIPH_CUE_LOOPSTART=4", "xiph_cue_loopend=8"}, 44100, true, 4, 8},
        {"not an alias", {"LOOPSTART=5", "LOOP-LENGTH=7", "LOOP START=1"}, 44100, false, 5, 0},
        {"the last of length and end",
         {"LOOPSTART=10", "LOOPLENGTH=5", "LOOPEND=30"},
         44100,
         true,
         10,
         40},
        {"LOOP=", {"LOOP=s100e200"}, 44100, true, 100, 200},
        {"LOOP= without e", {"LOOP=100"}, 44100, false, 0, 0},
        {"a 32-bit sum wraps", {"LOOPSTART=-1", "LOOPLENGTH=2"}, 44100, false, kMax, 1},
        {"atoi rules",
         {"LOOPSTART=  +12abc", "LOOPEND=99999999999999999999"},
         44100,
         true,
         12,
         0x7FFFFFFF},
        {"m:s with a fraction", {"LOOPSTART=0:00.7", "LOOPEND=0:01"}, 44100, true, 30870, 44100},
        {"h:m:s", {"LOOPSTART=1:02:03.5", "LOOPEND=1:02:04"}, 48000, true, 178728000, 178752000},
        {":s and nine fraction digits, floored",
         {"LOOPSTART=:0.999999999", "LOOPEND=:5"},
         44100,
         true,
         44099,
         220500},
        {"a time as length", {"LOOPSTART=100", "LOOPLENGTH= 0:01 "}, 44100, true, 100, 44200},
        {"the last frame 32 bits hold", {"LOOPEND=1193046:28:15"}, 1, true, 0, kMax},
        {"one frame more is ignored", {"LOOPEND=9", "LOOPEND=1193046:28:16"}, 1, true, 0, 9},
        {"frames beyond 32 bits", {"LOOPEND=9", "LOOPEND=27:03:12"}, 44100, true, 0, 9},
        {"a fraction beyond 32 bits", {"LOOPEND=9", "LOOPEND=:1431655765.5"}, 3, true, 0, 9},
        {"a huge field is ignored", {"LOOPEND=9", "LOOPEND=99999999999:0"}, 44100, true, 0, 9},
        {"times need a rate", {"LOOPSTART=7", "LOOPSTART=0:01"}, 0, false, 7, 0},
        {"bad times are ignored",
         {"LOOPSTART=7", "LOOPSTART=0:0:0:1", "LOOPSTART=a:5", "LOOPSTART=1:", "LOOPSTART=1::2",
          "LOOPSTART=0:1.", "LOOPSTART=0:-1", "LOOPSTART=0:1.1234567890",
          "LOOPSTART=:", "LOOPSTART=1:5e", "LOOPLENGTH=0:x"},
         44100,
         false,
         7,
         0},
    };
    for (const Row& r : rows) {
        const FrameLoop loop = read(r.comments, r.rate);
        EXPECT_EQ(loop.found, r.found) << r.what;
        EXPECT_EQ(loop.start, r.start) << r.what;
        EXPECT_EQ(loop.end, r.end) << r.what;
    }
}

TEST(LoopTags, TextsArriveInTheCodePageWhole) {
    LoopTagReader tags(44100);
    std::string title = "TITLE=";
    for (int i = 0; i < 400; ++i) title += "\xE3\x83\xAB";  // ル, two bytes in code page 932
    for (const std::string& c : {std::string("ARTIST=First"), title, std::string("artist=Band")})
        tags.addComment(c.data(), c.size());
    TrackInfo t;
    applyUtf8Texts(tags.titleUtf8(), tags.artistUtf8(), t);
    EXPECT_STREQ(t.artist, "Band");
    EXPECT_EQ(std::strlen(t.title), 258u);  // as many characters as the field holds
    EXPECT_EQ(std::memcmp(t.title, "\x83\x8B\x83\x8B", 4), 0);
    applyUtf8Texts("", "", t);  // nothing given leaves them
    EXPECT_STREQ(t.artist, "Band");
}

TEST(RiffLoops, CueAndSmplRecordsInsideThePayload) {
    struct Row {
        const char* what;
        Bytes payload;
        bool cue;
        bool found;
        uint32_t start, end;
    };
    const Row rows[] = {
        {"two points", cuePayload({{1, 100}, {2, 900}}), true, true, 100, 900},
        {"ids in reverse order", cuePayload({{7, 5000}, {3, 1000}}), true, true, 1000, 5000},
        {"the two lowest of three", cuePayload({{5, 50}, {1, 10}, {3, 30}}), true, true, 10, 30},
        {"equal ids in file order", cuePayload({{4, 10}, {4, 20}, {4, 30}}), true, true, 10, 20},
        {"start after end", cuePayload({{1, 900}, {2, 100}}), true, false, 900, 100},
        {"one point", cuePayload({{1, 100}}), true, false, 0, 0},
        {"one point declared", cuePayload({{1, 100}, {2, 900}}, 1), true, false, 0, 0},
        {"count beyond the records", cuePayload({{1, 100}, {2, 900}}, 1000), true, true, 100, 900},
        {"second record cut", cuePayload({{1, 100}, {2, 900}}, -1, 1), true, false, 0, 0},
        {"no count", Bytes(3), true, false, 0, 0},
        {"smpl record", smplPayload(100, 900), false, true, 100, 900},
        {"smpl with a loop count of 0", smplPayload(100, 900, 0), false, false, 0, 0},
        {"smpl start equals end", smplPayload(7, 7), false, false, 7, 7},
        {"smpl record cut", slice(smplPayload(100, 900), 0, 51), false, false, 0, 0},
    };
    for (const Row& r : rows) {
        // An exact-size copy, so that ASan sees any read past the payload.
        std::unique_ptr<uint8_t[]> copy(new uint8_t[r.payload.size()]);
        std::copy(r.payload.begin(), r.payload.end(), copy.get());
        const auto size = static_cast<uint32_t>(r.payload.size());
        const FrameLoop loop = r.cue ? cueLoop(copy.get(), size) : smplLoop(copy.get(), size);
        EXPECT_EQ(loop.found, r.found) << r.what;
        if (r.found || !r.cue) {
            EXPECT_EQ(loop.start, r.start) << r.what;
            EXPECT_EQ(loop.end, r.end) << r.what;
        }
    }
}
