// The one-pass INI reader and writer, in code page 932. Expected values are
// what the platform's profile functions returned for the same bytes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "list_file_support.h"

using namespace tarnuvo;
using namespace std::string_literals;
using list_test::readText;

namespace {

// Lookups as triples: section, key, the text the platform gives.
void expectTexts(const std::string& bytes, std::initializer_list<const char*> triples) {
    const ProfileText ini(bytes);
    for (auto l = triples.begin(); l + 2 < triples.end(); l += 3)
        EXPECT_EQ(l[2], readText(ini, l[0], l[1])) << "[" << l[0] << "] " << l[1];
}

}  // namespace

TEST(ProfileRead, LinesBlanksAndEnds) {
    // CR alone ends a line too; 0x1A is a blank, 0x1C and 0x81 0x40 are not.
    expectTexts(
        "\n  \t[S]\nA=a\r\nB=b\rC=c\n \t D = d  \n\x0b\x0c\032E=e\n\034F=f\n"
        "G=\x1cg\x1c\nH=\x81\x40h\x81\x40\n",
        {"S", "A",     "a", "S", "B", "b",         "S", "C", "c",
         "S", "D",     "d", "S", "E", "e",         "S", "F", "",
         "S", "\034F", "f", "S", "G", "\x1cg\x1c", "S", "H", "\x81\x40h\x81\x40"});
}

TEST(ProfileRead, HeadersRunToTheLastBracketAndFirstNamesWin) {
    // ゾ is 0x83 0x5D: its second byte closes nothing. "[S4" is no header and
    // no key. Keys before the first header are found under the empty name.
    expectTexts(
        "K=top\n[ S1 ]\nK=1\n[S2] junk\nK=2\n[S3]x]y\nK=3\n[S4\nK=4\n[\x83\x5D]\nK=zo\n"
        "[ab\x83\x5D\nK=5\n[s1]\nK=dup\nJ=dup\n[]\nK=none\n",
        {"",  "K",        "top",  "S1", "K",      "1",  "S2", "K",  "2",    "S3",
         "K", "",         "S3]x", "K",  "3",      "S4", "K",  "",   "S3]x", "[S4",
         "",  "\x83\x5D", "K",    "zo", "ab\x83", "K",  "",   "S1", "J",    ""});
    // First key of a name wins, even one without '=' (which reads as absent).
    expectTexts("[S]\nver=1\nVER=2\nFile\nFile=x\nT=\nT=y\n",
                {"s", "Ver", "1", "S", "FILE", "", "S", "T", ""});
    EXPECT_FALSE(ProfileText("[S]\nFile\nFile=x\n"s).lookup(0, "File").present);
    EXPECT_EQ(-1, ProfileText("[]\nK=x\n"s).findSection(""));
}

TEST(ProfileRead, OnePairOfMatchingQuotesGoesAndNulEndsTexts) {
    // The last quote must be a character: "ab\x81" ends in the pair 0x81 0x22.
    expectTexts(
        "[S]\nD=\"\"\nE=\"\nF='q'\nG=\"q'\nH= \" q \" \nI=\"a\"b\"\nM=\"\"\"\n"
        "P=\"\x83\x5C\"\nQ=\"ab\x81\"\n"s +
            "[N\0x]\nT=ab\0cd\nA\0b=1\nV=ab \0 \n"s,
        {"S", "D", "",           "S", "E", "\"",   "S", "F", "q",  "S", "G", "\"q'",
         "S", "H", " q ",        "S", "I", "a\"b", "S", "M", "\"", "S", "P", "\x83\x5C",
         "S", "Q", "\"ab\x81\"", "N", "T", "ab",   "N", "A", "1",  "N", "V", "ab "});
}

