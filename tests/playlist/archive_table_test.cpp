// The archiver table, the choice of rows by extension, command lines and the
// checks on untrusted member names. Runs in code page 932.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "playlist/archive_table.h"
#include "playlist/archiver_api.h"
#include "playlist/trusted_library.h"

using namespace tarnuvo;

namespace {

std::string command(int row, const char* files, int32_t flags) {
    char out[kCommandLineSize];
    EXPECT_TRUE(buildExtractCommand(kArchiverTable[row], "C:\\music\\a.zip", "C:\\tmp\\~TV$TMP\\",
                                    files, flags, out, sizeof out));
    return out;
}

}  // namespace

TEST(CodePage, TestsRunInCodePage932) {
    EXPECT_EQ(932u, GetACP());
}

TEST(ArchiverTable, RowsInOrderOfTrial) {
    EXPECT_STREQ("7-zip32.dll", kArchiverTable[0].dllName);
    EXPECT_STREQ("SevenZip", kArchiverTable[0].prefix);
    EXPECT_STREQ("Unrar32.dll", kArchiverTable[1].dllName);
    EXPECT_STREQ("Unrar", kArchiverTable[1].prefix);
    EXPECT_STREQ("Unlha32.dll", kArchiverTable[2].dllName);
    EXPECT_STREQ("Unlha", kArchiverTable[2].prefix);
    EXPECT_STREQ("Unzip32.dll", kArchiverTable[3].dllName);
    EXPECT_STREQ("UnZip", kArchiverTable[3].prefix);
    for (const ArchiverEntry& e : kArchiverTable) EXPECT_TRUE(e.flags & kAcceptsSelfExtracting);
}

TEST(ArchiverTable, ExtensionIsTheTextAfterTheLastDot) {
    EXPECT_STREQ("zip", archiveExtension("C:\\a.b\\song.zip"));
    EXPECT_STREQ("gz", archiveExtension("x.tar.gz"));
    EXPECT_EQ(nullptr, archiveExtension("C:\\music\\music"));
    EXPECT_EQ(nullptr, archiveExtension("C:\\music\\song."));
    EXPECT_STREQ("x\\music", archiveExtension("C:\\dir.x\\music"));
}

TEST(ArchiverTable, RowsAreOfferedByExtensionWithoutRegardToCase) {
    const ArchiverEntry& sevenZip = kArchiverTable[0];
    for (const char* e : {"7z", "zip", "jar", "ZIP", "Jar", "exe", "EXE"})
        EXPECT_TRUE(offersTo(sevenZip, e)) << e;
    for (const char* e : {"rar", "lzh", "zi", "7", "", "zip;", "z"})
        EXPECT_FALSE(offersTo(sevenZip, e)) << e;
    EXPECT_TRUE(offersTo(kArchiverTable[1], "RAR"));
    EXPECT_FALSE(offersTo(kArchiverTable[1], "zip"));
    EXPECT_TRUE(offersTo(kArchiverTable[2], "lzh"));
    EXPECT_TRUE(offersTo(kArchiverTable[3], "zip"));
    EXPECT_FALSE(offersTo(kArchiverTable[3], "7z"));
    EXPECT_FALSE(offersTo(kArchiverTable[3], nullptr));
}

TEST(ArchiverTable, SelfExtractingArchivesGoToEveryRowWithTheFlag) {
    ArchiverEntry noSfx = kArchiverTable[3];
    noSfx.flags = 0;
    EXPECT_TRUE(offersTo(kArchiverTable[3], "exe"));
    EXPECT_FALSE(offersTo(noSfx, "exe"));
    EXPECT_TRUE(isSelfExtractingExtension("eXe"));
    EXPECT_FALSE(isSelfExtractingExtension("exe2"));
}

TEST(ExtractCommand, FlatAndOverwritingWithAMember) {
    EXPECT_EQ("e -hide -aoa -y \"C:\\music\\a.zip\" \"C:\\tmp\\~TV$TMP\\\" \"sub/deep.mp3\"",
              command(0, "sub/deep.mp3", 3));
    EXPECT_EQ("-e -q -y -o \"C:\\music\\a.zip\" \"C:\\tmp\\~TV$TMP\\\" \"a.mp3\"",
              command(1, "a.mp3", 3));
    EXPECT_EQ("e -a1 -p -n -gm -y \"C:\\music\\a.zip\" \"C:\\tmp\\~TV$TMP\\\" \"a.mp3\"",
              command(2, "a.mp3", 3));
    EXPECT_EQ("-x -j --i -qq -o \"C:\\music\\a.zip\" \"C:\\tmp\\~TV$TMP\\\" \"a.mp3\"",
              command(3, "a.mp3", 3));
}

TEST(ExtractCommand, WithoutFilesTheLineEndsInTheSpaceAfterTheDestination) {
    EXPECT_EQ("e -hide -aoa -y \"C:\\music\\a.zip\" \"C:\\tmp\\~TV$TMP\\\" ",
              command(0, nullptr, 3));
    EXPECT_EQ("e -hide -aoa -y \"C:\\music\\a.zip\" \"C:\\tmp\\~TV$TMP\\\" ", command(0, "", 3));
}

