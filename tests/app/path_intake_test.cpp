// The paths that the add dialog's result and dropped files hand in: one path
// or a folder with names, drive roots, double-byte characters whose second
// byte is "\" or "|", paths too long for a path buffer, and lost characters.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/path_intake.h"

namespace tarnuvo {
namespace {

using namespace std::string_literals;
using Paths = std::vector<std::string>;

// ソ (its second byte is "\"), ポ (its second byte is "|") and 表 in code page 932.
const std::string kSo = "\x83\x5C";
const std::string kPo = "\x83\x7C";
const std::string kTable = "\x95\x5C";

// Through a buffer of exactly the given bytes, so that a read past its end
// shows under the address sanitizer.
PathIntake split(const std::string& bytes, size_t fileOffset) {
    std::unique_ptr<char[]> buffer(new char[bytes.size()]);
    std::memcpy(buffer.get(), bytes.data(), bytes.size());
    return splitSelection(buffer.get(), bytes.size(), fileOffset);
}

TEST(SplitSelection, OneFileIsOneFullPath) {
    EXPECT_EQ(split("C:\\music\\a.wav\0\0"s, 9).paths, (Paths{"C:\\music\\a.wav"}));
    EXPECT_EQ(split("C:\\a.wav\0\0"s, 3).paths, (Paths{"C:\\a.wav"}));
    // One file in a folder ending in ソ: the byte before the name is the separator.
    const std::string one = "C:\\" + kSo + "\\b.ogg";
    EXPECT_EQ(split(one + "\0\0"s, one.size() - 5).paths, (Paths{one}));
}

TEST(SplitSelection, NamesAreJoinedToTheFolderWithOneSeparator) {
    EXPECT_EQ(split("C:\\music\0a.wav\0b.ogg\0c.pll\0\0"s, 9).paths,
              (Paths{"C:\\music\\a.wav", "C:\\music\\b.ogg", "C:\\music\\c.pll"}));
    // A drive root already ends in one.
    EXPECT_EQ(split("C:\\\0a.wav\0b.wav\0c.wav\0\0"s, 4).paths,
              (Paths{"C:\\a.wav", "C:\\b.wav", "C:\\c.wav"}));
    // A folder ending in ソ does not: its last byte is the character's second half.
    const std::string so = "C:\\" + kSo;
    EXPECT_EQ(split(so + "\0a.wav\0b.wav\0\0"s, so.size() + 1).paths,
              (Paths{so + "\\a.wav", so + "\\b.wav"}));
    // A real separator after a double-byte character is not doubled.
    const std::string table = "\\\\server\\" + kTable + "\\";
    EXPECT_EQ(split(table + "\0x.wav\0y.wav\0\0"s, table.size() + 1).paths,
              (Paths{table + "x.wav", table + "y.wav"}));
}

TEST(SplitSelection, ABarInsideACharacterStaysInTheName) {
    const std::string folder = "D:\\" + kPo;
    PathIntake got = split(folder + "\0"s + kPo + ".wav\0a|b.wav\0\0"s, folder.size() + 1);
    EXPECT_EQ(got.paths, (Paths{folder + "\\" + kPo + ".wav", folder + "\\a|b.wav"}));
}

TEST(SplitSelection, PathsTooLongAreLeftOutNeverCut) {
    const std::string folder = "C:\\" + std::string(250, 'f');  // 253 bytes
    const std::string fits = std::string(5, 'n');               // 253 + 1 + 5 = 259
    const std::string over = std::string(6, 'o');               // 260
    PathIntake got = split(folder + "\0"s + fits + "\0"s + over + "\0a\0\0"s, folder.size() + 1);
    EXPECT_EQ(got.paths, (Paths{folder + "\\" + fits, folder + "\\a"}));
    EXPECT_EQ(got.tooLong, 1);
    EXPECT_EQ(got.unnamed, 0);

    const std::string whole = "C:\\" + std::string(257, 'w');  // 260 bytes
    got = split(whole + "\0\0"s, 3);
    EXPECT_TRUE(got.paths.empty());
    EXPECT_EQ(got.tooLong, 1);
}

TEST(SplitSelection, NamesWithLostCharactersAreCounted) {
    PathIntake got = split("C:\\m\0caf?.wav\0ok.wav\0??.ogg\0"s + kSo + "?\0\0"s, 5);
    EXPECT_EQ(got.paths, (Paths{"C:\\m\\ok.wav"}));
    EXPECT_EQ(got.unnamed, 3);
    EXPECT_EQ(got.tooLong, 0);
}

TEST(SplitSelection, NothingIsReadPastTheBuffer) {
    // No final empty name: the last name has no terminator inside the buffer.
    EXPECT_EQ(split("C:\\d\0a\0b"s, 5).paths, (Paths{"C:\\d\\a"}));
    // No terminator at all.
    EXPECT_TRUE(split("C:\\abc"s, 3).paths.empty());
    EXPECT_TRUE(split(""s, 0).paths.empty());
    // An offset past the buffer or at 0 leaves one path.
    EXPECT_EQ(split("C:\\x.wav\0"s, 40).paths, (Paths{"C:\\x.wav"}));
    EXPECT_EQ(split("C:\\x.wav\0"s, 0).paths, (Paths{"C:\\x.wav"}));
    // The folder ends exactly at the buffer's end.
    EXPECT_TRUE(split("C:\\d\0"s, 5).paths.empty());
    EXPECT_TRUE(split("\0\0"s, 1).paths.empty());
}

TEST(TakePath, DroppedPathsAreTakenWhole) {
    PathIntake intake;
    takePath(intake, "C:\\music");
    takePath(intake, "");
    takePath(intake, ("C:\\" + kSo + "\\" + kPo + ".wav").c_str());
    takePath(intake, ("C:\\" + std::string(256, 'x')).c_str());  // 259 bytes
    takePath(intake, ("C:\\" + std::string(257, 'x')).c_str());
    takePath(intake, "C:\\?.wav");
    ASSERT_EQ(intake.paths.size(), 3u);
    EXPECT_EQ(intake.paths[1], "C:\\" + kSo + "\\" + kPo + ".wav");
    EXPECT_EQ(intake.paths[2].size(), kMaxPathBytes);
    EXPECT_EQ(intake.tooLong, 1);
    EXPECT_EQ(intake.unnamed, 1);
}

TEST(TakePath, LostCharactersAreSingleByteQuestionMarks) {
    EXPECT_TRUE(hasLostCharacters("?"));
    EXPECT_TRUE(hasLostCharacters(("C:\\" + kSo + "?").c_str()));
    EXPECT_FALSE(hasLostCharacters(("C:\\" + kTable + kPo).c_str()));
    EXPECT_FALSE(hasLostCharacters("C:\\music\\a.wav"));
}

}  // namespace
}  // namespace tarnuvo