TEST(ProfileRead, TextsAreCutTo259BytesOnACharacterBoundaryAndIntegersRead) {
    const std::string a(258, 'a'), q(259, 'q'), kana = "\x82\xa0";
    const ProfileText ini("[S]\nA=" + a + "a" + kana + "\nB=" + a + kana + "\nC=\"" + q + "\"\n");
    EXPECT_EQ(a + "a|" + a + "|" + q, readText(ini, "S", "A") + "|" + readText(ini, "S", "B") +
                                          "|" + readText(ini, "S", "C"));
    char small[4];
    EXPECT_EQ(2u, profileText(ProfileText("[S]\nK=" + kana + kana).lookup(0, "K"), small, 4));

    // Value, then what GetPrivateProfileIntA gave for it.
    const char* cases[] = {
        "42",          "42",         "+42",         "42",         "-42",
        "4294967254",  "4294967295", "4294967295",  "4294967297", "1",
        "-4294967295", "1",          "99999999999", "1215752191", "0x10",
        "16",          "0X10",       "0",           "0x",         "0",
        "0xfg",        "15",         "0o17",        "15",         "0o8",
        "0",           "0b101",      "5",           "0B1",        "0",
        "-0x10",       "4294967280", "- 5",         "0",          "12abc",
        "12",          "\"7\"",      "7",           "'8'",        "8",
        "\x82\x4f",    "0",          "--5",         "0",          "010",
        "10",          "0a",         "0",           "\0345",      "5",
        "\0015",       "5",          "\1775",       "0",          "0000000000000000000000000000042",
        "42",          "",           "7",           "\"\"",       "7",
        "  ",          "7"};
    std::string bytes = "[S]\nN\n";
    for (size_t i = 0; i < std::size(cases); i += 2)
        bytes += "K" + std::to_string(i) + "=" + cases[i] + "\n";
    const ProfileText ints(bytes);
    for (size_t i = 0; i < std::size(cases); i += 2)
        EXPECT_EQ(std::strtoul(cases[i + 1], nullptr, 10),
                  profileInt(ints.lookup(0, ("K" + std::to_string(i)).c_str()), 7))
            << cases[i];
    EXPECT_EQ(7u, profileInt(ints.lookup(0, "N"), 7) + profileInt(ints.lookup(0, "X"), 0));
}

TEST(ProfileRead, ByteOrderMarksAreReadInTheAnsiCodePage) {
    // あい丂é😀 in UTF-16 LE, UTF-16 BE and UTF-8: missing characters give
    // one '?' per UTF-16 unit.
    const char16_t text[] = u"[S]\r\nK= \"\u3042\u3044\u4e02\u00e9\U0001F600\" \r\n";
    std::string le = "\xFF\xFE", be = "\xFE\xFF";
    for (char16_t c : std::u16string(text)) {
        le += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        be += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    }
    const std::string utf8 =
        "\xEF\xBB\xBF[S]\nK=\xE3\x81\x82\xE3\x81\x84\xE4\xB8\x82\xC3\xA9"
        "\xF0\x9F\x98\x80\n";
    for (const std::string& bytes : {le, be, utf8})
        expectTexts(bytes, {"S", "K", "\x82\xA0\x82\xA2????"});
    expectTexts(le.substr(2), {"S", "K", ""});  // no mark: bytes with NULs
}

TEST(ProfileWrite, LinesReadBackUnchangedOrCleaned) {
    ProfileWriter w;
    w.section("Head");
    w.number("Max", 4294967295u);
    w.signedNumber("Neg", -5);
    w.text("Empty", "");
    EXPECT_EQ("[Head]\r\nMax=4294967295\r\nNeg=-5\r\nEmpty=\r\n", w.bytes());
    // Value, then its line.
    const char* cases[] = {" lead",      "\" lead\"",  "trail ",   "\"trail \"", "\"q\"",
                           "\"\"q\"\"",  "'q'",        "\"'q'\"",  "\"",         "\"",
                           "'x\"",       "'x\"",       "\x83\x5C", "\x83\x5C",   "a\r\n[T]\tb",
                           "a  [T] b",   "x\x1a",      "\"x \"",   "ab\x83",     "ab",
                           "\"ab\x81\"", "\"ab\x81\"", "\x81 ",    "\x81 "};
    for (size_t i = 0; i < std::size(cases); i += 2) {
        ProfileWriter one;
        one.text("K", cases[i]);
        EXPECT_EQ("K="s + cases[i + 1] + "\r\n", one.bytes()) << cases[i];
    }
}
