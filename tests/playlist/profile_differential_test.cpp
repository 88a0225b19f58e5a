// Our INI reader against the platform's GetPrivateProfileStringA and
// GetPrivateProfileIntA, key by key, over hand-written, generated and damaged
// files; and a list we write, read back through the platform's functions.
//
// Where Wine is known to be wrong, a difference is allowed only in the shape
// that defect gives, and each one is named:
// - IntegerTooLong: integers are read through a 30-character buffer, so a
//   value of more than 29 characters is read from its first 29.
// - CutInsideCharacter: a text whose 259-byte cut falls inside a double-byte
//   character comes back as 259 bytes, the last of them never written.
// - QuotedExactlyFull: a quoted value exactly as long as the buffer holds
//   (259 characters for texts, 29 for integers) loses its last character.
// - InvalidDoubleByte: the file is converted to UTF-16 before it is parsed, so
//   a lead byte takes the next byte with it whatever it is (a line end too,
//   joining two lines), and a pair that is no character reads as U+30FB.
// - BestFitCharacter: a character of a UTF-16 file that the code page lacks
//   becomes a look-alike (e for e-acute) where we give '?'.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "list_file_support.h"
#include "playlist/playlist_file.h"
#include "test_support.h"

using namespace tarnuvo;
using namespace std::string_literals;
using list_test::ansi;

namespace {

constexpr UINT kDefault = 0xFFFFFFF9u;

bool isLead(char c) {
    return IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE;
}

// A lead byte without a second byte that code page 932 accepts.
bool hasInvalidPair(const std::string& bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (!isLead(bytes[i])) continue;
        const auto t = i + 1 < bytes.size() ? static_cast<uint8_t>(bytes[++i]) : 0;
        if (t < 0x40 || t == 0x7F || t > 0xFC) return true;
    }
    return false;
}

const std::vector<std::string> kSections = {"Tarnuvolist", "Track00",  "TRACK01", "Track02", "S]x",
                                            "\x83\x5D",    "\x83\x5C", "",        "a b"};
const std::vector<std::string> kKeys = {"Ver",       "Track",  "Album", "File",      "Title",
                                        "Artist",    "Length", "Loop",  "LoopStart", "LoopEnd",
                                        "k\x83\x5C", "a b",    ""};

struct Differential {
    std::string folder;
    int files = 0, lookups = 0;
    std::map<std::string, int> allowed;  // defect -> differences it explained

    // A fresh name for every file: the platform caches files it has parsed.
    std::string save(const std::string& bytes) {
        const std::string path = folder + std::to_string(++files) + ".ini";
        tarnuvo_test::writeFile(path, bytes);
        return path;
    }

    void compare(const std::string& name, const std::string& bytes,
                 const std::vector<std::string>& sections = kSections) {
        const std::string file = save(bytes);
        const ProfileText ours(bytes);
        for (const std::string& section : sections) {
            for (const std::string& key : kKeys) {
                ++lookups;
                const ProfileValue v = ours.lookup(ours.findSection(section), key.c_str());
                char mine[kTextSize], theirs[kTextSize];
                profileText(v, mine, kTextSize);
                const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", theirs,
                                                         kTextSize, file.c_str());
                const UINT ourInt = profileInt(v, kDefault);
                const UINT theirInt = GetPrivateProfileIntA(
                    section.c_str(), key.c_str(), static_cast<INT>(kDefault), file.c_str());
                const char* why = nullptr;
                if (std::string(theirs, n) != mine)
                    why = explainText(bytes, v, mine, std::string(theirs, n));
                else if (ourInt != theirInt)
                    why = explainInt(bytes, v, theirInt);
                else
                    continue;
                if (why) {
                    ++allowed[why];
                } else {
                    ADD_FAILURE() << name << " [" << section << "] " << key << " = [" << v.raw
                                  << "]: ours [" << mine << "] " << ourInt << ", platform ["
                                  << std::string(theirs, n) << "] " << theirInt;
                }
            }
        }
    }

    static std::string_view content(const ProfileValue& v, bool& quoted) {
        quoted =
            v.raw.size() >= 2 && (v.raw[0] == '"' || v.raw[0] == '\'') && v.raw.back() == v.raw[0];
        return quoted ? v.raw.substr(1, v.raw.size() - 2) : v.raw;
    }

    static const char* explainText(const std::string& bytes, const ProfileValue& v,
                                   const std::string& mine, const std::string& theirs) {
        bool quoted;
        const std::string_view c = content(v, quoted);
        if (hasInvalidPair(bytes)) return "InvalidDoubleByte";
        if (quoted && c.size() == kTextSize - 1 && theirs + c.back() == mine)
            return "QuotedExactlyFull";
        if (mine.size() == kTextSize - 2 && theirs.size() == kTextSize - 1 &&
            c.size() > mine.size() && theirs.compare(0, mine.size(), mine) == 0 &&
            isLead(c[mine.size()]))
            return "CutInsideCharacter";
        return nullptr;
    }

    static const char* explainInt(const std::string& bytes, const ProfileValue& v, UINT theirs) {
        bool quoted;
        const std::string_view c = content(v, quoted);
        if (hasInvalidPair(bytes)) return "InvalidDoubleByte";
        if (c.size() > 29 && theirs == parseProfileInt(c.substr(0, 29), kDefault))
            return "IntegerTooLong";
        if (quoted && c.size() == 29 && theirs == parseProfileInt(c.substr(0, 28), kDefault))
            return "QuotedExactlyFull";
        return nullptr;
    }
};

