// Our INI reader against the platform's own GetPrivateProfileStringA and
// GetPrivateProfileIntA, key by key, over hand-written, generated and damaged
// files; and files we write, read back through the platform's functions.
//
// Where Wine's functions are known to be wrong, the difference is allowed
// only in the shape that defect gives, and each one is named:
// - IntegerTooLong: integers are read through a 30-character buffer, so a
//   value of more than 29 characters is read from its first 29.
// - CutInsideCharacter: a text whose 259-byte cut falls inside a double-byte
//   character comes back as 259 bytes, the last of them never written.
// - QuotedExactlyFull: a quoted value of exactly as many characters as the
//   buffer holds loses its last character.
// - InvalidDoubleByte: the file is converted to UTF-16 before it is parsed,
//   so a lead byte takes the next byte with it whatever it is (a line end
//   too, joining two lines) and a pair that is no character reads as U+30FB.
// - BestFitCharacter: characters of a UTF-16 file that the code page lacks
//   become a look-alike (e to e) where we give '?' as everywhere else.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "list_file_support.h"
#include "playlist/playlist_file.h"
#include "playlist/profile_text.h"
#include "test_support.h"

using namespace tarnuvo;
using list_test::ansi;
using list_test::track;
using tarnuvo_test::ScratchDir;
using tarnuvo_test::writeFile;

namespace {

constexpr UINT kIntDefault = 0xFFFFFFF9u;

bool isLead(char c) {
    return IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE;
}

// A trail byte that code page 932 accepts.
bool isTrail(char c) {
    const auto b = static_cast<uint8_t>(c);
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

bool hasInvalidPair(const std::string& bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (!isLead(bytes[i])) continue;
        if (i + 1 >= bytes.size() || !isTrail(bytes[i + 1])) return true;
        ++i;
    }
    return false;
}

struct Differential {
    explicit Differential(std::string where) : folder(std::move(where)) {}
    std::string folder;
    int files = 0;
    int compared = 0;
    std::map<std::string, int> allowed;  // named defect -> differences it explained

    std::string path(const std::string& name) {
        // A fresh name for every file: the platform caches parsed files.
        return folder + std::to_string(++files) + "-" + name + ".ini";
    }

    // Compares every (section, key) pair; the names may hold NUL-free bytes.
    void compare(const std::string& name, const std::string& bytes,
                 const std::vector<std::string>& sections, const std::vector<std::string>& keys) {
        const std::string file = path(name);
        writeFile(file, bytes);
        const ProfileText ours{std::string(bytes)};
        const bool damagedPairs = hasInvalidPair(bytes);
        for (const std::string& section : sections) {
            const int32_t s = ours.findSection(section);
            for (const std::string& key : keys) {
                ++compared;
                const std::string where = name + " [" + section + "] " + key;
                const ProfileValue v = ours.lookup(s, key.c_str());
                char mine[kTextSize];
                profileText(v, mine, sizeof mine);
                char theirs[kTextSize + 8];
                std::memset(theirs, 0x7F, sizeof theirs);
                const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", theirs,
                                                         kTextSize, file.c_str());
                const std::string platform(theirs, n);
                if (platform != mine) explainText(where, v, mine, platform, damagedPairs);
                const UINT ourInt = profileInt(v, kIntDefault);
                const UINT theirInt = GetPrivateProfileIntA(
                    section.c_str(), key.c_str(), static_cast<INT>(kIntDefault), file.c_str());
                if (ourInt != theirInt) explainInt(where, v, ourInt, theirInt, damagedPairs);
            }
        }
    }

    static std::string_view contentOf(const ProfileValue& v) {
        std::string_view raw = v.raw;
        if (raw.size() >= 2 && (raw[0] == '"' || raw[0] == '\'') && raw.back() == raw[0])
            raw = raw.substr(1, raw.size() - 2);
        return raw;
    }

    void allow(const char* defect) { ++allowed[defect]; }

