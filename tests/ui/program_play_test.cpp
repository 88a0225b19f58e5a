// The real Tarnuvo.exe plays as a user makes it play: started with the demo
// loop and settings for RepeatAll with two passes, the play button puts into
// the capture device exactly what tarnuvo-render makes of the same file with
// the same settings; the next row follows; closing writes every setting.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app_test_support.h"
#include "exe_support.h"
#include "tools/play-driver/window_bmp.h"

namespace tarnuvo {
namespace {

using test::Process;
using test::waitFor;

std::string winePath(const std::string& unixPath) {
    return test::unixToWine(unixPath);
}

LRESULT rowsOf(HWND list) {
    return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
}
LRESULT selectedOf(HWND list) {
    return SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
}

// The PCM bytes of a WAV file that tarnuvo-render wrote (a 44-byte header).
std::string pcmOfRendered(const std::string& wav) {
    const std::string bytes = test::readFile(wav);
    return bytes.size() >= 44 ? bytes.substr(44) : std::string();
}

// Where the capture device writes, as Wine sees it.
std::string capturePath() {
    const char* unix = std::getenv("TARNUVO_CAPTURE");
    return unix ? winePath(unix) : std::string();
}

// The capture holds `expected` from its first byte, and only silence after.
::testing::AssertionResult holdsExactly(const std::string& capture, const std::string& expected) {
    if (capture.size() < expected.size())
        return ::testing::AssertionFailure() << "only " << capture.size() << " bytes";
    for (size_t i = 0; i < expected.size(); ++i) {
        if (capture[i] != expected[i])
            return ::testing::AssertionFailure()
                   << "first difference at byte " << i << " of " << expected.size();
    }
    for (size_t i = expected.size(); i < capture.size(); ++i) {
        if (capture[i] != 0)
            return ::testing::AssertionFailure() << "sound after the end, at byte " << i;
    }
    return ::testing::AssertionSuccess();
}

std::string screenshotPath(const char* name) {
    const std::string folder = winePath(TARNUVO_SCREENSHOT_DIR);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\" + name;
}

TEST(TarnuvoPlays, ThePlayButtonPlaysTheLoopedTrackExactlyThenTheNextRowAndClosingSavesAll) {
    test::ScratchDir dir;
    const std::string exe = dir / "Tarnuvo.exe";
    ASSERT_TRUE(CopyFileA(winePath(TARNUVO_EXE).c_str(), exe.c_str(), FALSE));
    const std::string demo = dir / "demo-loop.wav";
    ASSERT_TRUE(CopyFileA(winePath(TARNUVO_DEMO_WAV).c_str(), demo.c_str(), FALSE));
    // The second row holds the same sound: the capture of either track is
    // the same, whichever opening of the device it shows.
    const std::string copy = dir / "demo-copy.wav";
    ASSERT_TRUE(CopyFileA(demo.c_str(), copy.c_str(), FALSE));
    test::writeFile(dir / "Tarnuvo.ini", "[Tarnuvo]\r\nPlayMode=2\r\nLoopCount=2\r\n");
    ASSERT_FALSE(capturePath().empty()) << "no capture device";

    // What the player must play, from the renderer with the same settings.
    const std::string rendered = dir / "expected.wav";
    Process render;
    ASSERT_TRUE(render.start(winePath(TARNUVO_RENDER),
                             "--mode repeat-all --loops 2 \"" + demo + "\" \"" + rendered + "\""));
    ASSERT_EQ(render.waitForExit(60000), 0u);
    const std::string expected = pcmOfRendered(rendered);
    ASSERT_GT(expected.size(), 176400u * 40) << "intro, three passes and the tail";

    waitFor(5000, [] { return FindWindowA("Shell_TrayWnd", nullptr) != nullptr; });
    Process player;
    ASSERT_TRUE(player.start(exe, "\"" + demo + "\""));
    HWND window = nullptr;
    ASSERT_TRUE(waitFor(
        30000, [&] { return (window = test::mainWindowOf(player.info.dwProcessId)) != nullptr; }));
    const HWND list = GetDlgItem(window, 1000);
    ASSERT_TRUE(waitFor(20000, [&] { return rowsOf(list) == 1; }));
    Process second;
    ASSERT_TRUE(second.start(exe, "\"" + copy + "\""));
    EXPECT_EQ(second.waitForExit(20000), 0u);
    ASSERT_TRUE(waitFor(20000, [&] { return rowsOf(list) == 2; }));
    Sleep(1000);  // the window settles and paints
    EXPECT_GT(saveWindowBmp(window, screenshotPath("play-start.bmp").c_str()), 8u);

    const LRESULT first = selectedOf(list);
    ASSERT_TRUE(first == 0 || first == 1);
    const HWND play = GetDlgItem(window, 1010);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(1010, BN_CLICKED), reinterpret_cast<LPARAM>(play));
    ASSERT_TRUE(waitFor(10000, [&] { return IsWindowEnabled(GetDlgItem(window, 1012)) != 0; }))
        << "the track did not start";
    Sleep(1500);
    EXPECT_GT(saveWindowBmp(window, screenshotPath("play-playing.bmp").c_str()), 8u);

    // Read whenever the device holds a whole track: a later opening starts
    // the file afresh with the same bytes.
    std::string capture;
    const bool whole = waitFor(240000, [&] {
        capture = test::readFile(capturePath());
        return capture.size() >= expected.size();
    });
    ASSERT_TRUE(whole) << capture.size() << " of " << expected.size() << " bytes";
    EXPECT_TRUE(holdsExactly(capture, expected));
    EXPECT_TRUE(waitFor(60000, [&] { return selectedOf(list) == 1 - first; }))
        << "the next row did not follow";

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(player.waitForExit(20000), 0u);
    const std::string ini = dir / "Tarnuvo.ini";
    const char* keys[] = {"ShowList",  "GridLine",    "TimeMode",    "PlayMode",   "LoopIgnore",
                          "LoopCount", "AlwaysOnTop", "ShowVideo",   "FontTitle",  "FontTime",
                          "FontInfo",  "FontFile",    "FontList",    "ColorText",  "ColorGray",
                          "ColorBack", "WindowPos",   "ColumnOrder", "ColumnWidth"};
    for (const char* key : keys) {
        char value[128] = {};
        GetPrivateProfileStringA("Tarnuvo", key, "\x01", value, sizeof value, ini.c_str());
        EXPECT_STRNE(value, "\x01") << key << " was not written";
    }
    EXPECT_EQ(GetPrivateProfileIntA("Tarnuvo", "PlayMode", -1, ini.c_str()), 2);
    EXPECT_EQ(GetPrivateProfileIntA("Tarnuvo", "LoopCount", -1, ini.c_str()), 2);
}

}  // namespace
}  // namespace tarnuvo