// Random lines from whole characters: headers, broken headers, keys in any
// case, blanks, quotes, numbers, long texts.
class Generator {
public:
    explicit Generator(uint32_t seed) : seed_(seed) {}
    uint32_t next(size_t n) { return ((seed_ = seed_ * 1664525u + 1013904223u) >> 8) % n; }
    template <typename T>
    const T& pick(const std::vector<T>& items) {
        return items[next(items.size())];
    }
    std::string text(size_t most) {
        static const std::vector<std::string> chars = {
            "a",        "Z",        "0",    " ",  "=",    "[",        "]",        "\"",
            "'",        ";",        "\\",   "|",  "x",    "\x83\x5C", "\x83\x7C", "\x83\x5D",
            "\x82\xA0", "\x81\x40", "\xB6", "\t", "\x1c", "\x7f"};
        std::string s;
        for (size_t n = next(most + 1); n > 0; --n) s += pick(chars);
        return s;
    }
    std::string blanks() {
        return pick(std::vector<std::string>{"", "", " ", "\t", "\x0b", "\x1a"});
    }
    std::string value() {
        static const std::vector<std::string> numbers = {
            "0", "-1", "4294967296", "0x1F", "0o17", "0b101", "- 7", "12abc", "0X10", ""};
        const uint32_t kind = next(7);
        if (kind == 0) return pick(numbers);
        if (kind == 1) return std::string(28 + next(4), '0') + "42";
        if (kind == 2) return "\"" + text(12) + "\"";
        if (kind == 3)
            return std::string(250 + next(12), 'L') + (next(2) ? "\x82\xA0\x82\xA0" : "");
        return text(16);
    }
    std::string line() {
        std::string key = pick(kKeys);
        if (next(3) == 0) CharUpperA(key.data());
        const uint32_t kind = next(12);
        if (kind < 2) return blanks() + "[" + blanks() + pick(kSections) + blanks() + "]" + text(2);
        if (kind == 2) return "[" + pick(kSections);  // no ']'
        if (kind == 3) return blanks();
        if (kind == 4) return text(8);  // a key without '='
        return blanks() + key + blanks() + "=" + blanks() + value() + blanks();
    }

private:
    uint32_t seed_;
};

}  // namespace

