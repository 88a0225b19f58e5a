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
using list_test::ansi;
using list_test::expectSameStoredFields;
using list_test::track;
using tarnuvo_test::readFile;
using tarnuvo_test::ScratchDir;
using tarnuvo_test::writeFile;

namespace {

// Entries whose file needs several write calls.
std::vector<TrackInfo> manyEntries(int n) {
    std::vector<TrackInfo> entries;
    for (int i = 0; i < n; ++i)
        entries.push_back(track("C:\\" + ansi(u8"音楽\\ソ") + std::to_string(i) + ".ogg",
                                ansi(u8"題名") + std::string(100, 't'), ansi(u8"演奏"),
                                static_cast<uint32_t>(i * 1000 + 1), i % 2, 5,
                                static_cast<uint32_t>(10 + i)));
    return entries;
}

// Each kernel call of a save, counted; one chosen step fails.
struct FailingCalls {
    enum Step { None, Write, ShortWrite, Flush, Close, Move };
    static Step step;
    static int failAtWrite;  // 1-based
    static int writes;

    static BOOL WINAPI writeFile(HANDLE h, LPCVOID data, DWORD n, LPDWORD written, LPOVERLAPPED o) {
        ++writes;
        if (writes == failAtWrite && step == Write) {
            SetLastError(ERROR_DISK_FULL);
            return FALSE;
        }
        if (writes == failAtWrite && step == ShortWrite) {
            // Half of it reached the disk and the call claims success.
            const BOOL ok = WriteFile(h, data, n / 2, written, o);
            return ok;
        }
        return WriteFile(h, data, n, written, o);
    }
    static BOOL WINAPI flush(HANDLE h) { return step == Flush ? FALSE : FlushFileBuffers(h); }
    static BOOL WINAPI close(HANDLE h) {
        // A close that reports a failed delayed write still gives up the handle.
        const BOOL ok = CloseHandle(h);
        return step == Close ? FALSE : ok;
    }
    static BOOL WINAPI move(LPCSTR from, LPCSTR to, DWORD flags) {
        return step == Move ? FALSE : MoveFileExA(from, to, flags);
    }
};
FailingCalls::Step FailingCalls::step = FailingCalls::None;
int FailingCalls::failAtWrite = 0;
int FailingCalls::writes = 0;

class InjectedCalls {
public:
    InjectedCalls(FailingCalls::Step step, int failAtWrite) {
        FailingCalls::step = step;
        FailingCalls::failAtWrite = failAtWrite;
        FailingCalls::writes = 0;
        setListSaveCalls(&calls_);
    }
    ~InjectedCalls() { setListSaveCalls(nullptr); }

private:
    const ListSaveCalls calls_{FailingCalls::writeFile, FailingCalls::flush, FailingCalls::close,
                               FailingCalls::move};
};

}  // namespace

