// The list file's rules, in code page 932 with Japanese titles: hand-written
// files, counts, loop ranges, relative names, and what the writer makes of
// entries of every kind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/units.h"
#include "list_file_support.h"
#include "playlist/playlist_file.h"

using namespace tarnuvo;
using namespace std::string_literals;
using list_test::ansi;
using list_test::atRate;
using list_test::expectSameStoredFields;
using list_test::track;

namespace {

const std::string kSo = "\x83\x5C";  // ソ: its second byte is the '\' code
const std::string kPo = "\x83\x7C";  // ポ: its second byte is the '|' code
const std::string kFolder = "D:\\" + kSo + "\\";
const std::string kListPath = kFolder + "list.pll";

PlaylistFileContents parse(const std::string& bytes, int32_t want = 1,
                           const std::string& listPath = kListPath) {
    PlaylistFileContents out;
    EXPECT_EQ(want, parsePlaylistFile(bytes, listPath.c_str(), out)) << bytes.substr(0, 80);
    return out;
}

std::string header(const std::string& count, const std::string& more = "") {
    return "[Tarnuvolist]\r\nVer=1\r\nTrack=" + count + "\r\n" + more;
}

bool has(const std::string& bytes, const std::string& part) {
    return bytes.find(part) != std::string::npos;
}

TrackInfo relative(const std::string& path, const std::string& location) {
    TrackInfo t = track(location, "", "", 1);
    std::snprintf(t.path, kTextSize, "%s", path.c_str());
    return t;
}

}  // namespace

TEST(ListRead, HandWrittenFileWithJapaneseTitles) {
    const PlaylistFileContents c = parse(
        "\r\n  [tarnuvolist]  \n ver = 1 \r\nALBUM = \"" + ansi(u8" 夏のアルバム ") +
        "\"\n\nComment='memo'\r\ntrack= 2\r\n\r\n[TRACK00]\nfile = C:\\" +
        ansi(u8"曲\\ソナタ.ogg") + "\ntitle=" + ansi(u8"ソナタ第1番") +
        "\r\nARTIST =  " + ansi(u8"作曲家") +
        "  "
        "\nlength=176400\nloopstart=100\nLOOPEND=200\nloop=1\n[Track01]\r\nFile=\"C:\\b.wav\"\r\n");
    EXPECT_EQ(ansi(u8" 夏のアルバム "), c.album);
    EXPECT_STREQ("memo", c.comment);
    ASSERT_EQ(2u, c.entries.size());
    expectSameStoredFields(track("C:\\" + ansi(u8"曲\\ソナタ.ogg"), ansi(u8"ソナタ第1番"),
                                 ansi(u8"作曲家"), 176400, 1, 100, 200),
                           c.entries[0], "Track00");
    expectSameStoredFields(track("C:\\b.wav", "", "", 0), c.entries[1], "Track01");
}

TEST(ListRead, VersionAndCount) {
    const std::string two = "[Track00]\nFile=C:\\a\n[Track01]\nFile=C:\\b\n";
    for (const char* refused :
         {"[Tarnuvolist]\nVer=2\nTrack=1\n[Track00]\n", "[Tarnuvolist]\nTrack=1\n[Track00]\n", ""})
        parse(refused, 0);
    EXPECT_EQ(2, playlistFileVersion("[tarnuvolist]\nver=0x2\n"));
    // The count as a signed number, believed only as far as "Track%02d" sections go.
    for (const char* count : {"0", "-1", "4294967295", ""}) parse(header(count) + two, 0);
    parse(header("5"), 0);
    EXPECT_EQ(2u, parse(header("2000000000") + two).entries.size());
    EXPECT_EQ(1u, parse(header("1") + two).entries.size());
    EXPECT_EQ(1u,
              parse(header("99") + "[TRACK05]\n[Track007]\n[Track5]\n[Track 8]\n").entries.size());
    EXPECT_EQ(1u, parse(header("200") + "[track100]\n[Track0101]\n").entries.size());
    // Only sections that exist become entries, in index order, below the count.
    const PlaylistFileContents gap =
        parse(header("3") + "[Track02]\nFile=C:\\c\n[Track00]\nFile=C:\\a\n[Track03]\n");
    ASSERT_EQ(2u, gap.entries.size());
    EXPECT_STREQ("C:\\a", gap.entries[0].path);
    EXPECT_STREQ("C:\\c", gap.entries[1].path);
    // One far section in a damaged list of 50 bytes is one entry, not a
    // hundred thousand blank ones.
    for (const char* far : {"[Track99999]\n", "[Track1999999998]\n"})
        EXPECT_EQ(1u, parse(header("2000000000") + far).entries.size()) << far;
    EXPECT_EQ(100, trackSectionIndex("tRaCk100"));
    for (const char* bad : {"Track5", "Track005", "Track2147483647", "Track-1", "Track05 "})
        EXPECT_EQ(-1, trackSectionIndex(bad)) << bad;
}

