#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/id3v2.h"
#include "tests/engine/test_support.h"

using namespace testing_support;
using namespace tarnuvo;

namespace {

Bytes bytes(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes syncsafe(uint32_t v) {
    return {static_cast<uint8_t>(v >> 21 & 0x7F), static_cast<uint8_t>(v >> 14 & 0x7F),
            static_cast<uint8_t>(v >> 7 & 0x7F), static_cast<uint8_t>(v & 0x7F)};
}

// The zero byte a writer stuffs after every 0xFF.
Bytes unsynchronise(const Bytes& b) {
    Bytes out;
    for (uint8_t x : b) {
        out.push_back(x);
        if (x == 0xFF) out.push_back(0);
    }
    return out;
}

// One frame of a tag of version 2.`major`: 2.2's 3-byte ids and sizes, 2.3's
// plain and 2.4's syncsafe sizes; `formatFlags` is the second flag byte.
Bytes frame(int major, const char* id, const Bytes& body, uint8_t formatFlags = 0) {
    const auto n = static_cast<uint32_t>(body.size());
    if (major == 2)
        return Bytes(id, id + 3) +
               Bytes{static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 8),
                     static_cast<uint8_t>(n)} +
               body;
    const Bytes size = major == 4
                           ? syncsafe(n)
                           : Bytes{static_cast<uint8_t>(n >> 24), static_cast<uint8_t>(n >> 16),
                                   static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)};
    return Bytes(id, id + 4) + size + Bytes{0, formatFlags} + body;
}

Bytes tag(int major, const Bytes& frames, uint8_t flags = 0, int64_t declared = -1) {
    const Bytes padded = frames + Bytes(16, 0);
    const auto size =
        declared >= 0 ? static_cast<uint32_t>(declared) : static_cast<uint32_t>(padded.size());
    return bytes("ID3") + Bytes{static_cast<uint8_t>(major), 0, flags} + syncsafe(size) + padded;
}

// "ループ曲" in each form.
const std::string kUtf8 = "\xE3\x83\xAB\xE3\x83\xBC\xE3\x83\x97\xE6\x9B\xB2";
const Bytes kUtf16Le = {0xFF, 0xFE, 0xEB, 0x30, 0xFC, 0x30, 0xD7, 0x30, 0xF2, 0x66};
const Bytes kUtf16Be = {0x30, 0xEB, 0x30, 0xFC, 0x30, 0xD7, 0x66, 0xF2};
const char* const kCp932 = "\x83\x8B\x81\x5B\x83\x76\x8B\xC8";

}  // namespace

