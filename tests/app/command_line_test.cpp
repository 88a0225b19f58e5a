// Which file the command line names: quotes, options, runs of blanks, long
// arguments and double-byte paths.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"

namespace tarnuvo {
namespace {

using Arguments = std::vector<std::string>;

// 音楽 and 表 in code page 932; the second byte of 表 is a backslash.
const std::string kMusic = "\x89\xB9\x8A\x79";
const std::string kTable = "\x95\x5C";

TEST(CommandLineSplit, QuotedAndPlainArguments) {
    EXPECT_EQ(splitCommandLine(R"("C:\Program Files\Tarnuvo.exe" "C:\my music\a.ogg" b.ogg)"),
              (Arguments{R"(C:\Program Files\Tarnuvo.exe)", R"(C:\my music\a.ogg)", "b.ogg"}));
    EXPECT_EQ(splitCommandLine("Tarnuvo.exe a.wav"), (Arguments{"Tarnuvo.exe", "a.wav"}));
    // Any number of opening quotes; the argument ends at the next one.
    EXPECT_EQ(splitCommandLine(R"(p """a b" c)"), (Arguments{"p", "a b", "c"}));
    // A quote right after a closing quote opens the next argument.
    EXPECT_EQ(splitCommandLine(R"("p""a b.wav")"), (Arguments{"p", "a b.wav"}));
    // An unterminated quote runs to the end.
    EXPECT_EQ(splitCommandLine(R"(p "C:\a b.wav)"), (Arguments{"p", R"(C:\a b.wav)"}));
}

TEST(CommandLineSplit, RunsOfBlanksGiveNoEmptyArguments) {
    EXPECT_EQ(splitCommandLine("p  a.wav"), (Arguments{"p", "a.wav"}));
    EXPECT_EQ(splitCommandLine("p \t \ta.wav\t "), (Arguments{"p", "a.wav"}));
    EXPECT_EQ(splitCommandLine(R"("p"  "a.wav"   )"), (Arguments{"p", "a.wav"}));
    EXPECT_EQ(splitCommandLine("   p"), (Arguments{"p"}));
    EXPECT_EQ(splitCommandLine(""), Arguments{});
    EXPECT_EQ(splitCommandLine("  \t "), Arguments{});
}

TEST(CommandLineFile, OptionsAreSkippedAndOnlyTheFirstPathCounts) {
    EXPECT_EQ(commandLineFile(R"(Tarnuvo.exe /x -y "C:\music\a.ogg" b.ogg)"), R"(C:\music\a.ogg)");
    EXPECT_EQ(commandLineFile("Tarnuvo.exe -a /b"), "");
    EXPECT_EQ(commandLineFile("Tarnuvo.exe"), "");
    EXPECT_EQ(commandLineFile(""), "");
    // The program itself is never the file, even when it looks like one.
    EXPECT_EQ(commandLineFile("a.wav"), "");
}

TEST(CommandLineFile, TwoSpacesBeforeThePath) {
    // A file association such as `"Tarnuvo.exe"  "%1"` must not load an empty list.
    EXPECT_EQ(commandLineFile(R"("C:\T\Tarnuvo.exe"  "C:\m\a.ogg")"), R"(C:\m\a.ogg)");
    EXPECT_EQ(commandLineFile("Tarnuvo.exe  a.ogg"), "a.ogg");
}

TEST(CommandLineFile, RelativePathsAreHandedOnAsTheyStand) {
    EXPECT_EQ(commandLineFile(R"(Tarnuvo.exe music\list.pll)"), R"(music\list.pll)");
    EXPECT_EQ(commandLineFile(R"(Tarnuvo.exe "..\a b.wav")"), R"(..\a b.wav)");
}

TEST(CommandLineFile, ArgumentsLongerThan259BytesAreSkippedNotCut) {
    std::string fits = "C:\\" + std::string(kMaxPathBytes - 3, 'a');
    std::string tooLong = fits + "b";
    ASSERT_EQ(fits.size(), 259u);
    EXPECT_EQ(commandLineFile("T.exe \"" + fits + "\""), fits);
    EXPECT_EQ(commandLineFile("T.exe \"" + tooLong + "\""), "");
    std::string path300 = "C:\\" + std::string(290, 'x') + ".ogg.bak";
    ASSERT_GT(path300.size(), 299u);
    EXPECT_EQ(commandLineFile("T.exe \"" + path300 + "\" b.ogg"), "b.ogg");
    // The whole command line is read, however long.
    EXPECT_EQ(commandLineFile("T.exe " + std::string(600, ' ') + "late.ogg"), "late.ogg");
}

TEST(CommandLineFile, DoubleBytePathEndingInATrailBackslash) {
    std::string path = "C:\\" + kMusic + "\\" + kTable;
    EXPECT_EQ(path.back(), '\\');
    EXPECT_EQ(commandLineFile("T.exe \"" + path + "\""), path);
    EXPECT_EQ(commandLineFile("T.exe " + path + " next.ogg"), path);
}

}  // namespace
}  // namespace tarnuvo