TEST(ListRead, LoopRangesAndLengths) {
    // The section, then "loop:start-end length infoKnown rate/frames".
    const std::string example48k =
        "Length=5512952\nLoop=1\nLoopStart=88200\nLoopEnd=1323000\nRate=48000\n"
        "Frames=1500123\nLoopStartFrames=96000\nLoopEndFrames=1440000";
    const std::string sections[][2] = {
        {"LoopStart=100\nLoopEnd=50\nLoop=1\nLength=9", "0:0-0 9 1 0/0"},  // inverted
        {"LoopStart=100\nLoopLength=50\nLoopEnd=999\nLoop=1", "1:100-150 0 0 0/0"},
        {"LoopStart=100\nLoopEnd=200", "0:100-200 0 0 0/0"},  // no "Loop"
        {"LoopStart=4294967290\nLoopLength=10\nLoopEnd=4294967295\nLoop=1",
         "0:0-0 0 0 0/0"},  // wraps to 4
        {"Length=4294967295\nLoopEnd=4294967295\nLoop=-3", "1:0-4294967295 4294967295 1 0/0"},
        // Another rate: the frame keys, as long as they agree with the others.
        {example48k, "1:96000-1440000 5512952 1 48000/1500123"},
        // An older program moved the start and changed the length.
        {"LoopStart=44100\nLength=1764000\n" + example48k,
         "1:48000-1440000 1764000 1 48000/480000"},
        // The end from "LoopLength", in 44,100 Hz frames like the others.
        {"LoopLength=1234800\nLoopEnd=5\n" + example48k, "1:96000-1440000 5512952 1 48000/1500123"},
        {"Rate=96000\nLoopStart=46\nLoopEnd=46\nLoopStartFrames=100\nLoopEndFrames=101\nLoop=1",
         "1:100-101 0 0 96000/0"},  // one 44,100 Hz point, two frames
        {"Rate=8000\nLoopStart=100\nLoopEnd=101\nLoop=1\nLength=176400",
         "0:0-0 176400 1 8000/8000"},  // both points on frame 18
        {"Rate=192000\nLoopStart=4294967294\nLoopEnd=4294967295\nLoop=1\nLength=4294967295",
         "0:0-0 4294967295 1 192000/4294967295"},  // beyond 32 bits of frames
        // Rates this reader does not know: the frame keys are ignored.
        {"Rate=44100\nLoopStart=100\nLoopEnd=200\nLoopStartFrames=7\nLoop=1\nFrames=9",
         "1:100-200 0 0 0/0"},
        {"Rate=7999\nLoopStart=100\nLoopEnd=200\nLoopStartFrames=7\nLoop=1", "1:100-200 0 0 0/0"},
        {"Rate=192001\nLoopStart=100\nLoopEnd=200\nLoopEndFrames=7\nLoop=1", "1:100-200 0 0 0/0"},
    };
    const size_t n = std::size(sections);
    std::string bytes = header(std::to_string(n));
    for (size_t i = 0; i < n; ++i)
        bytes +=
            (i < 10 ? "[Track0" : "[Track") + std::to_string(i) + "]\n" + sections[i][0] + "\n";
    const PlaylistFileContents c = parse(bytes);
    ASSERT_EQ(n, c.entries.size());
    for (size_t i = 0; i < n; ++i) {
        const TrackInfo& t = c.entries[i];
        EXPECT_EQ(sections[i][1], std::to_string(t.hasLoop) + ":" + std::to_string(t.loopStart) +
                                      "-" + std::to_string(t.loopEnd) + " " +
                                      std::to_string(t.length) + " " + std::to_string(t.infoKnown) +
                                      " " + std::to_string(t.sampleRate) + "/" +
                                      std::to_string(t.frameCount))
            << sections[i][0];
    }
    // Written and read again, every one of them comes back.
    const PlaylistFileContents again =
        parse(formatPlaylistFile(c.entries, "", "", 0, kListPath.c_str()));
    ASSERT_EQ(n, again.entries.size());
    for (size_t i = 0; i < n; ++i)
        expectSameStoredFields(c.entries[i], again.entries[i], sections[i][0]);
}

