// ArchiverDll against the stand-in and the misbehaving test DLLs that sit
// beside this program, and where DLLs may be loaded from.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playlist/archiver_dll.h"
#include "playlist/trusted_library.h"
#include "test_support.h"

using namespace tarnuvo;
using namespace tarnuvo_test;

namespace {

std::vector<std::string> listMembers(ArchiverDll& dll, const std::string& archive) {
    std::vector<std::string> names;
    ArchiveHandle h = dll.openArchive(nullptr, archive.c_str(), kOpenArchiveMode);
    if (!h) return names;
    ArchiverMemberRecord record;
    for (int32_t r = dll.findFirst(h, "*.mp3", record); r == 0; r = dll.findNext(h, record)) {
        names.push_back(record.name);
    }
    EXPECT_EQ(0, dll.closeArchive(h));
    return names;
}

}  // namespace

TEST(ArchiverDll, NamesAreCutTo12And9Characters) {
    ArchiverDll dll;
    EXPECT_FALSE(dll.load("Unzip32.dllEXTRA", "UnZipLongPrefix"));
    EXPECT_STREQ("Unzip32.dllE", dll.dllName());
    EXPECT_STREQ("UnZipLong", dll.prefix());
}

TEST(ArchiverDll, TheStandInListsMembersThroughTheRecord) {
    ArchiverDll dll;
    ASSERT_TRUE(dll.load("Unzip32.dll", "UnZip"));
    EXPECT_EQ(100u, dll.version());
    for (int32_t n : {8, 16, 23, 24, 25, 26}) EXPECT_TRUE(dll.queryFunction(n)) << n;
    EXPECT_FALSE(dll.isRunning());
    EXPECT_TRUE(dll.checkArchive(fixture("plain.zip").c_str(), kCheckArchiveMode));
    EXPECT_FALSE(dll.checkArchive(fixture("notarchive.exe").c_str(), kCheckArchiveMode));
    const std::vector<std::string> names = listMembers(dll, fixture("plain.zip"));
    ASSERT_EQ(2u, names.size());
    EXPECT_EQ("song.mp3", names[0]);
    EXPECT_EQ("sub/deep.mp3", names[1]);
    EXPECT_TRUE(dll.unload());
    EXPECT_FALSE(dll.unload());
}

TEST(ArchiverDll, EveryPrefixOfTheStandInWorks) {
    ArchiverDll dll;
    for (const char* prefix : {"SevenZip", "Unrar", "Unlha", "UnZip"}) {
        ASSERT_TRUE(dll.load("7-zip32.dll", prefix));
        EXPECT_EQ(100u, dll.version()) << prefix;
        EXPECT_EQ(2u, listMembers(dll, fixture("plain.7z")).size()) << prefix;
    }
}

TEST(ArchiverDll, WithoutAModuleEveryCallGivesItsMissingResult) {
    ArchiverDll dll;
    ArchiverMemberRecord record;
    EXPECT_FALSE(dll.isLoaded());
    EXPECT_FALSE(dll.queryFunction(25));
    EXPECT_EQ(0xFFFFu, dll.version());
    EXPECT_FALSE(dll.isRunning());
    EXPECT_EQ(1, dll.command(nullptr, "x", nullptr, 0));
    EXPECT_FALSE(dll.checkArchive("a.zip", 8));
    EXPECT_EQ(nullptr, dll.openArchive(nullptr, "a.zip", kOpenArchiveMode));
    EXPECT_EQ(-1, dll.closeArchive(nullptr));
    EXPECT_EQ(-1, dll.findFirst(nullptr, "*.mp3", record));
    EXPECT_EQ(2, dll.findNext(nullptr, record));
}

TEST(ArchiverDll, ABusyDllIsNotGivenCommandsOrArchivesToOpen) {
    ScratchDir scratch;
    CallLog log(scratch);
    ArchiverDll dll;
    ASSERT_TRUE(dll.load("busy32.dll", "UnZip"));
    EXPECT_TRUE(dll.isRunning());
    char output[16] = "untouched";
    EXPECT_EQ(1, dll.command(nullptr, "-x \"a.zip\" \"C:\\t\\\" ", output, sizeof output));
    EXPECT_STREQ("untouched", output);
    EXPECT_EQ(nullptr, dll.openArchive(nullptr, "a.zip", kOpenArchiveMode));
    EXPECT_TRUE(log.linesWith("command").empty());
    EXPECT_TRUE(log.linesWith("OpenArchive").empty());
    // Checking and listing are not guarded.
    EXPECT_TRUE(dll.checkArchive("a.zip", kCheckArchiveMode));
    ArchiverMemberRecord record;
    EXPECT_EQ(0, dll.findFirst(reinterpret_cast<ArchiveHandle>(1), "*.mp3", record));
    EXPECT_STREQ("a.mp3", record.name);
}

