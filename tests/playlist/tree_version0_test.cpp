// 7-zip32.dll here reports a version whose low word is 0; Unzip32.dll is the stand-in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playlist/archive_extractor.h"
#include "test_support.h"

using namespace tarnuvo;
using namespace tarnuvo_test;

TEST(VersionZero, TheDllIsSkippedWithoutBeingAskedToCheck) {
    ScratchDir scratch;
    CallLog log(scratch);
    ArchiveExtractor extractor;
    ASSERT_EQ(1, extractor.selectArchiver(fixture("plain.zip").c_str()));
    EXPECT_EQ(3, extractor.selected());
    const std::vector<std::string> lines = log.lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ("7-zip32.dll load ", lines[0]);
    EXPECT_EQ("7-zip32.dll unload ", lines[1]);
    EXPECT_EQ(0u, lines[2].rfind("Unzip32.dll ", 0));
    for (const std::string& line : log.linesWith("CheckArchive")) {
        EXPECT_EQ(0u, line.rfind("Unzip32.dll ", 0)) << line;
    }
}

TEST(VersionZero, ASevenZipArchiveIsNotAdded) {
    ArchiveExtractor extractor;
    EXPECT_EQ(0, extractor.selectArchiver(fixture("plain.7z").c_str()));
    EXPECT_EQ(-1, extractor.selected());
}