TEST(ListRead, RelativeNamesAgainstAFolderEndingInATrailByte) {
    // "File", then path and location. Only the ':' test makes a name absolute
    // (ポ: included); one leading backslash goes.
    const char* cases[] = {"\\music\\a.ogg",
                           "music\\a.ogg",
                           "D:\\\x83\x5C\\music\\a.ogg",
                           "m\\\x83\x5C.ogg",
                           "m\\\x83\x5C.ogg",
                           "D:\\\x83\x5C\\m\\\x83\x5C.ogg",
                           "\\\\srv\\y.mp3",
                           "\\srv\\y.mp3",
                           "D:\\\x83\x5C\\\\srv\\y.mp3",
                           "z",
                           "z",
                           "D:\\\x83\x5C\\z",
                           "",
                           "",
                           "",
                           "C:\\x.wav",
                           "C:\\x.wav",
                           "C:\\x.wav",
                           "\x83\x7C:odd",
                           "\x83\x7C:odd",
                           "\x83\x7C:odd",
                           "C:\\a.zip|\x83\x7C.mp3",
                           "C:\\a.zip|\x83\x7C.mp3",
                           "C:\\a.zip|\x83\x7C.mp3"};
    std::string bytes = header("8", "Path=1\n");
    for (size_t i = 0; i < std::size(cases); i += 3)
        bytes += "[Track0" + std::to_string(i / 3) + "]\nFile=" + cases[i] + "\n";
    const PlaylistFileContents c = parse(bytes);
    EXPECT_EQ(1, c.relativePaths);
    for (size_t i = 0; i < std::size(cases); i += 3)
        EXPECT_EQ(cases[i + 1] + "|"s + cases[i + 2],
                  c.entries[i / 3].path + "|"s + c.entries[i / 3].location);
    // The location is cut to 259 bytes on a character boundary.
    const std::string n(252, 'n');
    EXPECT_EQ(
        kFolder + n,
        parse(header("1", "Path=1\n") + "[Track00]\nFile=" + n + "\x82\xA0\n").entries[0].location);
    EXPECT_STREQ("a.ogg", parse(header("1") + "[Track00]\nFile=a.ogg\n").entries[0].location);
    parse(header("1", "Path=1\n") + "[Track00]\nFile=a\n", 0, "list.pll");
}

TEST(ListRead, DamageLosesOnlyWhatIsDamaged) {
    const std::string file = header("3") + "[Track00]\nFile=C:\\a\nTitle=" + ansi(u8"一") +
                             "\n[Track01\nFile=C:\\lost\n\x83\nTitle=\x82\n\0\0garbage\n"s +
                             "[Track02]\nFile=C:\\c\nTitle=" + ansi(u8"三") + "\nLength=12x\n";
    const PlaylistFileContents c = parse(file);
    // The section with the broken name is no section: its entry is lost.
    ASSERT_EQ(2u, c.entries.size());
    EXPECT_EQ("C:\\a" + ansi(u8"一"), c.entries[0].path + std::string(c.entries[0].title));
    EXPECT_EQ(ansi(u8"三") + "12", c.entries[1].title + std::to_string(c.entries[1].length));
    for (size_t n = 0; n <= file.size(); ++n) {
        PlaylistFileContents part;
        if (!parsePlaylistFile(std::string_view(file.data(), n), kListPath.c_str(), part)) {
            EXPECT_TRUE(part.entries.empty());
        }
        EXPECT_LE(part.entries.size(), 2u);
    }
}

