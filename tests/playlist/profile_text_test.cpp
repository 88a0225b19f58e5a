// The one-pass INI reader and writer, in code page 932. Expected values are
// what the platform's profile functions returned for the same bytes.
#include <gtest/gtest.h>

#include <string>

#include "list_file_support.h"
#include "playlist/profile_text.h"

using namespace tarnuvo;
using namespace std::string_literals;
using list_test::ansi;
using list_test::readInt;
using list_test::readText;

TEST(ProfileRead, LinesEndAtLfCrLfOrCrAndLeadingBlanksAreSkipped) {
    const std::string bytes =
        "\n\n  \t[S]\nK1=a\r\nK2=b\rK3=c\n \t K4 = d  \n\x0bK5=e\n\x0cK6=f\n\x1aK7=g\n"
        "\x1cK8=h\nK9=\x1cy\x1c\n\n\r\n   \n";
    const ProfileText ini(bytes);
    const char* want[] = {"a", "b", "c", "d", "e", "f", "g"};
    for (int i = 0; i < 7; ++i) {
        const std::string key = "K" + std::to_string(i + 1);
        EXPECT_EQ(want[i], readText(ini, "S", key.c_str())) << key;
    }
    // 0x1C is no blank: it stays part of the key and of the value.
    EXPECT_EQ("", readText(ini, "S", "K8"));
    EXPECT_EQ("h", readText(ini, "S", "\x1cK8"));
    EXPECT_EQ("\x1cy\x1c", readText(ini, "S", "K9"));
    // An ideographic space (0x81 0x40) is a character, not a blank.
    const ProfileText wide("[S]\nK=\x81\x40x\x81\x40\n"s);
    EXPECT_EQ("\x81\x40x\x81\x40", readText(wide, "S", "K"));
}

TEST(ProfileRead, SectionNameRunsToTheLastBracketOfTheLine) {
    const ProfileText ini(
        "K0=top\n[ S1 ]\nK=1\n[S2] junk\nK=2\n[S3]x]y\nK=3\n[S4\nK=4\n"
        "[\x83\x5D]\nK=zo\n[ab\x83\x5D\nK=5\n[S6]]\nK=6\n"s);
    EXPECT_EQ("1", readText(ini, "S1", "K"));
    EXPECT_EQ("2", readText(ini, "S2", "K"));
    EXPECT_EQ(-1, ini.findSection("S3"));
    EXPECT_EQ("3", readText(ini, "S3]x", "K"));
    // "[S4" has no ']': neither a header nor a key; K=4 stays in "S3]x",
    // after its first K.
    EXPECT_EQ(-1, ini.findSection("S4"));
    EXPECT_EQ("", readText(ini, "S3]x", "[S4"));
    // ゾ is 0x83 0x5D: its trail byte closes nothing.
    EXPECT_EQ("zo", readText(ini, "\x83\x5D", "K"));
    EXPECT_EQ(-1, ini.findSection("ab\x83"));
    EXPECT_EQ("6", readText(ini, "S6]", "K"));
    // Keys before the first header belong to a section without a name.
    EXPECT_EQ("top", readText(ini, "", "K0"));
    const char* names[] = {"", "S1", "S2", "S3]x", "\x83\x5D", "S6]"};
    ASSERT_EQ(6, ini.sectionCount());
    for (int i = 0; i < 6; ++i) EXPECT_EQ(names[i], ini.sectionName(i));
    // A header without a name is found by no name, not even the empty one.
    EXPECT_EQ(-1, ProfileText("[]\nK=x\n[S]\n"s).findSection(""));
    EXPECT_EQ(-1, ProfileText("[ \0a]\nK=x\n"s).findSection(""));
    EXPECT_EQ(0, ProfileText("K=top\n[]\nK=x\n"s).findSection(""));
}

