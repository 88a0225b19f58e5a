// List files on disk: a save either replaces the old file whole or leaves it
// byte for byte as it was; unreadable files read as nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "list_file_support.h"
#include "playlist/playlist_file.h"
#include "playlist/playlist_file_win.h"
#include "test_support.h"

using namespace tarnuvo;
using namespace std::string_literals;
using list_test::ansi;
using tarnuvo_test::readFile;
using tarnuvo_test::ScratchDir;
using tarnuvo_test::writeFile;

namespace {

std::vector<TrackInfo> manyEntries(int n) {
    std::vector<TrackInfo> entries;
    for (int i = 0; i < n; ++i)
        entries.push_back(list_test::track(ansi(u8"C:\\音楽\\ソ") + std::to_string(i) + ".ogg",
                                           ansi(u8"題名") + std::string(100, 't'), ansi(u8"演奏"),
                                           static_cast<uint32_t>(i * 1000 + 1), i % 2, 5, 10u + i));
    return entries;
}

// The kernel calls of a save, counted; the chosen one fails.
enum class Fail { None, Write, ShortWrite, Flush, Close, Replace };
Fail g_fail = Fail::None;
int g_failAt = 0, g_writes = 0;

BOOL WINAPI writeCall(HANDLE h, LPCVOID data, DWORD n, LPDWORD written, LPOVERLAPPED o) {
    const bool now = ++g_writes == g_failAt;
    if (now && g_fail == Fail::Write) return FALSE;
    return WriteFile(h, data, now && g_fail == Fail::ShortWrite ? n / 2 : n, written, o);
}
BOOL WINAPI flushCall(HANDLE h) {
    return g_fail != Fail::Flush && FlushFileBuffers(h);
}
BOOL WINAPI closeCall(HANDLE h) {
    return CloseHandle(h) && g_fail != Fail::Close;  // a failed close gives up the handle too
}
BOOL WINAPI replaceCall(LPCSTR from, LPCSTR to, DWORD flags) {
    return g_fail != Fail::Replace && MoveFileExA(from, to, flags);
}
const ListSaveCalls kFailing{writeCall, flushCall, closeCall, replaceCall};

}  // namespace

TEST(ListFileOnDisk, SavedListReadsBackFromAFolderEndingInATrailByte) {
    ScratchDir scratch;
    // Made here: the scratch helper splits names at every 0x5C byte.
    const std::string folder = scratch.path() + ansi(u8"ソ") + "\\", list = folder + "l.pll";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    std::vector<TrackInfo> entries = manyEntries(300);
    for (size_t i = 0; i < entries.size(); i += 3) {  // relative names in the list folder
        std::snprintf(entries[i].path, kTextSize, "%s%zu.wav", ansi(u8"曲").c_str(), i);
        std::snprintf(entries[i].location, kTextSize, "%s%s", folder.c_str(), entries[i].path);
    }
    ASSERT_EQ(1, writePlaylistFile(list.c_str(), entries, ansi(u8"盤").c_str(), "memo", 1));
    EXPECT_EQ(std::vector<std::string>{ansi(u8"ソ\\l.pll")}, scratch.files());
    EXPECT_EQ(formatPlaylistFile(entries, ansi(u8"盤").c_str(), "memo", 1, list.c_str()),
              readFile(list));
    EXPECT_EQ(1, readPlaylistFileVersion(list.c_str()));
    PlaylistFileContents back;
    ASSERT_EQ(1, readPlaylistFile(list.c_str(), back));
    EXPECT_EQ(ansi(u8"盤") + "|memo|1",
              back.album + "|"s + back.comment + "|" + std::to_string(back.relativePaths));
    ASSERT_EQ(entries.size(), back.entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        list_test::expectSameStoredFields(entries[i], back.entries[i], std::to_string(i));
}

TEST(ListFileOnDisk, AFailureAtAnyStepLeavesTheOldListByteIdentical) {
    ScratchDir scratch;
    const std::string list = scratch.path() + "keep.pll", old = "[Tarnuvolist]\r\nVer=1\r\n";
    const std::vector<TrackInfo> entries = manyEntries(1500);
    const size_t size = formatPlaylistFile(entries, "", "", 0, list.c_str()).size();
    const int writes = static_cast<int>((size + kListWriteChunk - 1) / kListWriteChunk);
    ASSERT_GE(writes, 3);
    std::vector<std::pair<Fail, int>> cases = {
        {Fail::Flush, 0}, {Fail::Close, 0}, {Fail::Replace, 0}, {Fail::ShortWrite, 2}};
    for (int w = 1; w <= writes; ++w) cases.push_back({Fail::Write, w});
    setListSaveCalls(&kFailing);
    for (const auto& [fail, at] : cases) {
        writeFile(list, old);
        g_fail = fail, g_failAt = at, g_writes = 0;
        EXPECT_EQ(0, writePlaylistFile(list.c_str(), entries, "", "", 0)) << int(fail) << at;
        EXPECT_EQ(at ? at : writes, g_writes);
        EXPECT_EQ(old, readFile(list)) << int(fail) << " " << at;
        EXPECT_EQ(std::vector<std::string>{"keep.pll"}, scratch.files());  // no temporary left
    }
    g_fail = Fail::None, g_writes = 0;
    EXPECT_EQ(1, writePlaylistFile(list.c_str(), entries, "", "", 0));
    setListSaveCalls(nullptr);
    EXPECT_EQ(writes, g_writes);
    EXPECT_EQ(size, readFile(list).size());
}

TEST(ListFileOnDisk, ReadOnlyOrImpossibleTargetsAreRefused) {
    ScratchDir scratch;
    const std::string list = scratch.path() + "locked.pll";
    writeFile(list, "old");
    ASSERT_TRUE(SetFileAttributesA(list.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(0, writePlaylistFile(list.c_str(), manyEntries(3), "", "", 0));
    SetFileAttributesA(list.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ("old", readFile(list));
    scratch.folder("dir.pll");
    for (const std::string& target :
         {scratch.path() + "dir.pll", scratch.path() + "no\\x.pll", ""s})
        EXPECT_EQ(0, writePlaylistFile(target.c_str(), manyEntries(1), "", "", 0)) << target;
    EXPECT_EQ((std::vector<std::string>{"locked.pll"}), scratch.files());
}

TEST(ListFileOnDisk, UnreadableOrOversizedFilesReadAsNothing) {
    ScratchDir scratch;
    PlaylistFileContents out;
    out.entries.resize(2);
    for (const std::string& path : {scratch.path() + "missing.pll", scratch.path(), ""s}) {
        EXPECT_EQ(0, readPlaylistFile(path.c_str(), out)) << path;
        EXPECT_EQ(0, readPlaylistFileVersion(path.c_str())) << path;
    }
    EXPECT_TRUE(out.entries.empty());
    // Past the size cap, a list at the start of the file is not read at all.
    const std::string big = scratch.path() + "big.pll";
    writeFile(big, "[Tarnuvolist]\r\nVer=1\r\nTrack=1\r\n[Track00]\r\nFile=C:\\a\r\n");
    EXPECT_EQ(1, readPlaylistFile(big.c_str(), out));
    HANDLE f = CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(kMaxListFileBytes) + 1;
    EXPECT_TRUE(SetFilePointerEx(f, end, nullptr, FILE_BEGIN) && SetEndOfFile(f));
    CloseHandle(f);
    EXPECT_EQ(0, readPlaylistFile(big.c_str(), out));
    EXPECT_EQ(0, readPlaylistFileVersion(big.c_str()));
}