TEST(ListWrite, KeysInTableOrderAndTrack100) {
    std::vector<TrackInfo> entries(101,
                                   track("C:\\a.ogg", ansi(u8"題"), ansi(u8"人"), 400, 1, 3, 9));
    entries[1] = atRate(entries[1], 44100, 100);  // 44,100 Hz: written as it always was
    const std::string bytes =
        formatPlaylistFile(entries, ansi(u8"盤").c_str(), "c", 0, "C:\\l.pll");
    const std::string entry = "\r\nFile=C:\\a.ogg\r\nTitle=" + ansi(u8"題") +
                              "\r\nArtist=" + ansi(u8"人") +
                              "\r\nLength=400\r\nLoop=1\r\nLoopStart=3\r\nLoopEnd=9\r\n";
    EXPECT_EQ(0u, bytes.find("[Tarnuvolist]\r\nVer=1\r\nAlbum=" + ansi(u8"盤") +
                             "\r\nComment=c\r\nPath=0\r\nTrack=101\r\n[Track00]" + entry +
                             "[Track01]" + entry));
    EXPECT_TRUE(has(bytes, "[Track99]" + entry + "[Track100]" + entry));
    EXPECT_EQ(bytes.size(), bytes.rfind("[Track100]" + entry) + 10 + entry.size());
    // Another rate: its exact frames follow the keys in 44,100 Hz frames.
    const std::string at48k = formatPlaylistFile(
        {atRate(track("C:\\b.ogg", "", "", 5512952, 1, 96000, 1440000), 48000, 1500123)}, "", "", 0,
        "C:\\l.pll");
    EXPECT_EQ(at48k.substr(at48k.find("[Track00]")),
              "[Track00]\r\nFile=C:\\b.ogg\r\nTitle=\r\nArtist=\r\nLength=5512952\r\nLoop=1\r\n"
              "LoopStart=88200\r\nLoopEnd=1323000\r\nRate=48000\r\nFrames=1500123\r\n"
              "LoopStartFrames=96000\r\nLoopEndFrames=1440000\r\n");
}

TEST(ListWrite, RelativeNamesOnlyWhereTheyStillResolve) {
    const std::vector<TrackInfo> entries = {
        relative("music\\a.ogg", kFolder + "music\\a.ogg"),
        relative("MUSIC\\" + kPo + ".ogg", "d:\\" + kSo + "\\music\\" + kPo + ".ogg"),
        relative("C:\\abs.wav", "C:\\abs.wav"), relative("b.ogg", "E:\\other\\b.ogg"),
        relative("m.mp3", "C:\\a.zip|m.mp3")};
    const std::string same = formatPlaylistFile(entries, "", "", 1, kListPath.c_str());
    for (const std::string& line :
         {"Path=1"s, "File=music\\a.ogg"s, "File=MUSIC\\" + kPo + ".ogg", "File=C:\\abs.wav"s,
          "File=E:\\other\\b.ogg"s, "File=C:\\a.zip|m.mp3"s})
        EXPECT_TRUE(has(same, "\n" + line + "\r\n")) << line;
    // Saved elsewhere, or without the flag, every name is written in full.
    EXPECT_TRUE(
        has(formatPlaylistFile(entries, "", "", 1, "F:\\x.pll"), "File=" + kFolder + "music"));
    EXPECT_FALSE(has(formatPlaylistFile(entries, "", "", 0, kListPath.c_str()), "File=music"));
    // A location the reader would take for relative turns the flag off.
    for (const std::string odd : {"\\\\srv\\u.ogg", "\\x.ogg", "bare.ogg"}) {
        const std::string bytes =
            formatPlaylistFile({entries[0], relative(odd, odd)}, "", "", 1, kListPath.c_str());
        EXPECT_TRUE(has(bytes, "Path=0\r\n") && has(bytes, "File=" + kFolder + "music")) << odd;
        EXPECT_EQ(odd, parse(bytes).entries[1].location);
    }
    EXPECT_TRUE(has(formatPlaylistFile({entries[0], TrackInfo()}, "", "", 1, kListPath.c_str()),
                    "Path=1\r\n"));  // an empty name reads as empty either way
}