TEST(ExtractCommand, FlagsZeroUseThePathCommandWithoutOverwriting) {
    EXPECT_EQ("x \"C:\\music\\a.zip\" \"C:\\tmp\\~TV$TMP\\\" \"a.mp3\"", command(0, "a.mp3", 0));
    EXPECT_EQ("x \"C:\\music\\a.zip\" \"C:\\tmp\\~TV$TMP\\\" ", command(0, nullptr, 0));
    EXPECT_EQ("-x \"C:\\music\\a.zip\" \"C:\\tmp\\~TV$TMP\\\" ", command(1, nullptr, 0));
    EXPECT_EQ("e -x1 -a1 \"C:\\music\\a.zip\" \"C:\\tmp\\~TV$TMP\\\" ", command(2, nullptr, 0));
    EXPECT_EQ("-x \"C:\\music\\a.zip\" \"C:\\tmp\\~TV$TMP\\\" ", command(3, nullptr, 0));
}

TEST(ExtractCommand, EachFlagBitOnItsOwn) {
    EXPECT_EQ("e -hide \"C:\\music\\a.zip\" \"C:\\tmp\\~TV$TMP\\\" ", command(0, nullptr, 1));
    EXPECT_EQ("x -aoa -y \"C:\\music\\a.zip\" \"C:\\tmp\\~TV$TMP\\\" ", command(0, nullptr, 2));
}

TEST(ExtractCommand, QuotedFileListsPassUnchanged) {
    EXPECT_EQ("x \"C:\\music\\a.zip\" \"C:\\tmp\\~TV$TMP\\\" \"a b.mp3\" \"c.mp3\"",
              command(0, "\"a b.mp3\" \"c.mp3\"", 0));
}

TEST(ExtractCommand, TextsThatWouldLeaveTheirQuotesAreRefused) {
    char out[kCommandLineSize];
    const ArchiverEntry& e = kArchiverTable[0];
    EXPECT_FALSE(buildExtractCommand(e, "a.zip", "C:\\t\\", "x\".mp3", 3, out, sizeof out));
    EXPECT_STREQ("", out);
    EXPECT_FALSE(
        buildExtractCommand(e, "a.zip", "C:\\t\\", "x.mp3\" -o\"C:\\", 3, out, sizeof out));
    EXPECT_FALSE(buildExtractCommand(e, "a\" -y \".zip", "C:\\t\\", "x.mp3", 3, out, sizeof out));
    EXPECT_FALSE(buildExtractCommand(e, "a.zip", "C:\\t\\\" \"C:\\", "x.mp3", 3, out, sizeof out));
    // A pre-quoted list may hold nothing outside its quotes.
    EXPECT_FALSE(buildExtractCommand(e, "a.zip", "C:\\t\\", "\"a.mp3\" -r", 3, out, sizeof out));
    EXPECT_FALSE(buildExtractCommand(e, "a.zip", "C:\\t\\", "\"a.mp3\"x", 3, out, sizeof out));
    EXPECT_FALSE(buildExtractCommand(e, "a.zip", "C:\\t\\", "\"a.mp3", 3, out, sizeof out));
}

TEST(ExtractCommand, ALineThatDoesNotFitIsRefusedNotCut) {
    char small[40];
    EXPECT_FALSE(buildExtractCommand(kArchiverTable[0], "C:\\music\\a.zip", "C:\\tmp\\", "a.mp3", 3,
                                     small, sizeof small));
    EXPECT_STREQ("", small);
    const std::string longName(2000, 'a');
    char out[kCommandLineSize];
    EXPECT_FALSE(buildExtractCommand(kArchiverTable[0], "a.zip", "C:\\t\\", longName.c_str(), 3,
                                     out, sizeof out));
    // Exactly full still fits: the line and its terminator.
    const std::string expected = "x \"a.zip\" \"d\\\" ";
    std::string exact(expected.size() + 1, '#');
    EXPECT_TRUE(buildExtractCommand(kArchiverTable[0], "a.zip", "d\\", nullptr, 0, &exact[0],
                                    exact.size()));
    EXPECT_EQ(expected, exact.c_str());
    EXPECT_FALSE(buildExtractCommand(kArchiverTable[0], "a.zip", "d\\", nullptr, 0, &exact[0],
                                     exact.size() - 1));
}

TEST(MemberNames, OrdinaryNamesAreAccepted) {
    for (const char* name : {"song.mp3", "sub/deep.mp3", "sub\\deep.mp3", "a..b.mp3", "./x.mp3",
                             "..mp3", "COM10.mp3", "CONSOLE.mp3", "x-y.mp3", "sub/-x.mp3",
                             "\x8b\xc8.mp3",     // a two-byte character
                             "\x95\x5c.mp3"}) {  // whose trail byte is a backslash
        EXPECT_TRUE(isSafeMemberName(name)) << name;
    }
}