    void explainText(const std::string& where, const ProfileValue& v, const std::string& mine,
                     const std::string& platform, bool damagedPairs) {
        const bool quoted =
            v.raw.size() >= 2 && (v.raw[0] == '"' || v.raw[0] == '\'') && v.raw.back() == v.raw[0];
        if (damagedPairs) return allow("InvalidDoubleByte");
        if (quoted && contentOf(v).size() == kTextSize - 1 && !mine.empty() &&
            platform + mine.back() == mine)
            return allow("QuotedExactlyFull");
        const std::string_view content = contentOf(v);
        if (mine.size() == kTextSize - 2 && platform.size() == kTextSize - 1 &&
            content.size() > mine.size() && platform.compare(0, mine.size(), mine) == 0 &&
            isLead(content[mine.size()]))
            return allow("CutInsideCharacter");
        ADD_FAILURE() << where << "\n  ours: [" << mine << "]\n  platform: [" << platform << "]";
    }

    void explainInt(const std::string& where, const ProfileValue& v, UINT mine, UINT platform,
                    bool damagedPairs) {
        if (damagedPairs) return allow("InvalidDoubleByte");
        const std::string_view content = contentOf(v);
        const bool quoted = content.size() != v.raw.size();
        if (content.size() > 29 && platform == parseProfileInt(content.substr(0, 29), kIntDefault))
            return allow("IntegerTooLong");
        if (quoted && content.size() == 29 &&
            platform == parseProfileInt(content.substr(0, 28), kIntDefault))
            return allow("QuotedExactlyFull");
        ADD_FAILURE() << where << " [" << v.raw << "]: ours " << mine << ", platform " << platform;
    }
};

// --- Generated files -------------------------------------------------------

class Generator {
public:
    explicit Generator(uint32_t seed) : seed_(seed) {}
    uint32_t next(uint32_t n) {
        seed_ = seed_ * 1664525u + 1013904223u;
        return (seed_ >> 8) % n;
    }
    template <typename T, size_t N>
    const T& pick(const T (&items)[N]) {
        return items[next(N)];
    }

    std::string blanks() {
        static const char* const kBlanks[] = {"", "", " ", "\t", "  ", "\x0b", "\x0c", "\x1a"};
        return pick(kBlanks);
    }
    std::string lineEnd() {
        static const char* const kEnds[] = {"\r\n", "\r\n", "\n", "\r"};
        return pick(kEnds);
    }
    // A whole character or a byte that is one.
    std::string character() {
        static const std::string kChars[] = {
            "a",    "Z",        "0",        "9",        " ",        "=",        "[",
            "]",    "\"",       "'",        ";",        "\\",       "|",        "-",
            "x",    "\x83\x5C", "\x83\x7C", "\x83\x5D", "\x82\xA0", "\x8A\xBF", "\x81\x40",
            "\xB6", "\xDF",     "\t",       "\x1c",     "\x01",     "\x7f",     "\x82\x60"};
        return pick(kChars);
    }
    std::string text(size_t maxChars) {
        std::string s;
        const size_t n = next(static_cast<uint32_t>(maxChars + 1));
        for (size_t i = 0; i < n; ++i) s += character();
        return s;
    }
    std::string number() {
        static const char* const kNumbers[] = {"0",
                                               "1",
                                               "-1",
                                               "4294967295",
                                               "4294967296",
                                               "2147483648",
                                               "0x1F",
                                               "0o17",
                                               "0b101",
                                               "+7",
                                               "- 7",
                                               "12abc",
                                               "0X10",
                                               "",
                                               "007",
                                               "99999999999999999999",
                                               "-0x8",
                                               "0x",
                                               "1"
                                               "000000000000000000000000000042"};
        return pick(kNumbers);
    }
    std::string value() {
        switch (next(8)) {
            case 0:
                return number();
            case 1:
                return "\"" + text(12) + "\"";
            case 2:
                return "'" + text(6) + "'";
            case 3:
                return std::string(250 + next(12), 'L') + (next(2) ? "\x82\xA0\x82\xA0" : "");
            default:
                return text(16);
        }
    }
    std::string line(const std::vector<std::string>& sections,
                     const std::vector<std::string>& keys) {
        switch (next(14)) {
            case 0:
            case 1:
                return blanks() + "[" + blanks() + sections[next(sections.size())] + blanks() +
                       "]" + (next(3) ? "" : text(3));
            case 2:
                return "[" + sections[next(sections.size())];  // no ']'
            case 3:
                return blanks();
            case 4:
                return text(8);  // a key without '='
            default: {
                std::string key = keys[next(keys.size())];
                if (next(3) == 0)
                    for (char& c : key)
                        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
                return blanks() + key + blanks() + "=" + blanks() + value() + blanks();
            }
        }
    }

private:
    uint32_t seed_;
};