TEST(ProfileDifferential, FilesReadAsThePlatformReadsThem) {
    ASSERT_EQ(932u, GetACP());
    tarnuvo_test::ScratchDir scratch;
    Differential d;
    d.folder = scratch.path();
    d.compare("hand", "\r\n  [tarnuvolist]  \n ver = 1 \r\nALBUM = \"" + ansi(u8" 夏 ") +
                          "\"\nPATH=1\ntrack= 3\r\n\r\n[TRACK00]\nfile = \\" +
                          ansi(u8"曲\\ソ.ogg") + "\ntitle=" + ansi(u8"ソナタ") +
                          "\nLength=0x10\nloop\nloop=1\n"
                          "[Track02]\rFile=\"C:\\b.wav\"\r");
    d.compare("headers",
              "Loop=top\n[ Track00 ]\nFile=1\n[Track01] junk\nFile=2\n[S]x]y\nFile=3\n"
              "[Track02\nFile=4\n[\x83\x5D]\nFile=zo\n[ab\x83\x5D\nFile=5\n[]\nFile=6\n");
    d.compare("nul", "[Track00]\nTitle=ab\0cd\nFile=x \0 y\n[Tr\0ack01]\nLength=5\n"s);
    // Each named defect on purpose.
    d.compare("defects", "[Track00]\nLength=" + std::string(30, '0') + "42\nLoopStart=\"" +
                             std::string(27, '0') + "42\"\nTitle=" + std::string(258, 'a') +
                             "\x82\xA0\nArtist=\"" + std::string(259, 'q') + "\"\n");
    d.compare("invalid-pairs", "[Track00]\nTitle=ab\x82\nFile=next\nArtist=\x81\x22z\n");
    std::string le = "\xFF\xFE";
    for (char16_t c :
         std::u16string(u"[Track00]\r\nTitle= \"\uff76\u3000\" \r\nArtist="
                        u"\u4f5c\u66f2\r\nLength=176400\r\n[Track01]\r\nFile=\u00e9t\u00e9\r\n"))
        le += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    d.compare("utf16", le, {"Track00"});
    char theirs[kTextSize];
    GetPrivateProfileStringA("Track01", "File", "", theirs, kTextSize, d.save(le).c_str());
    EXPECT_EQ("ete|?t?", theirs + "|"s + list_test::readText(ProfileText(le), "Track01", "File"));
    ++d.allowed["BestFitCharacter"];

    for (uint32_t seed = 1; seed <= 60; ++seed) {
        Generator g(seed);
        std::string bytes;
        for (size_t n = 10 + g.next(60); n > 0; --n)
            bytes += g.line() + g.pick(std::vector<std::string>{"\r\n", "\n", "\r"});
        if (seed % 5 == 0) bytes.resize(g.next(bytes.size()));  // cut short
        d.compare("generated-" + std::to_string(seed), bytes);
    }
    std::string summary;
    for (const auto& [defect, count] : d.allowed)
        summary += " " + defect + "=" + std::to_string(count);
    std::printf("%d lookups in %d files; Wine defects allowed:%s\n", d.lookups, d.files,
                summary.c_str());
    for (const char* defect : {"IntegerTooLong", "CutInsideCharacter", "QuotedExactlyFull",
                               "InvalidDoubleByte", "BestFitCharacter"})
        EXPECT_GT(d.allowed[defect], 0) << defect << " not seen: is it still a defect?";
}

TEST(ProfileDifferential, WrittenListsReadBackThroughThePlatform) {
    tarnuvo_test::ScratchDir scratch;
    const std::string list = scratch.path() + "written.pll";
    Generator g(77);
    std::vector<TrackInfo> entries;
    for (uint32_t i = 0; i < 120; ++i) {
        std::string title = i % 9 ? g.text(40) : "\r\n[Track00]\r\nFile=C:\\evil\r\n";
        if (i % 10 == 1) title = "\"" + title + "\"";
        entries.push_back(list_test::track("C:\\" + g.text(6) + std::to_string(i), title,
                                           g.text(10), i % 4 ? 4294967295u : g.next(9999), i % 2,
                                           g.next(100), 100 + g.next(1000)));
    }
    const std::string album = " " + ansi(u8"盤") + " ";
    ASSERT_EQ(1, writePlaylistFile(list.c_str(), entries, album.c_str(), "'c'", 0));
    auto text = [&](const std::string& section, const char* key) {
        char out[kTextSize];
        GetPrivateProfileStringA(section.c_str(), key, "<absent>", out, kTextSize, list.c_str());
        return std::string(out);
    };
    auto number = [&](const std::string& section, const char* key) {
        return GetPrivateProfileIntA(section.c_str(), key, 12345, list.c_str());
    };
    auto cleaned = [](std::string s) {  // controls become spaces; nothing else changes
        for (char& c : s) c = static_cast<uint8_t>(c) < 0x20 ? ' ' : c;
        return s;
    };
    EXPECT_EQ(album + "|'c'", text("Tarnuvolist", "Album") + "|" + text("Tarnuvolist", "Comment"));
    EXPECT_EQ(1u, number("Tarnuvolist", "Ver"));
    EXPECT_EQ(entries.size(), number("Tarnuvolist", "Track"));
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string s = "Track" + std::string(i < 10 ? "0" : "") + std::to_string(i);
        const TrackInfo& t = entries[i];
        EXPECT_EQ(cleaned(t.location), text(s, "File")) << i;
        EXPECT_EQ(cleaned(t.title), text(s, "Title")) << i;
        EXPECT_EQ(cleaned(t.artist), text(s, "Artist")) << i;
        EXPECT_EQ(t.length, number(s, "Length")) << i;
        EXPECT_EQ(static_cast<UINT>(t.hasLoop), number(s, "Loop")) << i;
        EXPECT_EQ(t.loopStart, number(s, "LoopStart")) << i;
        EXPECT_EQ(t.loopEnd, number(s, "LoopEnd")) << i;
    }
}