TEST(ProfileRead, FirstSectionAndFirstKeyOfANameWinWithoutRegardToCase) {
    const ProfileText ini(
        "[list]\nver=1\nVER=2\n[LIST]\nTrack=9\n[Tr]\nFile\nFile=x\nTitle=\nTitle=y\n"
        "Ar=\nAr =z\n"s);
    EXPECT_EQ(0, ini.findSection("List"));
    EXPECT_EQ(1u, readInt(ini, "LIST", "Ver", 0));
    EXPECT_EQ(7u, readInt(ini, "list", "Track", 7));  // only in the second "list"
    // A key without '=' reads as the default and hides the later one.
    ProfileValue file = ini.lookup(ini.findSection("tr"), "file");
    EXPECT_FALSE(file.present);
    EXPECT_EQ("", readText(ini, "Tr", "Title"));
    EXPECT_EQ("", readText(ini, "Tr", "Ar"));
    EXPECT_EQ(-1, ini.findSection("Missing"));
    EXPECT_FALSE(ini.lookup(-1, "Ver").present);
}

TEST(ProfileRead, OneEnclosingPairOfMatchingQuotesIsRemoved) {
    const std::string bytes =
        "[S]\nB=\nC = \nD=\"\"\nE=\"\nF='q'\nG=\"q'\nH= \" q \" \nI=\"a\"b\"\nJ=''\n"
        "M=\"\"\"\nN=\"x\n"
        // The closing byte is the second byte of a character: no pair.
        "P=\"\x83\x5C\"\nQ=\"ab\x81\"\n";
    const ProfileText ini(bytes);
    const std::pair<const char*, std::string> cases[] = {
        {"B", ""},     {"C", ""},         {"D", ""},          {"E", "\""}, {"F", "q"},
        {"G", "\"q'"}, {"H", " q "},      {"I", "a\"b"},      {"J", ""},   {"M", "\""},
        {"N", "\"x"},  {"P", "\x83\x5C"}, {"Q", "\"ab\x81\""}};
    for (const auto& [key, want] : cases) EXPECT_EQ(want, readText(ini, "S", key)) << key;
    EXPECT_TRUE(ini.lookup(0, "B").present);
}

TEST(ProfileRead, NulEndsKeysNamesAndValues) {
    const ProfileText ini("[S\0x]\nT=ab\0cd\nA\0b=1\nU=after\nV=ab \0 \n"s);
    EXPECT_EQ("S", ini.sectionName(0));
    EXPECT_EQ("ab", readText(ini, "S", "T"));
    EXPECT_EQ("1", readText(ini, "S", "A"));
    EXPECT_EQ("after", readText(ini, "S", "U"));
    EXPECT_EQ("ab ", readText(ini, "S", "V"));
}

TEST(ProfileRead, TextsAreCutTo259BytesOnACharacterBoundary) {
    const std::string a258(258, 'a'), a257(257, 'a');
    std::string dbcs;
    for (int i = 0; i < 200; ++i) dbcs += "\x82\xa0";
    const ProfileText ini("[S]\nT1=" + std::string(300, 'a') + "\nT2=" + a258 +
                          "\x82\xa0z\nT3=" + a257 + "\x82\xa0z\nT4=" + dbcs + "\nT5=\"" +
                          std::string(259, 'q') + "\"\nT6=\"" + std::string(261, 'q') + "\"\n");
    EXPECT_EQ(std::string(259, 'a'), readText(ini, "S", "T1"));
    EXPECT_EQ(a258, readText(ini, "S", "T2"));
    EXPECT_EQ(a257 + "\x82\xa0", readText(ini, "S", "T3"));
    EXPECT_EQ(dbcs.substr(0, 258), readText(ini, "S", "T4"));
    EXPECT_EQ(std::string(259, 'q'), readText(ini, "S", "T5"));
    EXPECT_EQ(std::string(259, 'q'), readText(ini, "S", "T6"));
    char small[4];
    EXPECT_EQ(2u, profileText(ini.lookup(0, "T4"), small, sizeof small));
    EXPECT_EQ(0u, profileText(ini.lookup(0, "T4"), small, 0));
}