const std::vector<std::string>& sectionNames() {
    static const std::vector<std::string> names = {
        "Tarnuvolist", "tarnuvolist", "Track00",  "TRACK01", "Track02", "Track100",
        "S]x",         "\x83\x5D",    "\x83\x5C", "",        "a b",     "Missing"};
    return names;
}

const std::vector<std::string>& keyNames() {
    static const std::vector<std::string> names = {
        "Ver",  "Track",     "Album",   "Path",       "File",      "Title", "Artist", "Length",
        "Loop", "LoopStart", "LoopEnd", "LoopLength", "k\x83\x5C", "a b",   "",       "Absent"};
    return names;
}

}  // namespace

TEST(ProfileDifferential, HandWrittenGeneratedAndDamagedFilesReadAsThePlatformReadsThem) {
    ASSERT_EQ(932u, GetACP());
    ScratchDir scratch;
    Differential d(scratch.path());
    const auto& sections = sectionNames();
    const auto& keys = keyNames();

    // Hand-written: a list as a person might type it.
    d.compare("hand",
              "\r\n  [tarnuvolist]  \n ver = 1 \r\nALBUM = \"" + ansi(u8" 夏のアルバム ") +
                  "\"\n\nComment='memo'\r\nPATH=1\ntrack= 3\r\n\r\n[TRACK00]\nfile = \\" +
                  ansi(u8"曲\\ソナタ.ogg") + "\ntitle=" + ansi(u8"ソナタ第1番") +
                  "\r\nARTIST =  " + ansi(u8"作曲家") +
                  "  \nlength=176400\nloopstart=100\nLOOPEND=200\nloop\nloop=1\n"
                  "[Track02]\rFile=\"C:\\b.wav\"\rLength=0x10\r",
              sections, keys);
    // Each named defect, shown once on purpose.
    d.compare("defects",
              "[Track00]\nLength=" + std::string(30, '0') + "42\nLoopStart=\"" +
                  std::string(27, '0') + "42\"\nTitle=" + std::string(258, 'a') +
                  "\x82\xA0\nArtist=\"" + std::string(259, 'q') + "\"\n",
              sections, keys);
    d.compare("invalid-pairs",
              "[Track00]\nTitle=ab\x82\nFile=next\nArtist=\x81\x22z\nLength=1\x82\r\nLoop=1\n",
              sections, keys);
    static const char kNul[] = "[Track00]\nTitle=ab\0cd\nFile=x \0 y\n[Tr\0ack01]\nLength=5\n";
    d.compare("nul", std::string(kNul, sizeof kNul - 1), sections, keys);
    d.compare("headers",
              "Path=top\n[ Track00 ]\nFile=1\n[Track01] junk\nFile=2\n[S]x]y\nFile=3\n[Track02\n"
              "File=4\n[\x83\x5D]\nFile=zo\n[ab\x83\x5D\nFile=5\n[]\nFile=6\n",
              sections, keys);

    // UTF-16 LE with a byte-order mark.
    const std::u16string u16 =
        u"[Tarnuvolist]\r\nVer=1\r\nAlbum=\u590f\u306e\u30a2\u30eb\u30d0\u30e0\r\n"
        u"[Track00]\r\nTitle= \"\uff76\uff85\u3000\" \r\nArtist=\u4f5c\u66f2\u5bb6\r\n"
        u"Length=176400\r\nFile=C:\\\u66f2\\\u30bd.ogg\r\n[Track01]\r\nTitle=\u00e9t\u00e9\r\n";
    std::string le = "\xFF\xFE";
    for (char16_t c : u16) {
        le += static_cast<char>(c & 0xFF);
        le += static_cast<char>(c >> 8);
    }
    d.compare("utf16", le, {"Tarnuvolist", "Track00"}, keys);
    {
        // Outside the code page: the platform's look-alike against our '?'.
        const std::string file = d.path("utf16-best-fit");
        writeFile(file, le);
        char theirs[kTextSize];
        GetPrivateProfileStringA("Track01", "Title", "", theirs, kTextSize, file.c_str());
        const ProfileText ours(le);
        EXPECT_EQ("?t?", list_test::readText(ours, "Track01", "Title"));
        EXPECT_STREQ("ete", theirs);
        d.allow("BestFitCharacter");
    }

    // Generated, damaged ones included.
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        Generator g(seed);
        std::string bytes;
        const uint32_t lines = 10 + g.next(60);
        for (uint32_t i = 0; i < lines; ++i) bytes += g.line(sections, keys) + g.lineEnd();
        if (seed % 5 == 0) bytes.resize(g.next(static_cast<uint32_t>(bytes.size())));  // cut short
        d.compare("generated-" + std::to_string(seed), bytes, sections, keys);
    }

    std::string summary;
    for (const auto& [defect, count] : d.allowed)
        summary += " " + defect + "=" + std::to_string(count);
    std::printf("%d lookups in %d files; platform defects allowed:%s\n", d.compared, d.files,
                summary.c_str());
    for (const char* defect : {"IntegerTooLong", "CutInsideCharacter", "QuotedExactlyFull",
                               "InvalidDoubleByte", "BestFitCharacter"})
        EXPECT_GT(d.allowed[defect], 0) << defect << " was not seen: is it still a defect?";
}