TEST(ListWrite, TagTextCannotBreakTheFile) {
    const std::vector<TrackInfo> entries = {
        track("C:\\a", "x\r\n[Track00]\r\nFile=C:\\evil", " s ", 1),
        track("C:\\b", "\"q\"", "'s'", 2)};
    const PlaylistFileContents c =
        parse(formatPlaylistFile(entries, "\tA", "C\n", 0, "C:\\l.pll"), 1, "C:\\l.pll");
    ASSERT_EQ(2u, c.entries.size());
    EXPECT_STREQ("C:\\a", c.entries[0].location);
    EXPECT_STREQ("x  [Track00]  File=C:\\evil", c.entries[0].title);
    EXPECT_EQ(" s |\"q\"|'s'| A|C ", c.entries[0].artist + "|"s + c.entries[1].title + "|" +
                                         c.entries[1].artist + "|" + c.album + "|" + c.comment);
}

TEST(ListWrite, ThousandEntriesOfEveryKindRoundTripFieldByField) {
    const std::string pieces[] = {" ",   "\"", "'",    "=",        "[",           "]",
                                  "abc", kSo,  kPo,    "\x82\xA0", "\xB6",        "\\",
                                  ";",   "|",  "\r\n", "\t",       ansi(u8"漢字")};
    const uint32_t kRates[] = {8000, 22050, 32000, 44100, 48000, 96000, 192000};
    uint32_t seed = 987654321;
    auto next = [&] { return (seed = seed * 1664525u + 1013904223u) >> 8; };
    auto text = [&](size_t parts) {
        std::string v;
        for (size_t p = next() % (parts + 1); p > 0 && v.size() < 240; --p)
            v += pieces[next() % std::size(pieces)];
        return v;
    };
    std::vector<TrackInfo> entries, expected;
    for (uint32_t i = 0; i < 1000; ++i) {
        const std::string name = "f" + std::to_string(i) + kSo + ".ogg";
        const uint32_t s = i % 13 ? next() : 0, e = i % 11 ? s + 1 + next() % 1000 : 4294967295u;
        TrackInfo t = track((i % 3 ? "C:\\" + kSo + "\\" : kFolder) + name, text(12), text(6),
                            i % 7 ? next() * (i % 5 != 0) : 4294967295u, i % 4 != 0, s, e);
        if (i % 3 == 0) std::snprintf(t.path, kTextSize, "%s", name.c_str());
        // Every other entry at a rate of its own, as an open leaves it.
        if (i % 2) {
            t = atRate(t, kRates[i / 2 % std::size(kRates)], next() * 7);
            t.length = unitsFromFrames(t.frameCount, t.sampleRate);
            t.infoKnown = t.length != 0;
        }
        entries.push_back(t);
        if (t.sampleRate == 44100) t = atRate(t, 0, 0);  // nothing to tell
        for (char* p : {t.title, t.artist})  // what reading gives back: controls as spaces
            for (; *p; ++p) *p = static_cast<uint8_t>(*p) < 0x20 ? ' ' : *p;
        expected.push_back(t);
    }
    const std::string bytes = formatPlaylistFile(entries, "", "", 1, kListPath.c_str());
    const PlaylistFileContents c = parse(bytes);
    EXPECT_EQ(1, c.relativePaths);
    ASSERT_EQ(entries.size(), c.entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        expectSameStoredFields(expected[i], c.entries[i], "entry " + std::to_string(i));
    EXPECT_TRUE(bytes == formatPlaylistFile(c.entries, "", "", 1, kListPath.c_str()))
        << "read and saved again, the file changed";
}
