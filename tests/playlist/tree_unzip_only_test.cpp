// Only Unzip32.dll (the stand-in) beside this program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playlist/archive_extractor.h"
#include "test_support.h"

using namespace tarnuvo;
using namespace tarnuvo_test;

TEST(UnzipOnly, AZipIsTakenByTheUnzipRow) {
    ScratchDir scratch;
    CallLog log(scratch);
    ArchiveExtractor extractor;
    ASSERT_EQ(1, extractor.selectArchiver(fixture("plain.zip").c_str()));
    EXPECT_EQ(3, extractor.selected());
    const std::vector<std::string> checks = log.linesWith("CheckArchive");
    ASSERT_EQ(1u, checks.size());
    EXPECT_EQ(0u, checks[0].rfind("Unzip32.dll ", 0));
}

TEST(UnzipOnly, ASevenZipArchiveFindsNoArchiver) {
    ArchiveExtractor extractor;
    EXPECT_EQ(0, extractor.selectArchiver(fixture("plain.7z").c_str()));
}

TEST(UnzipOnly, ASelfExtractingZipIsTakenByTheUnzipRow) {
    ArchiveExtractor extractor;
    ASSERT_EQ(1, extractor.selectArchiver(fixture("sfx.exe").c_str()));
    EXPECT_EQ(3, extractor.selected());
}

TEST(UnzipOnly, ResolveMemberExtractsWithTheUnzipCommands) {
    ScratchDir scratch;
    CallLog log(scratch);
    const std::string tempDir = scratch.folder("tmp");
    TestEnvironment env(tempDir);
    char file[kTextSize];
    ASSERT_TRUE(resolveMember(fixture("plain.zip").c_str(), "sub\\deep.mp3", nullptr, &env, file));
    EXPECT_EQ(tempDir + "deep.mp3", std::string(file));
    EXPECT_EQ("member in a subfolder\n", readFile(file));
    const std::vector<std::string> commands = log.linesWith("command");
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ("Unzip32.dll command -x -j --i -qq -o \"" + fixture("plain.zip") + "\" \"" + tempDir +
                  "\" \"sub\\deep.mp3\"",
              commands[0]);
}