TEST(ProfileDifferential, WrittenListsReadBackThroughThePlatform) {
    ScratchDir scratch;
    // Made here: the scratch helper splits names at every 0x5C byte.
    const std::string folder = scratch.path() + ansi(u8"ソ") + "\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string list = folder + "written.pll";
    Generator g(77);
    std::vector<TrackInfo> entries;
    for (int i = 0; i < 120; ++i) {
        std::string title = g.text(40), artist = g.text(10);
        if (i % 9 == 0) title = "\r\n[Track00]\r\nFile=C:\\evil\r\n";
        if (i % 10 == 1) title = "\"" + title + "\"";
        TrackInfo t =
            track("C:\\" + g.text(6) + std::to_string(i) + ".ogg", title, artist,
                  i % 4 ? 4294967295u : g.next(1000000), i % 2, g.next(100), 100 + g.next(1000));
        if (i % 5 == 0) {
            std::snprintf(t.path, kTextSize, "%d%s.wav", i, ansi(u8"曲").c_str());
            std::snprintf(t.location, kTextSize, "%s%s", folder.c_str(), t.path);
        }
        entries.push_back(t);
    }
    const std::string album = " " + ansi(u8"盤") + " ";
    ASSERT_EQ(1, writePlaylistFile(list.c_str(), entries, album.c_str(), "'c'", 1));

    auto text = [&](const char* section, const char* key) {
        char out[kTextSize];
        GetPrivateProfileStringA(section, key, "<absent>", out, kTextSize, list.c_str());
        return std::string(out);
    };
    auto number = [&](const char* section, const char* key) {
        return GetPrivateProfileIntA(section, key, 12345, list.c_str());
    };
    // What the writer must give back: controls as spaces, nothing else changed.
    auto cleaned = [](std::string s) {
        for (char& c : s)
            if (static_cast<uint8_t>(c) < 0x20) c = ' ';
        return s;
    };
    EXPECT_EQ(1u, number("Tarnuvolist", "Ver"));
    EXPECT_EQ(album, text("Tarnuvolist", "Album"));
    EXPECT_EQ("'c'", text("Tarnuvolist", "Comment"));
    EXPECT_EQ(1u, number("Tarnuvolist", "Path"));
    EXPECT_EQ(entries.size(), number("Tarnuvolist", "Track"));
    for (size_t i = 0; i < entries.size(); ++i) {
        char section[32];
        std::snprintf(section, sizeof section, "Track%02zu", i);
        const TrackInfo& t = entries[i];
        EXPECT_EQ(cleaned(i % 5 == 0 ? t.path : t.location), text(section, "File")) << i;
        EXPECT_EQ(cleaned(t.title), text(section, "Title")) << i;
        EXPECT_EQ(cleaned(t.artist), text(section, "Artist")) << i;
        EXPECT_EQ(t.length, number(section, "Length")) << i;
        EXPECT_EQ(static_cast<UINT>(t.hasLoop), number(section, "Loop")) << i;
        EXPECT_EQ(t.loopStart, number(section, "LoopStart")) << i;
        EXPECT_EQ(t.loopEnd, number(section, "LoopEnd")) << i;
        EXPECT_EQ("<absent>", text(section, "LoopLength")) << i;
    }
}