TEST(ProfileRead, IntegersAsThePlatformReadsThem) {
    const std::pair<std::string, uint32_t> cases[] = {
        {"42", 42},
        {"+42", 42},
        {"-42", 0xFFFFFFD6u},
        {"4294967295", 4294967295u},
        {"4294967296", 0},
        {"4294967297", 1},
        {"-4294967295", 1},
        {"99999999999", 1215752191u},
        {"18446744073709551617", 1},
        {"-2147483649", 2147483647u},
        {"0x10", 16},
        {"0X10", 0},
        {"0x", 0},
        {"0xfg", 15},
        {"0xFF", 255},
        {"0o17", 15},
        {"0O17", 0},
        {"0o8", 0},
        {"0b101", 5},
        {"0B101", 0},
        {"0b2", 0},
        {"-0x10", 0xFFFFFFF0u},
        {"+0b11", 3},
        {"- 5", 0},
        {"12abc", 12},
        {"abc", 0},
        {"\"7\"", 7},
        {"'8'", 8},
        {"3.9", 3},
        {"\x82\x4f", 0},  // a full-width digit
        {"0\x82\x4f", 0},
        {"+", 0},
        {"-", 0},
        {"--5", 0},
        {"0x-5", 0},
        {"010", 10},
        {"0a", 0},
        {"0b", 0},
        {"\x1a"
         "9",
         9},
        {"\x1c"
         "5",
         5},  // not trimmed, but skipped by the number reader
        {"\x01"
         "5",
         5},
        {"\x7f"
         "5",
         0},
        {"\x81\x40"
         "5",
         0},
        {std::string(29, '0') + "42", 42},
        {"1" + std::string(28, '0'), 268435456u},
    };
    std::string bytes = "[S]\nE=\nQ=\"\"\nW=  \nN\n";
    for (size_t i = 0; i < std::size(cases); ++i)
        bytes += "K" + std::to_string(i) + "=" + cases[i].first + "\n";
    const ProfileText ini(bytes);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string key = "K" + std::to_string(i);
        EXPECT_EQ(cases[i].second, readInt(ini, "S", key.c_str(), 77)) << cases[i].first;
    }
    for (const char* key : {"E", "Q", "W", "N", "Missing"})
        EXPECT_EQ(0xFFFFFFF9u, readInt(ini, "S", key, 0xFFFFFFF9u)) << key;
    EXPECT_EQ(77u, readInt(ini, "Nowhere", "K0", 77));
}

TEST(ProfileRead, ByteOrderMarksAreReadAsTheirEncodingInTheAnsiCodePage) {
    // [S] K=あいう漢字 L= "ｶﾅ"  M=é丂x  [s2] k=😀y, in three encodings.
    const std::u16string text =
        u"[S]\r\nK=\u3042\u3044\u3046\u6f22\u5b57\r\nL= \"\uff76\uff85\" \r\nM=\u00e9\u4e02x\r\n"
        u"[s2]\nk=\U0001F600y\n[T]\nX=\xd800z\n";
    std::string le = "\xFF\xFE", be = "\xFE\xFF";
    for (char16_t c : text) {
        le += static_cast<char>(c & 0xFF);
        le += static_cast<char>(c >> 8);
        be += static_cast<char>(c >> 8);
        be += static_cast<char>(c & 0xFF);
    }
    const std::string utf8 =
        "\xEF\xBB\xBF[S]\r\nK=\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86\xE6\xBC\xA2\xE5\xAD\x97\r\n"
        "L= \"\xEF\xBD\xB6\xEF\xBE\x85\" "
        "\r\nM=\xC3\xA9\xE4\xB8\x82x\r\n[s2]\nk=\xF0\x9F\x98\x80y\n";
    const std::string* const encodings[] = {&le, &be, &utf8};
    for (const std::string* bytes : encodings) {
        const ProfileText ini(*bytes);
        EXPECT_EQ("\x82\xA0\x82\xA2\x82\xA4\x8A\xBF\x8E\x9A", readText(ini, "S", "K"));
        EXPECT_EQ("\xB6\xC5", readText(ini, "S", "L"));
        // Characters outside the code page become '?', one per UTF-16 unit.
        EXPECT_EQ("??x", readText(ini, "S", "M"));
        EXPECT_EQ("??y", readText(ini, "S2", "K"));
    }
    EXPECT_EQ("?z", readText(ProfileText(le), "T", "X"));
    // Without a mark, UTF-16 is bytes with NULs and holds no key.
    const ProfileText bare(le.substr(2));
    EXPECT_EQ("", readText(bare, "S", "K"));
}