TEST(MemberNames, NamesThatReachOutsideOrInjectAreRefused) {
    const std::string veryLong = std::string(600, 'x') + "\".mp3";
    for (const char* name : {"",
                             "../../x.mp3",
                             "..\\..\\x.mp3",
                             "sub/../../x.mp3",
                             "..",
                             "C:\\x.mp3",
                             "C:x.mp3",
                             "/x.mp3",
                             "\\x.mp3",
                             "\\\\server\\s\\x.mp3",
                             "x\".mp3",
                             "\" -o\"C:\\",
                             "-aoa.mp3",
                             "-y",
                             "@list.txt",
                             "*.mp3",
                             "a?.mp3",
                             "a<b.mp3",
                             "a>b.mp3",
                             "a|b.mp3",
                             "sub/",
                             "sub\\",
                             "sub/.",
                             "CON.mp3",
                             "con",
                             "nul.txt",
                             "AUX .mp3",
                             "com1.mp3",
                             "LPT9.x",
                             "sub/prn.mp3",
                             "a\tb.mp3",
                             "a\nb.mp3",
                             "x.mp3:stream",
                             "\x95",  // a lead byte without its trail
                             veryLong.c_str()}) {
        EXPECT_FALSE(isSafeMemberName(name)) << name;
    }
    EXPECT_FALSE(isSafeMemberName(nullptr));
}

TEST(MemberNames, BaseNameIsAfterTheLastBackslashThenTheLastSlash) {
    EXPECT_STREQ("deep.mp3", memberBaseName("sub/deep.mp3"));
    EXPECT_STREQ("deep.mp3", memberBaseName("sub\\deep.mp3"));
    EXPECT_STREQ("c.mp3", memberBaseName("a\\b/c.mp3"));
    EXPECT_STREQ("c.mp3", memberBaseName("a/b\\c.mp3"));
    EXPECT_STREQ("\x95\x5c.mp3", memberBaseName("\x95\x5c.mp3"));
    EXPECT_STREQ("\x95\x5c.mp3", memberBaseName("dir\\\x95\x5c.mp3"));
}

TEST(MemberNames, OnlyTheFilterMusicExtensionsAreListedInAnyCase) {
    for (const char* name :
         {"a.wav", "a.OGG", "sub/c.MP3", "x\\y.flac", "z.Opus", "\x95\x5c.mp3"}) {
        EXPECT_TRUE(isMusicMemberName(name)) << name;
    }
    // Only the base name's extension counts.
    for (const char* name :
         {"a.mp3.txt", "a.m4a", "mp3", "a.", "a.mp3/", "dir.mp3/b", "a.flac2", ""}) {
        EXPECT_FALSE(isMusicMemberName(name)) << name;
    }
    EXPECT_FALSE(isMusicMemberName(nullptr));
}

TEST(ArchiverApi, MemberRecordLayout) {
    ArchiverMemberRecord record;
    EXPECT_EQ(558u, sizeof record);
    EXPECT_EQ(26, reinterpret_cast<char*>(record.name) - reinterpret_cast<char*>(&record));
    EXPECT_EQ(513u, sizeof record.name);
}

TEST(ArchiverApi, ExportNamesArePrefixAndFunction) {
    char name[kExportNameSize];
    ASSERT_TRUE(buildExportName("Unlha", "", name));
    EXPECT_STREQ("Unlha", name);
    ASSERT_TRUE(buildExportName("Unlha", "GetVersion", name));
    EXPECT_STREQ("UnlhaGetVersion", name);
    ASSERT_TRUE(buildExportName("SevenZip", "QueryFunctionList", name));
    EXPECT_STREQ("SevenZipQueryFunctionList", name);
    const std::string fifty(50, 'p');
    EXPECT_TRUE(buildExportName(fifty.c_str(), "x", name));
    EXPECT_FALSE(buildExportName(fifty.c_str(), "xy", name));
}

TEST(LibraryNames, OnlyBareFileNamesAreLoaded) {
    EXPECT_TRUE(isBareLibraryName("Unzip32.dll"));
    EXPECT_TRUE(isBareLibraryName("\x95\x5c.dll"));
    for (const char* name : {"", ".", "..", "a\\b.dll", "a/b.dll", "C:b.dll", "C:\\w\\b.dll",
                             "..\\b.dll", "\\\\server\\share\\b.dll"}) {
        EXPECT_FALSE(isBareLibraryName(name)) << name;
    }
    EXPECT_FALSE(isBareLibraryName(nullptr));
}

TEST(LibraryNames, JoiningAFolderAndAName) {
    char out[MAX_PATH];
    ASSERT_TRUE(joinLibraryPath("C:\\w", "a.dll", out, sizeof out));
    EXPECT_STREQ("C:\\w\\a.dll", out);
    ASSERT_TRUE(joinLibraryPath("C:\\w\\", "a.dll", out, sizeof out));
    EXPECT_STREQ("C:\\w\\a.dll", out);
    ASSERT_TRUE(joinLibraryPath("C:\\\x95\x5c", "a.dll", out, sizeof out));
    EXPECT_STREQ("C:\\\x95\x5c\\a.dll", out);
    char small[10];
    EXPECT_FALSE(joinLibraryPath("C:\\w", "abcd.dll", small, sizeof small));
    EXPECT_FALSE(joinLibraryPath("", "a.dll", out, sizeof out));
}
