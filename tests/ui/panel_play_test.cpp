// The panel and the sliders with the demo track playing into the capture
// device: screenshots of a 20-entry list, random seeks, the volume's place.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "panel_test_support.h"

namespace tarnuvo {
namespace {

LONGLONG captureSize() {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    const char* unix = std::getenv("TARNUVO_CAPTURE");
    if (!unix || !GetFileAttributesExA(test::winePath(unix).c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (LONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Saves the window with its open popup while the menu's loop runs.
HWND g_window = nullptr;
std::string g_shot;
void CALLBACK shootMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (!popup || !IsWindowVisible(popup)) return;
    KillTimer(nullptr, timer);
    RECT menu = {}, window = {}, both = {};
    GetWindowRect(popup, &menu);
    GetWindowRect(g_window, &window);
    UnionRect(&both, &menu, &window);
    test::saveScreen(both, g_shot);
    EndMenu();
}

class PanelPlaying : public test::PanelDialog {
protected:
    void SetUp() override {
        PanelDialog::SetUp();
        start();
        for (const char* name : {"\\demo1.wav", "\\demo2.wav"})
            ASSERT_TRUE(CopyFileA(test::demoWav().c_str(), (dir.path() + name).c_str(), FALSE));
        main->startLoading({dir.path() + "\\demo1.wav", dir.path() + "\\demo2.wav"}, 1);
        ASSERT_TRUE(waitForRows(2) &&
                    test::pumpUntil(10000, [&] { return !main->loader().busy(); }));
        std::vector<TrackInfo> more;
        for (const char* title :
             {"Rock & Roll", "\x95\x97\x82\xCC\x93\xB9", "A Title Long Enough To Be Cut"})
            more.push_back(test::entry(title, 200 * test::kSecond));
        for (int i = 6; i <= 20; ++i)
            more.push_back(test::entry("Track " + std::to_string(i), 90 * test::kSecond));
        addEntries(more);
    }
    void command(int id) { SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    void playRow(int row) {
        main->selectRow(row);
        command(1010);
        // The track starts on the play thread; the window knows once Stop is enabled.
        ASSERT_TRUE(test::pumpUntil(10000, [&] {
            return main->waveOut().state == Playing && IsWindowEnabled(item(1012));
        }));
    }
    void shoot(const std::string& name) {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        test::settle(100);  // the X server shows what was drawn a moment later
        RECT r = {};
        GetWindowRect(window, &r);
        test::saveScreen(r, name);
    }
    void shootMenu(const std::string& name, POINT at) {
        g_window = window;
        g_shot = name;
        POINT screen = at;  // popups open at the cursor, where a press leaves it
        ClientToScreen(item(1001), &screen);
        SetCursorPos(screen.x, screen.y);
        UINT_PTR look = SetTimer(nullptr, 0, 50, tarnuvo::shootMenu);
        UINT_PTR guard = SetTimer(nullptr, 0, 3000, test::closeAnyMenu);
        press(WM_LBUTTONDOWN, at);
        KillTimer(nullptr, look);
        KillTimer(nullptr, guard);
    }
};

TEST_F(PanelPlaying, ShotsOfTheListPlayingPausedAndWithEachPopup) {
    playRow(0);
    test::settle(300);
    for (int i = 0; i < 4; ++i) timer(1);
    EXPECT_GT(get(1002, TBM_GETPOS), 0) << "the thumb follows the track";
    shoot("panel-playing");
    command(1011);
    shoot("panel-paused");
    timer(2);
    shoot("panel-paused-blink");
    command(1011);
    shootMenu("panel-popup-mode", middle(modeBox()));
    shootMenu("panel-popup-loop", middle(loopBox()));
    shootMenu("panel-popup-time", {8, lines().timeLine + 4});
    shootMenu("panel-popup-tracks", {8, lines().titleTop + 1});
}

TEST_F(PanelPlaying, AfterTwoHundredRandomSeeksStopStopsAndPlayPlays) {
    playRow(0);
    const uint32_t loopEnd = main->waveOut().loopEnd,
                   max = static_cast<uint32_t>(get(1002, TBM_GETRANGEMAX));
    std::mt19937 random(2024);
    for (int i = 0; i < 200; ++i) {
        const int32_t frames = static_cast<int32_t>(random() % (max + 1));
        if (i % 2) scroll(item(1002), TB_THUMBTRACK);
        SendMessageA(item(1002), TBM_SETPOS, TRUE, frames);
        scroll(item(1002), TB_THUMBPOSITION);
        scroll(item(1002), TB_ENDTRACK);
        ASSERT_EQ(main->waveOut().state, Playing) << i;
        ASSERT_EQ(get(1002, TBM_GETPOS), std::min(frames, static_cast<int32_t>(loopEnd))) << i;
    }
    command(1012);
    const LONGLONG stopped = captureSize();
    test::settle(300);
    EXPECT_EQ(captureSize(), stopped) << "nothing plays after Stop";
    command(1010);
    EXPECT_TRUE(test::pumpUntil(3000, [&] { return captureSize() > 65536; })) << "Play plays";
}

TEST_F(PanelPlaying, TheVolumeKeepsItsPlaceAcrossTwoTracks) {
    SendMessageA(item(1020), TBM_SETPOS, TRUE, 437);
    scroll(item(1020), TB_THUMBPOSITION);
    playRow(0);
    command(1012);
    playRow(1);
    EXPECT_EQ(get(1020, TBM_GETPOS), 437);
}

}  // namespace
}  // namespace tarnuvo
