// The list file's rules, in code page 932 with Japanese titles: hand-written
// files, relative names, counts, loop ranges, and what the writer makes of
// entries of every kind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "list_file_support.h"
#include "playlist/playlist_file.h"

using namespace tarnuvo;
using namespace std::string_literals;
using list_test::ansi;
using list_test::expectSameStoredFields;
using list_test::track;

namespace {

// ソ (0x83 0x5C) ends the folder name: its trail byte is a backslash code.
const std::string kSo = "\x83\x5C";
const std::string kPo = "\x83\x7C";  // ポ: its trail byte is the '|' code
const std::string kFolder = "D:\\" + kSo + "\\";
const std::string kListPath = kFolder + "list.pll";

PlaylistFileContents parse(const std::string& bytes, int32_t want = 1,
                           const std::string& listPath = kListPath) {
    PlaylistFileContents out;
    EXPECT_EQ(want, parsePlaylistFile(bytes, listPath.c_str(), out));
    return out;
}

std::string header(const std::string& track, const std::string& more = "") {
    return "[Tarnuvolist]\r\nVer=1\r\nTrack=" + track + "\r\n" + more;
}

// How many times `needle` occurs in `hay`.
size_t occurrences(const std::string& hay, const std::string& needle) {
    size_t n = 0;
    for (size_t at = hay.find(needle); at != std::string::npos; at = hay.find(needle, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(ListRead, HandWrittenFileWithJapaneseTitles) {
    const std::string bytes = "\r\n  [tarnuvolist]  \n ver = 1 \r\nALBUM = \"" +
                              ansi(u8" 夏のアルバム ") +
                              "\"\n\nComment='memo'\r\nPATH=0\ntrack= 2\r\n\r\n"
                              "[TRACK00]\nfile = C:\\" +
                              ansi(u8"曲\\ソナタ.ogg") + "\ntitle=" + ansi(u8"ソナタ第1番") +
                              "\r\nARTIST =  " + ansi(u8"作曲家") +
                              "  \nlength=176400\nloopstart=100\nLOOPEND=200\nloop=1\n"
                              "[Track01]\r\nFile=\"C:\\b.wav\"\r\nTitle=" +
                              ansi(u8"表示") + "\r\n";
    const PlaylistFileContents c = parse(bytes);
    EXPECT_EQ(ansi(u8" 夏のアルバム "), c.album);
    EXPECT_STREQ("memo", c.comment);
    EXPECT_EQ(0, c.relativePaths);
    ASSERT_EQ(2u, c.entries.size());
    const std::string song = "C:\\" + ansi(u8"曲\\ソナタ.ogg");
    expectSameStoredFields(
        track(song, ansi(u8"ソナタ第1番"), ansi(u8"作曲家"), 176400, 1, 100, 200), c.entries[0],
        "Track00");
    // Missing keys read as their defaults; no length: not known.
    expectSameStoredFields(track("C:\\b.wav", ansi(u8"表示"), "", 0), c.entries[1], "Track01");
    // Only the stored fields are set.
    EXPECT_EQ(-1, c.entries[0].listIndex);
    EXPECT_EQ(0, c.entries[0].state);
}

TEST(ListRead, VersionMustBeOne) {
    parse("[Tarnuvolist]\nVer=2\nTrack=1\n[Track00]\nFile=C:\\a\n", 0);
    parse("[Tarnuvolist]\nTrack=1\n[Track00]\nFile=C:\\a\n", 0);
    parse("[Other]\nVer=1\nTrack=1\n[Track00]\nFile=C:\\a\n", 0);
    parse("", 0);
    // 2^32 + 1 wraps around to 1, as the platform reads it.
    EXPECT_EQ(1u, parse("[Tarnuvolist]\nVer=4294967297\nTrack=1\n[Track00]\n").entries.size());
    EXPECT_EQ(1, playlistFileVersion("[tarnuvolist]\nver=0x1\n"));
    EXPECT_EQ(2, playlistFileVersion("[Tarnuvolist]\nVer=2\n"));
    EXPECT_EQ(0, playlistFileVersion("[Tarnuvolist]\n"));
    EXPECT_EQ(-1, playlistFileVersion("[Tarnuvolist]\nVer=-1\n"));
}

TEST(ListRead, MissingSectionBetweenTwoGivesAnEmptyEntry) {
    const PlaylistFileContents c =
        parse(header("3") + "[Track00]\nFile=C:\\a.ogg\nLength=4\n[Track02]\nFile=C:\\c.ogg\n");
    ASSERT_EQ(3u, c.entries.size());
    EXPECT_STREQ("C:\\a.ogg", c.entries[0].path);
    expectSameStoredFields(TrackInfo(), c.entries[1], "Track01");
    EXPECT_STREQ("C:\\c.ogg", c.entries[2].location);
}

TEST(ListRead, TrackCountIsBelievedOnlyAsFarAsTheSectionsGo) {
    const std::string two = "[Track00]\nFile=C:\\a\n[Track01]\nFile=C:\\b\n";
    EXPECT_EQ(2u, parse(header("2000000000") + two).entries.size());
    EXPECT_EQ(1u, parse(header("1") + two).entries.size());
    parse(header("0") + two, 0);
    parse(header("-1") + two, 0);
    parse(header("4294967295") + two, 0);  // -1 when compared signed
    parse(header("2147483648") + two, 0);
    parse(header("") + two, 0);
    parse(header("5"), 0);  // no track section at all
    // Only names "Track%02d" gives count; letters in any case.
    EXPECT_EQ(6u, parse(header("10") + "[TRACK05]\n[Track007]\n[Track5]\n[Track+9]\n[Track 8]\n")
                      .entries.size());
    EXPECT_EQ(101u, parse(header("200") + "[track100]\n[Track0101]\n").entries.size());
    EXPECT_EQ(5, trackSectionIndex("tRaCk05"));
    EXPECT_EQ(100, trackSectionIndex("Track100"));
    EXPECT_EQ(2147483646, trackSectionIndex("Track2147483646"));
    for (const char* bad : {"Track5", "Track005", "Track0100", "Track2147483647",
                            "Track99999999999", "Track", "Trac05", "Track-1", "Track05 x"})
        EXPECT_EQ(-1, trackSectionIndex(bad)) << bad;
}

TEST(ListRead, AbsurdCountsAndSparseSectionsAreBounded) {
    // One far section alone would ask for two billion records.
    const PlaylistFileContents c =
        parse(header("2000000000") + "[Track1999999998]\nFile=C:\\far.ogg\n[Track00]\n");
    EXPECT_EQ(static_cast<size_t>(kMaxListEntries), c.entries.size());
    EXPECT_LE(c.entries.capacity(), static_cast<size_t>(kMaxListEntries));
}

TEST(ListRead, LoopRangesAndLengths) {
    const PlaylistFileContents c = parse(header("7") +
                                         "[Track00]\nLoopStart=100\nLoopEnd=50\nLoop=1\nLength=9\n"
                                         "[Track01]\nLoopStart=100\nLoopLength=50\nLoopEnd=999\n"
                                         "Loop=1\n"
                                         "[Track02]\nLoopStart=100\nLoopEnd=200\n"
                                         "[Track03]\nLoopStart=4294967290\nLoopLength=10\nLoop=1\n"
                                         "[Track04]\nLoopStart=5\nLoopEnd=5\nLoop=1\n"
                                         "[Track05]\nLength=4294967295\nLoopStart=0\n"
                                         "LoopEnd=4294967295\nLoop=-3\n"
                                         "[Track06]\nLength=0\nLoopStart=1\nLoopEnd=2\nLoop=1\n");
    ASSERT_EQ(7u, c.entries.size());
    auto range = [&](int i) {
        const TrackInfo& t = c.entries[static_cast<size_t>(i)];
        return std::to_string(t.hasLoop) + ":" + std::to_string(t.loopStart) + "-" +
               std::to_string(t.loopEnd);
    };
    EXPECT_EQ("0:0-0", range(0));  // inverted
    EXPECT_EQ("1:100-150", range(1));
    EXPECT_EQ("0:100-200", range(2));  // no "Loop": the range without the flag
    EXPECT_EQ("0:0-0", range(3));      // 4294967290 + 10 wraps to 4
    EXPECT_EQ("0:0-0", range(4));
    EXPECT_EQ("1:0-4294967295", range(5));
    EXPECT_EQ("1:1-2", range(6));
    EXPECT_EQ(9u, c.entries[0].length);
    EXPECT_EQ(1, c.entries[0].infoKnown);
    EXPECT_EQ(4294967295u, c.entries[5].length);
    EXPECT_EQ(1, c.entries[5].infoKnown);
    // A stored length of 0 is no knowledge: the file is probed when played.
    EXPECT_EQ(0, c.entries[6].infoKnown);
    EXPECT_EQ(0, c.entries[1].infoKnown);
}

TEST(ListRead, RelativeNamesResolveAgainstAFolderEndingInATrailByte) {
    const std::string bytes = header("7", "Path=1\r\n") +
                              "[Track00]\nFile=\\music\\a.ogg\n"
                              "[Track01]\nFile=music\\" +
                              kSo +
                              ".ogg\n"
                              "[Track02]\nFile=C:\\x.wav\n"
                              "[Track03]\nFile=\\\\server\\share\\y.mp3\n"
                              "[Track04]\nFile=z\n"
                              "[Track05]\nFile=\n"
                              "[Track06]\nFile=" +
                              kPo + ":odd\n";
    const PlaylistFileContents c = parse(bytes);
    ASSERT_EQ(7u, c.entries.size());
    EXPECT_EQ(1, c.relativePaths);
    const std::pair<std::string, std::string> want[] = {
        {"music\\a.ogg", kFolder + "music\\a.ogg"},
        {"music\\" + kSo + ".ogg", kFolder + "music\\" + kSo + ".ogg"},
        {"C:\\x.wav", "C:\\x.wav"},
        // Only the ':' test makes a name absolute; one backslash is dropped.
        {"\\server\\share\\y.mp3", kFolder + "\\server\\share\\y.mp3"},
        {"z", kFolder + "z"},
        {"", ""},
        // The second character of "ポ:odd" is ':'.
        {kPo + ":odd", kPo + ":odd"}};
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(want[i].first, c.entries[i].path) << i;
        EXPECT_EQ(want[i].second, c.entries[i].location) << i;
    }
    // With "Path" 0 every value is taken as it stands.
    const PlaylistFileContents plain = parse(header("1", "Path=0\n") + "[Track00]\nFile=a.ogg\n");
    EXPECT_STREQ("a.ogg", plain.entries[0].location);
    // A list path without a folder is refused.
    parse(header("1", "Path=1\n") + "[Track00]\nFile=a\n", 0, "list.pll");
}

TEST(ListRead, ResolvedLocationIsCutTo259BytesOnACharacterBoundary) {
    // A folder of 6 bytes and a name of 252 + 2 bytes make 260.
    const std::string name = std::string(252, 'n') + "\x82\xA0";
    const PlaylistFileContents c =
        parse(header("1", "Path=1\n") + "[Track00]\nFile=" + name + "\n");
    EXPECT_EQ(name, c.entries[0].path);
    EXPECT_EQ(kFolder + std::string(252, 'n'), c.entries[0].location);
}

TEST(ListRead, DamageLosesOnlyWhatIsDamaged) {
    const std::string good = header("3") + "[Track00]\nFile=C:\\a\nTitle=" + ansi(u8"一") +
                             "\n[Track01\nFile=C:\\lost\n\x83\nTitle=\x82\n\0\0garbage\n"s +
                             "[Track02]\nFile=C:\\c\nTitle=" + ansi(u8"三") + "\nLength=12x\n";
    const PlaylistFileContents c = parse(good);
    ASSERT_EQ(3u, c.entries.size());
    EXPECT_EQ(ansi(u8"一"), c.entries[0].title);
    // "[Track01" has no ']': its lines stay in Track00, behind its keys.
    EXPECT_STREQ("C:\\a", c.entries[0].path);
    EXPECT_STREQ("", c.entries[1].path);
    EXPECT_EQ(ansi(u8"三"), c.entries[2].title);
    EXPECT_EQ(12u, c.entries[2].length);
    // Every prefix of the file reads without harm and never invents entries.
    for (size_t n = 0; n <= good.size(); ++n) {
        PlaylistFileContents part;
        const int32_t r =
            parsePlaylistFile(std::string_view(good.data(), n), kListPath.c_str(), part);
        if (r == 0) {
            EXPECT_TRUE(part.entries.empty());
        } else {
            EXPECT_LE(part.entries.size(), 3u);
        }
    }
}

TEST(ListRead, ArchiveMembersKeepTheirReference) {
    const std::string member = "C:\\" + ansi(u8"曲") + ".zip|" + kPo + ".mp3";
    const PlaylistFileContents c =
        parse(header("1", "Path=1\n") + "[Track00]\nFile=" + member + "\n");
    EXPECT_EQ(member, c.entries[0].path);
    EXPECT_EQ(member, c.entries[0].location);
}

TEST(ListWrite, KeysInTableOrder) {
    std::vector<TrackInfo> entries = {track("C:\\a.ogg", ansi(u8"題"), ansi(u8"人"), 400, 1, 3, 9)};
    EXPECT_EQ("[Tarnuvolist]\r\nVer=1\r\nAlbum=" + ansi(u8"盤") +
                  "\r\nComment=c\r\nPath=0\r\nTrack=1\r\n"
                  "[Track00]\r\nFile=C:\\a.ogg\r\nTitle=" +
                  ansi(u8"題") + "\r\nArtist=" + ansi(u8"人") +
                  "\r\nLength=400\r\nLoop=1\r\nLoopStart=3\r\nLoopEnd=9\r\n",
              formatPlaylistFile(entries, ansi(u8"盤").c_str(), "c", 0, "C:\\l.pll"));
}

TEST(ListWrite, HundredAndOneEntriesGoToTrack00ToTrack100) {
    std::vector<TrackInfo> entries;
    for (int i = 0; i < 101; ++i)
        entries.push_back(track("C:\\" + std::to_string(i) + ".ogg",
                                ansi(u8"曲") + std::to_string(i), "", static_cast<uint32_t>(i)));
    const std::string bytes = formatPlaylistFile(entries, "", "", 0, kListPath.c_str());
    EXPECT_EQ(1u, occurrences(bytes, "\r\nTrack=101\r\n"));
    EXPECT_EQ(1u, occurrences(bytes, "[Track00]\r\nFile=C:\\0.ogg\r\n"));
    EXPECT_EQ(1u, occurrences(bytes, "[Track09]\r\n"));
    EXPECT_EQ(1u, occurrences(bytes, "[Track99]\r\nFile=C:\\99.ogg\r\n"));
    EXPECT_EQ(1u, occurrences(bytes, "[Track100]\r\nFile=C:\\100.ogg\r\n"));
    EXPECT_EQ(0u, occurrences(bytes, "[Track101]"));
    EXPECT_EQ(102u, occurrences(bytes, "]\r\n"));
    const PlaylistFileContents c = parse(bytes);
    ASSERT_EQ(101u, c.entries.size());
    for (size_t i = 0; i < 101; ++i)
        expectSameStoredFields(entries[i], c.entries[i], "entry " + std::to_string(i));
}

TEST(ListWrite, RelativeNamesOnlyWhereTheyStillResolve) {
    auto entry = [](const std::string& path, const std::string& location) {
        TrackInfo t = track(location, "", "", 1);
        std::snprintf(t.path, kTextSize, "%s", path.c_str());
        return t;
    };
    const std::string lower = "d:\\" + kSo + "\\";
    std::vector<TrackInfo> entries = {
        entry("music\\a.ogg", kFolder + "music\\a.ogg"),
        entry("MUSIC\\" + kSo + ".ogg", lower + "music\\" + kSo + ".ogg"),  // case differs
        entry("C:\\abs.wav", "C:\\abs.wav"),
        entry("b.ogg", "E:\\elsewhere\\b.ogg"),  // came from another folder
        entry("m.mp3", "C:\\a.zip|m.mp3"),
    };
    const std::string same = formatPlaylistFile(entries, "", "", 1, kListPath.c_str());
    EXPECT_EQ(1u, occurrences(same, "\r\nPath=1\r\n"));
    EXPECT_EQ(1u, occurrences(same, "[Track00]\r\nFile=music\\a.ogg\r\n"));
    EXPECT_EQ(1u, occurrences(same, "[Track01]\r\nFile=MUSIC\\" + kSo + ".ogg\r\n"));
    EXPECT_EQ(1u, occurrences(same, "[Track02]\r\nFile=C:\\abs.wav\r\n"));
    EXPECT_EQ(1u, occurrences(same, "[Track03]\r\nFile=E:\\elsewhere\\b.ogg\r\n"));
    EXPECT_EQ(1u, occurrences(same, "[Track04]\r\nFile=C:\\a.zip|m.mp3\r\n"));
    const PlaylistFileContents back = parse(same);
    ASSERT_EQ(5u, back.entries.size());
    EXPECT_EQ(kFolder + "MUSIC\\" + kSo + ".ogg", back.entries[1].location);
    for (size_t i : {0, 2, 3, 4}) EXPECT_STREQ(entries[i].location, back.entries[i].location) << i;

    // Saved into another folder, every relative name is written in full.
    const std::string moved = formatPlaylistFile(entries, "", "", 1, "F:\\other\\x.pll");
    EXPECT_EQ(1u, occurrences(moved, "[Track00]\r\nFile=" + kFolder + "music\\a.ogg\r\n"));
    const PlaylistFileContents movedBack = parse(moved, 1, "F:\\other\\x.pll");
    for (size_t i = 0; i < 5; ++i) EXPECT_STREQ(entries[i].location, movedBack.entries[i].location);

    // Without the flag, locations only.
    const std::string flat = formatPlaylistFile(entries, "", "", 0, kListPath.c_str());
    EXPECT_EQ(1u, occurrences(flat, "\r\nPath=0\r\n"));
    EXPECT_EQ(0u, occurrences(flat, "File=music"));
}

TEST(ListWrite, ALocationTheReaderWouldTakeForRelativeTurnsTheFlagOff) {
    for (const std::string odd : {"\\\\server\\share\\u.ogg", "\\x.ogg", "bare.ogg"}) {
        std::vector<TrackInfo> entries = {track(kFolder + "a.ogg", "", "", 1),
                                          track(odd, "", "", 2)};
        std::snprintf(entries[0].path, kTextSize, "a.ogg");
        const std::string bytes = formatPlaylistFile(entries, "", "", 1, kListPath.c_str());
        EXPECT_EQ(1u, occurrences(bytes, "\r\nPath=0\r\n")) << odd;
        EXPECT_EQ(1u, occurrences(bytes, "File=" + kFolder + "a.ogg\r\n")) << odd;
        const PlaylistFileContents c = parse(bytes);
        EXPECT_STREQ(entries[0].location, c.entries[0].location);
        EXPECT_EQ(odd, c.entries[1].location);
    }
    // An empty name needs no flag change: it reads as empty either way.
    std::vector<TrackInfo> withEmpty = {track("", "", "", 0), track(kFolder + "a", "", "", 1)};
    std::snprintf(withEmpty[1].path, kTextSize, "a");
    EXPECT_EQ(1u, occurrences(formatPlaylistFile(withEmpty, "", "", 1, kListPath.c_str()),
                              "\r\nPath=1\r\n"));
}

TEST(ListWrite, MembersAreWrittenAsTheirLocationAndPoIsNoBar) {
    TrackInfo member = track("C:\\" + ansi(u8"曲") + ".zip|" + kPo + ".mp3", "", "", 5);
    std::snprintf(member.path, kTextSize, "%s", (kPo + ".mp3").c_str());
    TrackInfo po = track(kFolder + kPo + ".ogg", "", "", 5);  // no member: ポ's trail byte
    std::snprintf(po.path, kTextSize, "%s", (kPo + ".ogg").c_str());
    const std::string bytes = formatPlaylistFile({member, po}, "", "", 1, kListPath.c_str());
    EXPECT_EQ(1u, occurrences(bytes, "File=" + std::string(member.location) + "\r\n"));
    EXPECT_EQ(1u, occurrences(bytes, "[Track01]\r\nFile=" + kPo + ".ogg\r\n"));
}

TEST(ListWrite, TagTextCannotBreakTheFile) {
    std::vector<TrackInfo> entries = {
        track("C:\\a.ogg", "x\r\n[Track00]\r\nFile=C:\\evil", " spaced ", 1),
        track("C:\\b.ogg", "\"quoted\"", "'single'", 2)};
    const std::string bytes = formatPlaylistFile(entries, "\tA", "C\n", 0, "C:\\l.pll");
    EXPECT_EQ(1u, occurrences(bytes, "\n[Track00]"));
    const PlaylistFileContents c = parse(bytes, 1, "C:\\l.pll");
    ASSERT_EQ(2u, c.entries.size());
    EXPECT_STREQ("C:\\a.ogg", c.entries[0].location);
    EXPECT_STREQ("x  [Track00]  File=C:\\evil", c.entries[0].title);
    EXPECT_STREQ(" spaced ", c.entries[0].artist);
    EXPECT_STREQ("\"quoted\"", c.entries[1].title);
    EXPECT_STREQ("'single'", c.entries[1].artist);
    EXPECT_STREQ(" A", c.album);
    EXPECT_STREQ("C ", c.comment);
}

TEST(ListWrite, ThousandEntriesOfEveryKindRoundTripFieldByField) {
    const std::string pieces[] = {" ",   "\"", "'",    "=",        "[",           "]",
                                  "abc", kSo,  kPo,    "\x82\xA0", "\xB6",        "\\",
                                  ";",   "|",  "\r\n", "\t",       ansi(u8"漢字")};
    uint32_t seed = 987654321;
    auto next = [&] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    auto text = [&](size_t maxParts) {
        std::string v;
        const size_t parts = next() % (maxParts + 1);
        for (size_t p = 0; p < parts && v.size() < 240; ++p)
            v += pieces[next() % std::size(pieces)];
        return v;
    };
    std::vector<TrackInfo> entries;
    std::vector<TrackInfo> expected;
    for (int i = 0; i < 1000; ++i) {
        const std::string title = text(12), artist = text(6);
        std::string folder = (i % 3 == 0) ? kFolder : "C:\\" + kSo + "\\";
        const std::string name = "f" + std::to_string(i) + kSo + ".ogg";
        const uint32_t length = i % 7 == 0 ? 4294967295u : (i % 5 == 0 ? 0u : next());
        uint32_t s = next(), e = i % 11 == 0 ? 4294967295u : s + 1 + next() % 1000;
        const int32_t hasLoop = (i % 4) != 0;
        if (i % 13 == 0) s = e = 0;
        TrackInfo t = track(folder + name, title, artist, length, hasLoop, s, e);
        if (i % 3 == 0) std::snprintf(t.path, kTextSize, "%s", name.c_str());
        entries.push_back(t);
        // What reading gives back: controls as spaces, no loop without a range.
        TrackInfo want = t;
        for (char* p : {want.title, want.artist})
            for (; *p; ++p)
                if (static_cast<uint8_t>(*p) < 0x20) *p = ' ';
        if (!(s < e)) want.hasLoop = 0;
        expected.push_back(want);
    }
    const std::string bytes = formatPlaylistFile(entries, "", "", 1, kListPath.c_str());
    const PlaylistFileContents c = parse(bytes);
    EXPECT_EQ(1, c.relativePaths);
    ASSERT_EQ(entries.size(), c.entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        expectSameStoredFields(expected[i], c.entries[i], "entry " + std::to_string(i));
}
