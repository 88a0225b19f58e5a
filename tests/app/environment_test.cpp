// The process environment: version flags, font defaults, the private
// temporary directory, temporary file names and the clean-up at the end.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/app_environment.h"
#include "app/directory_path.h"
#include "app_test_support.h"
#include "engine/text.h"

namespace tarnuvo {
namespace {

using test::isDirectory;
using test::isFile;
using test::ScratchDir;
using test::sjis;

TEST(CodePage, TestsRunInCodePage932) {
    // Every double-byte test below means nothing in a single-byte code page.
    ASSERT_EQ(GetACP(), 932u);
    EXPECT_TRUE(systemCodec().isLeadByte(0x95));
    EXPECT_FALSE(systemCodec().isLeadByte('\\'));
}

TEST(OsFlags, EveryKnownVersionGivesItsFlags) {
    auto word = [](uint32_t major, uint32_t minor, bool family95) {
        return major | (minor << 8) | (family95 ? 0x80000000u : 0u);
    };
    EXPECT_EQ(osFlagsFromVersion(word(4, 0, true)), 0x01u);    // 95
    EXPECT_EQ(osFlagsFromVersion(word(4, 10, true)), 0x03u);   // 98
    EXPECT_EQ(osFlagsFromVersion(word(4, 90, true)), 0x07u);   // Me
    EXPECT_EQ(osFlagsFromVersion(word(3, 95, true)), 0x01u);   // below 4
    EXPECT_EQ(osFlagsFromVersion(word(4, 0, false)), 0x08u);   // NT 4
    EXPECT_EQ(osFlagsFromVersion(word(5, 0, false)), 0x18u);   // 2000
    EXPECT_EQ(osFlagsFromVersion(word(5, 1, false)), 0x38u);   // XP
    EXPECT_EQ(osFlagsFromVersion(word(5, 2, false)), 0x38u);   // Server 2003
    EXPECT_EQ(osFlagsFromVersion(word(6, 0, false)), 0x78u);   // Vista
    EXPECT_EQ(osFlagsFromVersion(word(6, 2, false)), 0x78u);   // 8 and what reports as it
    EXPECT_EQ(osFlagsFromVersion(word(10, 0, false)), 0x78u);  // 10 and 11
    // Build numbers in the high word do not matter.
    EXPECT_EQ(osFlagsFromVersion(word(5, 1, false) | (2600u << 16)), 0x38u);
}

TEST(OsFlags, RunningSystemIsAtLeastXp) {
    uint32_t flags = osVersionFlags();
    EXPECT_TRUE(flags & WinNT);
    EXPECT_TRUE(flags & Win2000);
    EXPECT_TRUE(flags & WinXP);
    EXPECT_FALSE(flags & Win9x);
}

class Environment : public ::testing::Test {
protected:
    EnvironmentPaths paths(const std::string& tempPath) {
        tempText = tempPath;
        return {moduleText.c_str(), tempText.c_str()};
    }
    ScratchDir scratch;
    std::string moduleText = scratch / "Tarnuvo.exe";
    std::string tempText;
};

TEST_F(Environment, FontDefaultsFollowTheSystemFamily) {
    AppEnvironment env(paths(scratch.path()));
    env.applyFontDefaults(Win9x | Win98);
    EXPECT_EQ(std::string(env.fontTitle), sjis("ＭＳ Ｐゴシック,16,1"));
    EXPECT_EQ(std::string(env.fontTime), sjis("ＭＳ ゴシック,16,1"));
    EXPECT_EQ(std::string(env.fontInfo), sjis("ＭＳ ゴシック,12,-1"));
    EXPECT_EQ(std::string(env.fontFile), sjis("ＭＳ Ｐゴシック,12,0"));
    EXPECT_STREQ(env.fontList, "MS UI Gothic,12,0");
    EXPECT_STREQ(env.fontSpecs[FontUnusedSlot], "");

    env.applyFontDefaults(WinNT | Win2000);
    EXPECT_STREQ(env.fontTitle, "Tahoma,18,1");
    EXPECT_STREQ(env.fontTime, "Tahoma,18,1");
    EXPECT_STREQ(env.fontInfo, "Tahoma,14,-1");
    EXPECT_STREQ(env.fontFile, "Tahoma,14,0");
    EXPECT_STREQ(env.fontList, "MS UI Gothic,12,0");

    // This system reports Windows 2000 or later.
    AppEnvironment current(paths(scratch.path()));
    EXPECT_STREQ(current.fontTitle, "Tahoma,18,1");
    EXPECT_EQ(current.osFlags, osVersionFlags());
}

TEST_F(Environment, TempDirIsCreatedUnderTheTemporaryPathAndRemovedAtTheEnd) {
    std::string expected = scratch / "~TV$TMP\\";
    {
        AppEnvironment env(paths(scratch.path() + "\\"));
        EXPECT_EQ(std::string(env.tempDir), expected);
        EXPECT_EQ(std::string(env.temporaryDirectory()), expected);
        EXPECT_TRUE(isDirectory(expected));
        EXPECT_STREQ(env.tempFile, "");
    }
    EXPECT_FALSE(isDirectory(expected));
}

TEST_F(Environment, SystemTemporaryPathIsUsedWithoutASeam) {
    char system[MAX_PATH];
    GetTempPathA(MAX_PATH, system);
    AppEnvironment env;
    EXPECT_EQ(std::string(env.tempDir), std::string(system) + "~TV$TMP\\");
    EXPECT_TRUE(isDirectory(env.tempDir));
}

TEST_F(Environment, TemporaryPathWithoutTrailingBackslashGetsOne) {
    AppEnvironment env(paths(scratch.path()));
    EXPECT_EQ(std::string(env.tempDir), scratch / "~TV$TMP\\");
}

TEST_F(Environment, JapaneseFolderWithBackslashByteIsCreatedLevelByLevel) {
    // "表" and "ソ" end in the byte 0x5C; the path ends inside a character.
    const std::string first = sjis("表");
    const std::string second = sjis("ソフト");
    const std::string third = sjis("データ表");
    ASSERT_EQ(first, "\x95\x5C");
    std::string base = scratch / (first + "\\" + second + "\\" + third);
    {
        AppEnvironment env(paths(base));
        EXPECT_EQ(std::string(env.tempDir), base + "\\~TV$TMP\\");
        EXPECT_TRUE(isDirectory(scratch / first));
        EXPECT_TRUE(isDirectory(scratch / (first + "\\" + second)));
        EXPECT_TRUE(isDirectory(base));
        EXPECT_TRUE(isDirectory(base + "\\~TV$TMP"));
        // Nothing was made of half characters.
        auto top = test::entriesOf(scratch.path());
        ASSERT_EQ(top.size(), 1u);
        EXPECT_EQ(top[0], first);
        auto middle = test::entriesOf(scratch / first);
        ASSERT_EQ(middle.size(), 1u);
        EXPECT_EQ(middle[0], second);
        auto inner = test::entriesOf(scratch / (first + "\\" + second));
        ASSERT_EQ(inner.size(), 1u);
        EXPECT_EQ(inner[0], third);
    }
    EXPECT_FALSE(isDirectory(base + "\\~TV$TMP"));
    EXPECT_TRUE(isDirectory(base));
}

TEST_F(Environment, TemporaryPathTooLongForTheFolderNameDisablesExtraction) {
    // 251 bytes and a backslash leave room for "~TV$TMP" but not for its backslash.
    std::string longPath =
        scratch.path() + "\\" + std::string(251 - scratch.path().size() - 1, 'x');
    ASSERT_EQ(longPath.size(), 251u);
    AppEnvironment env(paths(longPath));
    EXPECT_STREQ(env.tempDir, "");
    EXPECT_STREQ(env.temporaryDirectory(), "");
    char out[kTextSize] = "sentinel";
    EXPECT_FALSE(env.tempFileFor("music\\op.ogg", out));
    EXPECT_STREQ(out, "");
    // Nothing was created, neither the long folder nor anything else.
    EXPECT_TRUE(test::entriesOf(scratch.path()).empty());
}

TEST_F(Environment, TemporaryPathThatJustFitsKeepsExtraction) {
    // 250 bytes, a backslash and the 8 bytes of the folder name: 259 in all.
    std::string fitting = scratch.path() + "\\" + std::string(250 - scratch.path().size() - 1, 'y');
    ASSERT_EQ(fitting.size(), 250u);
    AppEnvironment env(paths(fitting));
    EXPECT_EQ(std::string(env.tempDir), fitting + "\\~TV$TMP\\");
    EXPECT_EQ(std::string(env.tempDir).size(), 259u);
}

TEST_F(Environment, TemporaryPathFullLengthDisablesExtraction) {
    std::string full =
        scratch.path() + "\\" + std::string(259 - scratch.path().size() - 2, 'z') + "\\";
    ASSERT_EQ(full.size(), 259u);
    AppEnvironment env(paths(full));
    EXPECT_STREQ(env.tempDir, "");
}

TEST_F(Environment, TempFileForTakesTheBaseNameAfterEitherSeparator) {
    AppEnvironment env(paths(scratch.path()));
    const std::string dir = env.tempDir;
    char out[kTextSize];
    ASSERT_TRUE(env.tempFileFor("music\\bgm\\op.ogg", out));
    EXPECT_EQ(std::string(out), dir + "op.ogg");
    ASSERT_TRUE(env.tempFileFor("music/bgm/op.ogg", out));
    EXPECT_EQ(std::string(out), dir + "op.ogg");
    ASSERT_TRUE(env.tempFileFor("a\\b/c.wav", out));
    EXPECT_EQ(std::string(out), dir + "c.wav");
    ASSERT_TRUE(env.tempFileFor("a/b\\c.wav", out));
    EXPECT_EQ(std::string(out), dir + "c.wav");
    ASSERT_TRUE(env.tempFileFor("plain.mp3", out));
    EXPECT_EQ(std::string(out), dir + "plain.mp3");
}

TEST_F(Environment, TempFileForKeepsDoubleByteNamesWhole) {
    AppEnvironment env(paths(scratch.path()));
    const std::string dir = env.tempDir;
    char out[kTextSize];
    // A name ending in 0x5C is not a folder.
    ASSERT_TRUE(env.tempFileFor(sjis("曲集/表").c_str(), out));
    EXPECT_EQ(std::string(out), dir + sjis("表"));
    ASSERT_TRUE(env.tempFileFor(sjis("ソフト\\表紙/ソ.ogg").c_str(), out));
    EXPECT_EQ(std::string(out), dir + sjis("ソ.ogg"));
    ASSERT_TRUE(env.tempFileFor(sjis("表\\ソ\\表示.wav").c_str(), out));
    EXPECT_EQ(std::string(out), dir + sjis("表示.wav"));
}

TEST_F(Environment, TempFileForCutsWithoutSplittingACharacter) {
    AppEnvironment env(paths(scratch.path()));
    const std::string dir = env.tempDir;
    // Room for the folder, one ASCII byte and one byte of the following character.
    std::vector<char> out(dir.size() + 3, 'x');
    EXPECT_EQ(env.tempFileFor(sjis("x/a表.ogg").c_str(), out.data(), out.size()), 1);
    EXPECT_EQ(std::string(out.data()), dir + "a");
    // The whole name when it fits.
    std::vector<char> room(dir.size() + 8, 'x');
    EXPECT_EQ(env.tempFileFor(sjis("x/a表.ogg").c_str(), room.data(), room.size()), 1);
    EXPECT_EQ(std::string(room.data()), dir + sjis("a表.ogg"));
    // A long member name ends at 259 bytes, also through the player interface.
    std::string longName = "dir\\" + std::string(300, 'n');
    char full[kTextSize];
    ASSERT_TRUE(env.tempFileFor(longName.c_str(), full));
    EXPECT_EQ(std::string(full).size(), 259u);
    PlayerEnvironment& asPlayers = env;
    ASSERT_TRUE(asPlayers.tempFileFor("x/op.ogg", full));
    EXPECT_EQ(std::string(full), dir + "op.ogg");
}

TEST_F(Environment, DestructorDeletesTheRememberedFileAndTheEmptyFolder) {
    std::string dir;
    {
        AppEnvironment env(paths(scratch.path()));
        dir = env.tempDir;
        char file[kTextSize];
        ASSERT_TRUE(env.tempFileFor("a/op.ogg", file));
        test::writeFile(file, "sound");
        env.rememberTempFile(file);
        EXPECT_EQ(std::string(env.tempFile), dir + "op.ogg");
    }
    EXPECT_FALSE(isFile(dir + "op.ogg"));
    EXPECT_FALSE(isDirectory(dir));
}

TEST_F(Environment, FolderWithOtherFilesStays) {
    std::string dir;
    {
        AppEnvironment env(paths(scratch.path()));
        dir = env.tempDir;
        test::writeFile(dir + "other-instance.ogg", "x");
    }
    EXPECT_TRUE(isFile(dir + "other-instance.ogg"));
    EXPECT_TRUE(isDirectory(dir));
}

TEST_F(Environment, RememberingANewFileDeletesTheOldOneButNotItself) {
    AppEnvironment env(paths(scratch.path()));
    const std::string dir = env.tempDir;
    test::writeFile(dir + "one.ogg", "1");
    test::writeFile(dir + "two.ogg", "2");
    env.rememberTempFile((dir + "one.ogg").c_str());
    env.rememberTempFile((dir + "two.ogg").c_str());
    EXPECT_FALSE(isFile(dir + "one.ogg"));
    EXPECT_TRUE(isFile(dir + "two.ogg"));
    // The same member played again was extracted over the remembered file.
    env.rememberTempFile((dir + "TWO.ogg").c_str());
    EXPECT_TRUE(isFile(dir + "two.ogg"));
    // A remembered file that is already gone is no error.
    DeleteFileA((dir + "two.ogg").c_str());
    env.rememberTempFile((dir + "three.ogg").c_str());
    EXPECT_EQ(std::string(env.tempFile), dir + "three.ogg");
}

TEST(DirectoryPath, BackslashAtTheEndIsAppendedOnlyWhenReal) {
    EXPECT_TRUE(endsWithBackslash("C:\\"));
    EXPECT_FALSE(endsWithBackslash("C:"));
    EXPECT_FALSE(endsWithBackslash(sjis("C:\\表").c_str()));
    EXPECT_TRUE(endsWithBackslash(sjis("C:\\表\\").c_str()));
    EXPECT_FALSE(endsWithBackslash(""));

    char text[8] = "C:\\a";
    EXPECT_TRUE(appendBackslash(text, sizeof text));
    EXPECT_STREQ(text, "C:\\a\\");
    EXPECT_TRUE(appendBackslash(text, sizeof text));
    EXPECT_STREQ(text, "C:\\a\\");
    char full[6] = "C:\\ab";
    EXPECT_FALSE(appendBackslash(full, sizeof full));
    EXPECT_STREQ(full, "C:\\ab");
}

TEST(DirectoryPath, CreatesEveryMissingLevel) {
    ScratchDir scratch;
    std::string path = scratch / "a\\b\\c";
    EXPECT_EQ(makeDirectoryPath(path.c_str()), 1);
    EXPECT_TRUE(isDirectory(scratch / "a\\b\\c"));
    // Existing levels are fine, and so is a trailing backslash or a '/'.
    EXPECT_EQ(makeDirectoryPath((path + "\\").c_str()), 1);
    EXPECT_EQ(makeDirectoryPath((scratch / "a/d\\e").c_str()), 1);
    EXPECT_TRUE(isDirectory(scratch / "a\\d\\e"));
}

TEST(DirectoryPath, FailsWhenALevelIsAFileOrThePathIsEmpty) {
    ScratchDir scratch;
    test::writeFile(scratch / "file", "x");
    EXPECT_EQ(makeDirectoryPath((scratch / "file\\sub").c_str()), 0);
    EXPECT_FALSE(isDirectory(scratch / "file\\sub"));
    EXPECT_EQ(makeDirectoryPath(""), 0);
    EXPECT_EQ(makeDirectoryPath(nullptr), 0);
}

TEST(DirectoryPath, DriveRootAloneNeedsNothing) {
    EXPECT_EQ(makeDirectoryPath("C:\\"), 1);
    EXPECT_EQ(makeDirectoryPath("C:"), 1);
}

TEST(DirectoryPath, DoubleByteNamesWithBackslashBytesStayWhole) {
    ScratchDir scratch;
    // Each level is made of characters whose second byte is 0x5C.
    std::string path = scratch / (sjis("表") + "\\" + sjis("ソ表") + "\\" + sjis("表"));
    EXPECT_EQ(makeDirectoryPath(path.c_str()), 1);
    EXPECT_TRUE(isDirectory(path));
    auto top = test::entriesOf(scratch.path());
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(top[0], sjis("表"));
    auto next = test::entriesOf(scratch / sjis("表"));
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0], sjis("ソ表"));
}

}  // namespace
}  // namespace tarnuvo