TEST(ProfileRead, ManyKeysInOnePassMatchSingleLookups) {
    std::string bytes = "[S]\n";
    std::vector<std::string> names;
    for (int i = 0; i < 70; ++i) {
        names.push_back("Key" + std::to_string(i));
        bytes += names.back() + "=v" + std::to_string(i) + "\n";
    }
    bytes += "Key3=late\n";
    const ProfileText ini(bytes);
    std::vector<const char*> keys;
    for (auto& n : names) keys.push_back(n.c_str());
    keys.push_back("Key3");
    keys.push_back("Absent");
    std::vector<ProfileValue> values(keys.size());
    ini.lookup(0, keys.data(), keys.size(), values.data());
    for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ("v" + std::to_string(i), values[i].raw);
    EXPECT_EQ("v3", values[70].raw);
    EXPECT_FALSE(values[71].present);
}

TEST(ProfileWrite, SectionsAndKeysAsCrLfLinesWithoutSpaces) {
    ProfileWriter w;
    w.section("Head");
    w.number("Ver", 1);
    w.text("Album", ansi(u8"アルバム").c_str());
    w.text("Empty", "");
    w.signedNumber("Neg", -5);
    w.number("Max", 4294967295u);
    w.section("Track00");
    w.text("File", "C:\\a.ogg");
    EXPECT_EQ(
        "[Head]\r\nVer=1\r\nAlbum=\x83\x41\x83\x8b\x83\x6f\x83\x80\r\nEmpty=\r\nNeg=-5\r\n"
        "Max=4294967295\r\n[Track00]\r\nFile=C:\\a.ogg\r\n",
        w.bytes());
}

TEST(ProfileWrite, ValuesThatWouldChangeOnReadingAreQuotedOrCleaned) {
    const std::pair<std::string, std::string> cases[] = {
        {" lead", "\" lead\""},
        {"trail ", "\"trail \""},
        {"\"both\"", "\"\"both\"\""},
        {"'both'", "\"'both'\""},
        {"\"\"", "\"\"\"\""},
        {"\"", "\""},
        {"'x\"", "'x\""},
        {"a\r\n[Track00]\r\nFile=b", "a  [Track00]  File=b"},
        {"\ttab", "\" tab\""},
        {"x\x1a", "\"x \""},
        {"\x83\x5C", "\x83\x5C"},
        {"ab\x83", "ab"},              // a lead byte without its second byte
        {"\"ab\x81\"", "\"ab\x81\""},  // ends in a character, not in a quote
        {"\x81 ", "\x81 "},            // the space is the second byte
        {"mid  dle", "mid  dle"},
    };
    for (const auto& [value, written] : cases) {
        ProfileWriter w;
        w.text("K", value.c_str());
        EXPECT_EQ("K=" + written + "\r\n", w.bytes()) << value;
    }
}

TEST(ProfileWrite, EveryWrittenTextReadsBackUnchanged) {
    const std::string pieces[] = {" ",    "\"",  "'",        "=",        "[",
                                  "]",    "a",   "\x83\x5C", "\x83\x7C", "\x82\xA0",
                                  "\xB6", "0x1", "\x81\x40", ";",        "\\"};
    ProfileWriter w;
    w.section("S");
    std::vector<std::string> values;
    uint32_t seed = 12345;
    for (int i = 0; i < 3000; ++i) {
        std::string v;
        const int parts = static_cast<int>(seed % 9);
        for (int p = 0; p < parts; ++p) {
            seed = seed * 1103515245u + 12345u;
            v += pieces[(seed >> 16) % std::size(pieces)];
        }
        seed = seed * 1103515245u + 12345u;
        values.push_back(v);
        w.text(("K" + std::to_string(i)).c_str(), v.c_str());
    }
    const ProfileText ini(w.bytes());
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(values[i], readText(ini, "S", ("K" + std::to_string(i)).c_str()))
            << "[" << values[i] << "]";
}
