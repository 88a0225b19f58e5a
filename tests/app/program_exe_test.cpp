// The real Tarnuvo.exe, started as a user starts it: with the demo loop on its
// command line it shows its window with the demo's row (a screenshot of it is
// left for people to look at), a second start hands its file over, and a
// close ends the process with the settings written.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app_test_support.h"
#include "exe_support.h"
#include "tools/play-driver/window_bmp.h"

namespace tarnuvo {
namespace {

using test::mainWindowOf;
using test::Process;
using test::waitFor;

// The text of a RIFF INFO field of a WAV file, read from its bytes.
std::string infoField(const std::string& bytes, const char* id) {
    size_t at = bytes.find(id);
    if (at == std::string::npos || at + 8 > bytes.size()) return "";
    uint32_t size = 0;
    std::memcpy(&size, bytes.data() + at + 4, 4);
    std::string text = bytes.substr(at + 8, size);
    return text.substr(0, text.find('\0'));
}

// A list view's cell text read from another process through memory there.
std::string remoteCell(HANDLE process, HWND listView, int row, int column) {
    struct Block {
        LVITEMA item;
        char text[260];
    };
    void* remote = VirtualAllocEx(process, nullptr, sizeof(Block), MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return "?";
    Block block = {};
    block.item.iSubItem = column;
    block.item.cchTextMax = sizeof block.text;
    block.item.pszText = static_cast<Block*>(remote)->text;
    WriteProcessMemory(process, remote, &block, sizeof block, nullptr);
    SendMessageA(listView, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&static_cast<Block*>(remote)->item));
    ReadProcessMemory(process, remote, &block, sizeof block, nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    block.text[sizeof block.text - 1] = '\0';
    return block.text;
}

class TarnuvoExe : public ::testing::Test {
protected:
    void SetUp() override {
        exe = dir / "Tarnuvo.exe";
        ASSERT_TRUE(CopyFileA(test::unixToWine(TARNUVO_EXE).c_str(), exe.c_str(), FALSE));
        demo = dir / "demo-loop.wav";
        ASSERT_TRUE(CopyFileA(test::unixToWine(TARNUVO_DEMO_WAV).c_str(), demo.c_str(), FALSE));
        // The taskbar of the test's desktop may still be starting.
        waitFor(5000, [] { return FindWindowA("Shell_TrayWnd", nullptr) != nullptr; });
    }

    // Starts the player and waits for its window with `rows` rows.
    HWND startWith(Process& process, const std::string& arguments, int rows) {
        if (!process.start(exe, arguments)) return nullptr;
        HWND window = nullptr;
        waitFor(30000,
                [&] { return (window = mainWindowOf(process.info.dwProcessId)) != nullptr; });
        if (!window) return nullptr;
        HWND list = GetDlgItem(window, 1000);
        waitFor(20000, [&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) >= rows; });
        return window;
    }

    test::ScratchDir dir;
    std::string exe;
    std::string demo;
};

TEST_F(TarnuvoExe, StartedWithTheDemoLoopItShowsTheRowAndClosesCleanly) {
    Process player;
    HWND window = startWith(player, "\"" + demo + "\"", 1);
    ASSERT_NE(window, nullptr) << "no main window";
    EXPECT_TRUE(IsWindowVisible(window));
    HWND list = GetDlgItem(window, 1000);
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 1);
    std::string bytes = test::readFile(demo);
    EXPECT_EQ(remoteCell(player.info.hProcess, list, 0, 0), infoField(bytes, "INAM"));
    EXPECT_EQ(remoteCell(player.info.hProcess, list, 0, 3), infoField(bytes, "IART"));
    EXPECT_EQ(remoteCell(player.info.hProcess, list, 0, 2), "Loop");
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Tarnuvo");

    // Let it paint, then leave a picture of it for people to look at.
    Sleep(1500);
    std::string shots = test::unixToWine(TARNUVO_SCREENSHOT_DIR);
    CreateDirectoryA(shots.c_str(), nullptr);
    EXPECT_GT(saveWindowBmp(window, (shots + "\\main-window.bmp").c_str()), 8u)
        << "an empty capture";

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(player.waitForExit(20000), 0u) << "the process did not end cleanly";
    auto ini = dir / "Tarnuvo.ini";
    ASSERT_TRUE(test::isFile(ini));
    char value[64] = {};
    GetPrivateProfileStringA("Tarnuvo", "ColumnWidth", "", value, sizeof value, ini.c_str());
    EXPECT_STREQ(value, "160:60:40:90");
    GetPrivateProfileStringA("Tarnuvo", "ShowList", "", value, sizeof value, ini.c_str());
    EXPECT_STREQ(value, "1");
}

TEST_F(TarnuvoExe, ASecondStartHandsItsFileToTheFirstAndEnds) {
    std::string other = dir / "other.wav";
    ASSERT_TRUE(CopyFileA(demo.c_str(), other.c_str(), FALSE));
    Process first;
    HWND window = startWith(first, "\"" + demo + "\"", 1);
    ASSERT_NE(window, nullptr);
    HWND list = GetDlgItem(window, 1000);

    Process second;
    ASSERT_TRUE(second.start(exe, "\"" + other + "\""));
    EXPECT_EQ(second.waitForExit(20000), 0u);
    EXPECT_TRUE(waitFor(20000, [&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 2; }));
    EXPECT_EQ(mainWindowOf(second.info.dwProcessId), nullptr) << "the second start made no window";

    // Without a file a second start only brings the first to the front.
    Process third;
    ASSERT_TRUE(third.start(exe, ""));
    EXPECT_EQ(third.waitForExit(20000), 0u);
    Sleep(300);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 2);

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.waitForExit(20000), 0u);
}

}  // namespace
}  // namespace tarnuvo