TEST(ListFileOnDisk, SavedListReadsBackFromAFolderEndingInATrailByte) {
    ScratchDir scratch;
    // Made here: the scratch helper splits names at every 0x5C byte.
    const std::string folder = scratch.path() + ansi(u8"一覧\\ソ") + "\\";
    ASSERT_TRUE(CreateDirectoryA((scratch.path() + ansi(u8"一覧")).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string list = folder + "list.pll";
    std::vector<TrackInfo> entries = manyEntries(300);
    for (size_t i = 0; i < entries.size(); i += 3) {
        // Every third entry sits in the list folder and keeps a relative name.
        std::snprintf(entries[i].path, kTextSize, "%s%zu.wav", ansi(u8"曲").c_str(), i);
        std::snprintf(entries[i].location, kTextSize, "%s%s", folder.c_str(), entries[i].path);
    }
    ASSERT_EQ(1, writePlaylistFile(list.c_str(), entries, ansi(u8"盤").c_str(), "memo", 1));
    EXPECT_EQ(std::vector<std::string>{ansi(u8"一覧\\ソ\\list.pll")}, scratch.files());
    EXPECT_EQ(1, readPlaylistFileVersion(list.c_str()));
    PlaylistFileContents back;
    ASSERT_EQ(1, readPlaylistFile(list.c_str(), back));
    EXPECT_EQ(ansi(u8"盤"), back.album);
    EXPECT_STREQ("memo", back.comment);
    EXPECT_EQ(1, back.relativePaths);
    ASSERT_EQ(entries.size(), back.entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        expectSameStoredFields(entries[i], back.entries[i], "entry " + std::to_string(i));
    // The bytes on disk are exactly the formatted list.
    EXPECT_EQ(formatPlaylistFile(entries, ansi(u8"盤").c_str(), "memo", 1, list.c_str()),
              readFile(list));
}

TEST(ListFileOnDisk, AFailureAtAnyStepLeavesTheOldListByteIdentical) {
    ScratchDir scratch;
    const std::string list = scratch.path() + "keep.pll";
    const std::string old =
        "[Tarnuvolist]\r\nVer=1\r\nTrack=1\r\n[Track00]\r\nFile=C:\\old.ogg\r\n";
    const std::vector<TrackInfo> entries = manyEntries(1500);
    const size_t bytes = formatPlaylistFile(entries, "", "", 0, list.c_str()).size();
    const int chunks = static_cast<int>((bytes + kListWriteChunk - 1) / kListWriteChunk);
    ASSERT_GE(chunks, 3);

    struct Case {
        FailingCalls::Step step;
        int write;
        const char* name;
    };
    std::vector<Case> cases = {{FailingCalls::Flush, 0, "flush"},
                               {FailingCalls::Close, 0, "close"},
                               {FailingCalls::Move, 0, "replace"},
                               {FailingCalls::ShortWrite, 2, "short write"}};
    for (int w = 1; w <= chunks; ++w) cases.push_back({FailingCalls::Write, w, "write"});
    for (const Case& c : cases) {
        writeFile(list, old);
        {
            InjectedCalls inject(c.step, c.write);
            EXPECT_EQ(0, writePlaylistFile(list.c_str(), entries, "", "", 0))
                << c.name << " " << c.write;
            if (c.step == FailingCalls::Write) {
                EXPECT_EQ(c.write, FailingCalls::writes);
            }
        }
        EXPECT_EQ(old, readFile(list)) << c.name << " " << c.write;
        // The temporary file is gone too.
        EXPECT_EQ(std::vector<std::string>{"keep.pll"}, scratch.files()) << c.name;
    }
    // Without a failure the same save goes through, in the expected writes.
    {
        InjectedCalls inject(FailingCalls::None, 0);
        EXPECT_EQ(1, writePlaylistFile(list.c_str(), entries, "", "", 0));
        EXPECT_EQ(chunks, FailingCalls::writes);
    }
    EXPECT_EQ(bytes, readFile(list).size());
}

TEST(ListFileOnDisk, AReadOnlyTargetIsRefused) {
    ScratchDir scratch;
    const std::string list = scratch.path() + "locked.pll";
    writeFile(list, "old");
    ASSERT_TRUE(SetFileAttributesA(list.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(0, writePlaylistFile(list.c_str(), manyEntries(3), "", "", 0));
    SetFileAttributesA(list.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ("old", readFile(list));
    EXPECT_EQ(std::vector<std::string>{"locked.pll"}, scratch.files());
    // A folder of that name, or a folder that does not exist, is no target.
    const std::string folder = scratch.folder("dir.pll");
    EXPECT_EQ(0, writePlaylistFile(folder.substr(0, folder.size() - 1).c_str(), manyEntries(1), "",
                                   "", 0));
    EXPECT_EQ(
        0, writePlaylistFile((scratch.path() + "none\\x.pll").c_str(), manyEntries(1), "", "", 0));
    EXPECT_EQ(0, writePlaylistFile("", manyEntries(1), "", "", 0));
}

TEST(ListFileOnDisk, UnreadableOrOversizedFilesReadAsNothing) {
    ScratchDir scratch;
    PlaylistFileContents out;
    out.entries.resize(2);
    EXPECT_EQ(0, readPlaylistFile((scratch.path() + "missing.pll").c_str(), out));
    EXPECT_TRUE(out.entries.empty());
    EXPECT_EQ(0, readPlaylistFileVersion((scratch.path() + "missing.pll").c_str()));
    EXPECT_EQ(0, readPlaylistFile(scratch.path().c_str(), out));
    EXPECT_EQ(0, readPlaylistFile("", out));
    EXPECT_EQ(0, readPlaylistFile(nullptr, out));

    // Past the size cap: a valid list at its start is not read at all.
    const std::string big = scratch.path() + "big.pll";
    writeFile(big, "[Tarnuvolist]\r\nVer=1\r\nTrack=1\r\n[Track00]\r\nFile=C:\\a\r\n");
    EXPECT_EQ(1, readPlaylistFileVersion(big.c_str()));
    HANDLE f = CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, f);
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(kMaxListFileBytes) + 1;
    EXPECT_TRUE(SetFilePointerEx(f, at, nullptr, FILE_BEGIN));
    EXPECT_TRUE(SetEndOfFile(f));
    CloseHandle(f);
    EXPECT_EQ(0, readPlaylistFile(big.c_str(), out));
    EXPECT_EQ(0, readPlaylistFileVersion(big.c_str()));
}
