// No archiver DLL and no tag library beside this program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "playlist/archive_extractor.h"
#include "playlist/tag_reader.h"
#include "test_support.h"

using namespace tarnuvo;
using namespace tarnuvo_test;

namespace {}  // namespace

TEST(NoDlls, NoArchiverIsChosenAndTheArchivePathIsOpened) {
    ArchiveExtractor extractor;
    EXPECT_EQ(0, extractor.selectArchiver(fixture("plain.zip").c_str()));
    EXPECT_EQ(-1, extractor.selected());
    ScratchDir scratch;
    TestEnvironment env(scratch.path());
    char file[kTextSize];
    EXPECT_FALSE(resolveMember(fixture("plain.zip").c_str(), "song.mp3", nullptr, &env, file));
    EXPECT_TRUE(scratch.files().empty());
}

TEST(NoDlls, WithoutTheTagLibraryNothingIsRead) {
    TagReader reader;
    EXPECT_FALSE(reader.load(0));
    EXPECT_EQ(0u, reader.version());
    TrackInfo track;
    std::strcpy(track.title, "kept");
    reader.readTags(fixture("tone.mp3").c_str(), nullptr, track);
    EXPECT_STREQ("kept", track.title);
}

TEST(NoDlls, PlantedDllsInTheCurrentDirectoryAreIgnored) {
    ScratchDir scratch;
    ASSERT_TRUE(copyFile(fixture("..\\mp3infp.dll"), scratch.path() + "mp3infp.dll"));
    ASSERT_TRUE(copyFile(fixture("..\\Unzip32.dll"), scratch.path() + "Unzip32.dll"));
    ScopedCurrentDirectory cwd(scratch.path());
    TagReader reader;
    EXPECT_FALSE(reader.load(0));
    ArchiveExtractor extractor;
    EXPECT_EQ(0, extractor.selectArchiver(fixture("plain.zip").c_str()));
}

TEST(NoDlls, PlantedDllsOnThePathAreIgnored) {
    ScratchDir scratch;
    const std::string folder = scratch.folder("bin");
    ASSERT_TRUE(copyFile(fixture("..\\mp3infp.dll"), folder + "mp3infp.dll"));
    ASSERT_TRUE(copyFile(fixture("..\\Unzip32.dll"), folder + "Unzip32.dll"));
    char path[32768] = "";
    GetEnvironmentVariableA("PATH", path, sizeof path);
    ScopedEnv env("PATH", (folder + ";" + path).c_str());
    TagReader reader;
    EXPECT_FALSE(reader.load(0));
    ArchiveExtractor extractor;
    EXPECT_EQ(0, extractor.selectArchiver(fixture("plain.zip").c_str()));
    // The default search would have found both.
    HMODULE bare = LoadLibraryA("mp3infp.dll");
    EXPECT_NE(nullptr, bare);
    if (bare) FreeLibrary(bare);
}