TEST(ArchiverDll, AVersionWithAZeroLowWordIsReportedAsItIs) {
    ArchiverDll dll;
    ASSERT_TRUE(dll.load("ver0_32.dll", "SevenZip"));
    EXPECT_EQ(0x00050000u, dll.version());
    EXPECT_EQ(0u, dll.version() & 0xFFFF);
}

TEST(ArchiverDll, MissingExportsGiveTheFixedResults) {
    ScratchDir scratch;
    CallLog log(scratch);
    ArchiverDll dll;
    ASSERT_TRUE(dll.load("noexp32.dll", "Unlha"));
    EXPECT_EQ(0xFFFFu, dll.version());
    EXPECT_FALSE(dll.queryFunction(16));
    EXPECT_FALSE(dll.isRunning());
    EXPECT_EQ(1, dll.command(nullptr, "e \"a.lzh\" \"C:\\t\\\" ", nullptr, 0));
    // Present exports are still not called when the DLL cannot say it supports them.
    EXPECT_FALSE(dll.checkArchive("a.lzh", kCheckArchiveMode));
    EXPECT_EQ(nullptr, dll.openArchive(nullptr, "a.lzh", kOpenArchiveMode));
    ArchiverMemberRecord record;
    EXPECT_EQ(-1, dll.closeArchive(reinterpret_cast<ArchiveHandle>(1)));
    EXPECT_EQ(-1, dll.findFirst(reinterpret_cast<ArchiveHandle>(1), "*.mp3", record));
    EXPECT_EQ(2, dll.findNext(reinterpret_cast<ArchiveHandle>(1), record));
    dll.unload();
    const std::vector<std::string> calls = log.lines();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ("noexp32.dll load ", calls[0]);
    EXPECT_EQ("noexp32.dll unload ", calls[1]);
}

TEST(DllLocation, APlantedDllInTheCurrentDirectoryIsNotLoaded) {
    ScratchDir scratch;
    const std::string plant = scratch.path() + "plant32.dll";
    ASSERT_TRUE(copyFile(exeFolder() + "Unzip32.dll", plant));
    ScopedCurrentDirectory cwd(scratch.path());
    ArchiverDll dll;
    EXPECT_FALSE(dll.load("plant32.dll", "UnZip"));
    EXPECT_FALSE(static_cast<bool>(loadTrustedLibrary("plant32.dll")));
    // The same name by the system's default search would have run it.
    HMODULE bare = LoadLibraryA("plant32.dll");
    EXPECT_NE(nullptr, bare);
    if (bare) FreeLibrary(bare);
}

TEST(DllLocation, APlantedDllOnThePathIsNotLoaded) {
    ScratchDir scratch;
    const std::string folder = scratch.folder("onpath");
    ASSERT_TRUE(copyFile(exeFolder() + "Unzip32.dll", folder + "pathpl32.dll"));
    char path[32768] = "";
    GetEnvironmentVariableA("PATH", path, sizeof path);
    ScopedEnv env("PATH", (folder + ";" + path).c_str());
    ArchiverDll dll;
    EXPECT_FALSE(dll.load("pathpl32.dll", "UnZip"));
    HMODULE bare = LoadLibraryA("pathpl32.dll");
    EXPECT_NE(nullptr, bare);
    if (bare) FreeLibrary(bare);
}

TEST(DllLocation, TheProgramFolderTheSystemFolderAndTheWindowsFolderAreSearched) {
    ArchiverDll dll;
    {
        ScratchDir elsewhere;
        ScopedCurrentDirectory cwd(elsewhere.path());
        EXPECT_TRUE(dll.load("Unzip32.dll", "UnZip"));
    }
    ModuleHandle system = loadTrustedLibrary("version.dll");
    EXPECT_TRUE(static_cast<bool>(system));

    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    // At most 12 characters, unique to this run.
    const std::string name = "tvw" + std::to_string(GetCurrentProcessId() % 100000) + ".dll";
    const std::string inWindows = std::string(windows) + "\\" + name;
    ASSERT_TRUE(copyFile(exeFolder() + "busy32.dll", inWindows));
    {
        ArchiverDll fromWindows;
        EXPECT_TRUE(fromWindows.load(name.c_str(), "UnZip"));
        EXPECT_TRUE(fromWindows.isRunning());
    }
    DeleteFileA(inWindows.c_str());
}

TEST(DllLocation, NamesWithFoldersAreRefused) {
    ArchiverDll dll;
    const std::string full = exeFolder() + "Unzip32.dll";
    EXPECT_FALSE(dll.load(full.c_str(), "UnZip"));
    EXPECT_FALSE(dll.load("..\\playlist\\Unzip32.dll", "UnZip"));
    EXPECT_FALSE(dll.load(".\\Unzip32.dll", "UnZip"));
    EXPECT_FALSE(static_cast<bool>(loadTrustedLibrary("C:version.dll")));
}
