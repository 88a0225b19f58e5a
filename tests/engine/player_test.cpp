#include <gtest/gtest.h>

#include <cstring>

#include "engine/native_player.h"
#include "engine/text.h"
#include "tests/engine/test_support.h"

using namespace testing_support;
using namespace tarnuvo;

namespace {

struct Range {
    uint32_t start, end;
    bool operator==(const Range& o) const { return start == o.start && end == o.end; }
};

Range rangeFor(int32_t playMode, int32_t loopCount, uint32_t loopsRead, int32_t ignore = 0,
               uint32_t loopEnd = 300) {
    PlayerEnvironment env;
    env.playMode = playMode;
    env.loopCount = loopCount;
    env.loopIgnore = ignore;
    Player p;
    p.attach(nullptr, &env);
    p.length = 1000;
    p.hasLoop = 1;
    p.loopStart = 100;
    p.loopEnd = loopEnd;
    p.loopsRead = loopsRead;
    p.applyLoopRange();
    return {p.rangeStart, p.rangeEnd};
}

}  // namespace

TEST(ApplyLoopRange, ByModeCountAndPasses) {
    EXPECT_EQ(rangeFor(RepeatOne, 0, 50), (Range{400, 1000}));
    EXPECT_EQ(rangeFor(RepeatOne, 0, 50, 0, 200), (Range{400, 800}));
    EXPECT_EQ(rangeFor(RepeatAll, 2, 1, 0, 200), (Range{400, 800}));
    EXPECT_EQ(rangeFor(RepeatAll, 2, 2, 0, 200), (Range{0, 1000}));
    EXPECT_EQ(rangeFor(Single, 0, 0, 0, 200), (Range{0, 1000}));
    EXPECT_EQ(rangeFor(RepeatOne, 5, 0, 1, 200), (Range{0, 1000}));  // loop ignored
    EXPECT_EQ(rangeFor(Random, 3, 0, 0, 5000), (Range{400, 1000}));  // end cut to the length
}

TEST(PlayerBase, EntryDefaultsAndCopy) {
    Player entry;
    int32_t level = 77;
    EXPECT_EQ(entry.getVolume(&level), 8);
    EXPECT_EQ(level, 77);
    EXPECT_EQ(entry.open("x", 0, 0, nullptr), -1);
    EXPECT_EQ(entry.listIndex, -1);
    EXPECT_EQ(entry.seekable, 1);
    EXPECT_EQ(entry.play(0), 0);
    entry.elapsed = 99;
    EXPECT_EQ(entry.elapsedTotal(), 99u);
    // Entries and players exchange the record by copying.
    NativePlayer player;
    std::strcpy(player.title, "T");
    player.length = 8;
    static_cast<TrackInfo&>(entry) = player;
    EXPECT_STREQ(entry.title, "T");
    EXPECT_EQ(entry.length, 8u);
}

TEST(PlayerOpen, NamesTemplateAndDisabledOutput) {
    TempDir dir;
    std::string path = dir.write(
        "song.wav", WavBuilder().pcmFormat().chunk("data", countingPcm(100)).smpl(1, 50).build());
    NativePlayer p;
    ASSERT_GT(p.open(path.c_str(), -1, 0, nullptr), 0);
#ifdef _WIN32
    EXPECT_STREQ(p.title, "song.wav");
#else
    EXPECT_STREQ(p.title, "");  // no backslash in the name
#endif
    EXPECT_STREQ(p.location, path.c_str());

    Player entry;
    std::strcpy(entry.title, "Listed");
    entry.length = 40;
    entry.hasLoop = 1;
    entry.loopStart = 2;
    entry.loopEnd = 9;
    ASSERT_GT(p.open(path.c_str(), 3, 0, &entry), 0);
    EXPECT_EQ(p.infoKnown, 1);
    EXPECT_EQ(p.length, 40u);
    EXPECT_EQ(p.loopEnd, 9u);
    EXPECT_STREQ(p.title, "Listed");
    EXPECT_EQ(p.listIndex, 3);
    // A template is ignored for a probe and for list index -1.
    ASSERT_EQ(p.open(path.c_str(), 3, 1, &entry), 0);
    EXPECT_EQ(p.length, 400u);
    ASSERT_GT(p.open(path.c_str(), -1, 0, &entry), 0);
    EXPECT_EQ(p.loopEnd, 50u);

    p.waveOutDisabled = 1;
    EXPECT_EQ(p.open(path.c_str(), -1, 0, nullptr), -1);
}

TEST(PlayerOpen, MemberReferenceGoesThroughTheResolver) {
    TempDir dir;
    static std::string extracted;
    extracted =
        dir.write("member.wav", WavBuilder().pcmFormat().chunk("data", countingPcm(10)).build());
    static std::string seenArchive, seenMember;
    setMemberResolver([](const char* archive, const char* member, WindowHandle, PlayerEnvironment*,
                         char(&out)[kTextSize]) {
        seenArchive = archive;
        seenMember = member;
        copyText(out, kTextSize, extracted.c_str());
        return true;
    });
    NativePlayer p;
    EXPECT_GT(p.open("C:\\music\\a|b.zip|dir\\member.wav", -1, 0, nullptr), 0);
    EXPECT_EQ(seenArchive, "C:\\music\\a|b.zip");
    EXPECT_EQ(seenMember, "dir\\member.wav");
    EXPECT_STREQ(p.path, "C:\\music\\a|b.zip|dir\\member.wav");
    // Without a resolver the archive itself is opened, and refused.
    setMemberResolver(nullptr);
    EXPECT_EQ(p.open("C:\\nowhere.zip|member.wav", -1, 0, nullptr), -1);
}

TEST(Text, DecimalValuesSaturate) {
    EXPECT_EQ(parseDecimal("  42x"), 42);
    EXPECT_EQ(parseDecimal("-17"), -17);
    EXPECT_EQ(parseDecimal("+"), 0);
    EXPECT_EQ(parseDecimal("2147483648"), INT32_MAX);
    EXPECT_EQ(parseDecimal("-2147483648"), INT32_MIN);
    EXPECT_EQ(parseDecimal("-2147483649"), INT32_MIN);
    EXPECT_EQ(parseDecimal(std::string(5000, '9').c_str()), INT32_MAX);
}

TEST(Text, Utf8TitlesCutOnCharacterBoundaries) {
    // 200 two-byte characters in code page 932 ("あ"), 400 bytes: cut to 258.
    std::string utf8;
    for (int i = 0; i < 200; ++i) utf8 += "\xE3\x81\x82";
    char out[kTextSize];
    systemCodec().fromUtf8(utf8.c_str(), out, kTextSize);
    EXPECT_EQ(std::strlen(out), 258u);
    EXPECT_EQ(static_cast<uint8_t>(out[256]), 0x82);
    EXPECT_EQ(static_cast<uint8_t>(out[257]), 0xA0);
    // A character the code page lacks comes out as '?' per UTF-16 unit.
    systemCodec().fromUtf8("a\xC3\xA9\xF0\x9F\x8E\xB5z", out, kTextSize);
    EXPECT_STREQ(out, "a???z");
}

TEST(Text, SeparatorsSkipTrailBytes) {
    // "表" is 0x95 0x5C: its trail byte is not a backslash.
    const char path[] = "C:\\dir\\\x95\x5C";
    EXPECT_EQ(findLastSeparator(path, '\\'), path + 6);
    char cut[] = "ab\x95\x5C";
    cutText(cut, 3);
    EXPECT_STREQ(cut, "ab");
}