TEST(Id3v2, VersionsEncodingsAndDamage) {
    struct Row {
        const char* what;
        Bytes tag;
        const char* title;
        const char* artist;
        uint32_t loopStart, loopEnd;
    };
    const Bytes song = Bytes{0} + bytes("Song");
    const Bytes band = Bytes{0} + bytes("Band");
    const Bytes loop = frame(3, "TXXX", Bytes{0} + bytes("LOOPSTART") + Bytes{0} + bytes("100")) +
                       frame(3, "TXXX", Bytes{3} + bytes("looplength") + Bytes{0} + bytes("50"));
    const Bytes utf16Title = frame(3, "TIT2", Bytes{1} + kUtf16Le + Bytes{0, 0});
    const Bytes long24 = frame(4, "TIT2", Bytes{0} + Bytes(200, 'a'));
    const Row rows[] = {
        {"2.3", tag(3, frame(3, "TIT2", song) + frame(3, "TPE1", band) + loop), "Song", "Band", 100,
         150},
        {"2.2",
         tag(2, frame(2, "TT2", song) + frame(2, "TP1", band) +
                    frame(2, "TXX", Bytes{0} + bytes("LOOP_START") + Bytes{0, '7'})),
         "Song", "Band", 7, 0},
        {"2.4 UTF-8, two strings", tag(4, frame(4, "TIT2", Bytes{3} + bytes(kUtf8 + '\0' + "Two"))),
         kCp932, "", 0, 0},
        {"UTF-16 with a BOM", tag(3, utf16Title), kCp932, "", 0, 0},
        {"UTF-16BE", tag(4, frame(4, "TPE1", Bytes{2} + kUtf16Be)), "", kCp932, 0, 0},
        {"code-page bytes as they are", tag(3, frame(3, "TIT2", Bytes{0} + bytes(kCp932))), kCp932,
         "", 0, 0},
        {"UTF-16 TXXX", tag(4, frame(4, "TXXX", Bytes{1, 0xFF, 0xFE, 'L', 0,  'O', 0, 'O', 0, 'P',
                                                      0, '_',  0,    'E', 0,  'N', 0, 'D', 0, 0,
                                                      0, 0xFE, 0xFF, 0,   '9'})),
         "", "", 0, 9},
        {"2.4 sizes are syncsafe", tag(4, long24 + frame(4, "TPE1", band)), nullptr, "Band", 0, 0},
        {"2.3 tag unsynchronised", tag(3, unsynchronise(utf16Title), 0x80), kCp932, "", 0, 0},
        {"2.4 frame unsynchronised",
         tag(4, frame(4, "TIT2", unsynchronise(Bytes{1} + kUtf16Le), 0x02)), kCp932, "", 0, 0},
        {"2.3 extended header", tag(3, Bytes{0, 0, 0, 6} + Bytes(6) + frame(3, "TPE1", band), 0x40),
         "", "Band", 0, 0},
        {"2.4 extended header", tag(4, syncsafe(6) + Bytes{1, 0} + frame(4, "TPE1", band), 0x40),
         "", "Band", 0, 0},
        {"2.4 group id and data length",
         tag(4, frame(4, "TPE1", Bytes{9} + syncsafe(5) + band, 0x41)), "", "Band", 0, 0},
        {"compressed frame skipped", tag(3, frame(3, "TIT2", song, 0x80) + frame(3, "TPE1", band)),
         "", "Band", 0, 0},
        {"cut inside the second frame", slice(tag(3, frame(3, "TPE1", band) + loop), 0, 40), "",
         "Band", 0, 0},
        {"huge tag size", tag(3, frame(3, "TPE1", band), 0, 0x0FFFFFFF), "", "Band", 0, 0},
        {"huge frame size",
         tag(3, frame(3, "TPE1", band) + bytes("TIT2\x7F\xFF\xFF\xFF") + Bytes{0, 0} + song), "",
         "Band", 0, 0},
        {"size past the tag", tag(3, frame(3, "TPE1", band), 0, 12), "", "", 0, 0},
        {"2.5", tag(5, frame(3, "TPE1", band)), "", "", 0, 0},
    };
    for (const Row& r : rows) {
        std::unique_ptr<uint8_t[]> copy(new uint8_t[r.tag.size()]);
        std::copy(r.tag.begin(), r.tag.end(), copy.get());
        Id3v2Texts texts;
        LoopTagReader loopTags(44100);
        readId3v2(copy.get(), r.tag.size(), texts, loopTags);
        if (r.title)
            EXPECT_STREQ(texts.title, r.title) << r.what;
        else
            EXPECT_EQ(std::string(texts.title), std::string(200, 'a')) << r.what;
        EXPECT_STREQ(texts.artist, r.artist) << r.what;
        EXPECT_EQ(loopTags.loop().start, r.loopStart) << r.what;
        EXPECT_EQ(loopTags.loop().end, r.loopEnd) << r.what;
    }
}

TEST(Id3v2, TagBytesCountHeaderFramesAndFooter) {
    const std::pair<Bytes, uint64_t> rows[] = {
        {tag(3, Bytes(), 0, 1000), 1010},
        {tag(4, Bytes(), 0x10, 1000), 1020},
        {tag(3, Bytes(), 0x10, 1000), 1010},  // no footer before 2.4
        {tag(4, Bytes(), 0, 0x0FFFFFFF), 0x0FFFFFFFu + 10},
        {Bytes{'I', 'D', '3', 4, 0, 0, 0, 0, 0x80, 0}, 0},  // not syncsafe
        {Bytes{'I', 'D', '3', 1, 0, 0, 0, 0, 0, 0}, 0},
        {Bytes{'I', 'D', '3', 3, 0, 0, 0, 0, 0}, 0},  // cut
        {Bytes{'X', 'Y', 'Z', 3, 0, 0, 0, 0, 0, 0}, 0},
    };
    for (const auto& [header, size] : rows)
        EXPECT_EQ(id3v2TagBytes(header.data(), header.size()), size) << header.size();
}
