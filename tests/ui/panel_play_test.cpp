// The panel and the sliders with real tracks playing through the capture
// device: a 20-entry list while playing, paused and with each popup open
// (screenshots), random seeks followed by Stop and Play, and the volume
// across two tracks.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "panel_test_support.h"
#include "playlist/track_text.h"

namespace tarnuvo {
namespace {

using test::kSecond;
using test::PanelDialog;

std::string capturePath() {
    const char* unix = std::getenv("TARNUVO_CAPTURE");
    return unix ? test::winePath(unix) : std::string();
}

LONGLONG captureSize() {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(capturePath().c_str(), GetFileExInfoStandard, &data)) return -1;
    return (LONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Saves the window, and an open popup menu with it, while the menu's loop runs.
std::string g_shotName;
HWND g_shotWindow = nullptr;
bool g_shotTaken = false;
void CALLBACK shootMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (!popup || !IsWindowVisible(popup)) return;
    KillTimer(nullptr, timer);
    RECT menu = {}, window = {}, both = {};
    GetWindowRect(popup, &menu);
    GetWindowRect(g_shotWindow, &window);
    UnionRect(&both, &menu, &window);
    test::saveScreen(both, g_shotName);
    g_shotTaken = true;
    EndMenu();
}

class PanelPlay : public PanelDialog {
protected:
    void SetUp() override {
        PanelDialog::SetUp();
        const std::string titles[] = {"Morning Light", "Rock & Roll", test::sjis("風の道"),
                                      "A Title Long Enough To Be Cut In The Track Popup"};
        for (int i = 1; i <= 20; ++i) {
            const std::string title =
                i <= 4 ? titles[i - 1] : "Track " + std::to_string(i) + " of the demo list";
            const std::string path = dir / ("track" + std::to_string(i) + ".wav");
            // Every other track loops from 0.5 s to 2 s.
            const uint32_t frames = (3 + i % 4) * 44100;
            test::writeFile(path,
                            test::wavFile(frames, title, i % 2 ? 22050 : 0, i % 2 ? 88200 : 0));
            paths.push_back(path);
        }
    }

    void startWithList() {
        start();
        ASSERT_EQ(main->startLoading(paths, 1), 1);
        ASSERT_TRUE(waitForRows(20));
        ASSERT_TRUE(test::pumpUntil(10000, [&] { return !main->loader.busy(); }));
        test::settle();
    }
    void command(int id) { SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    void playRow(int row) {
        main->selectRow(row);
        main->onSelectionChanged();
        command(1010);
        ASSERT_EQ(main->waveOut.state, Playing);
    }
    // A few rounds of the refresh timer, as 50 ms of running would give.
    void refresh() {
        for (int i = 0; i < 4; ++i) {
            timer(1);
            test::settle(20);
        }
    }
    void shootWithMenu(const std::string& name, POINT at) {
        g_shotName = name;
        g_shotWindow = window;
        g_shotTaken = false;
        UINT_PTR look = SetTimer(nullptr, 0, 50, shootMenu);
        UINT_PTR guard = SetTimer(nullptr, 0, 3000, test::closeAnyMenu);
        // The popups open at the cursor, which a person's press leaves there.
        POINT screen = at;
        ClientToScreen(panel(), &screen);
        SetCursorPos(screen.x, screen.y);
        press(WM_LBUTTONDOWN, at.x, at.y);
        KillTimer(nullptr, look);
        KillTimer(nullptr, guard);
        EXPECT_TRUE(g_shotTaken) << name;
    }
    void shootWindow(const std::string& name) {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        test::settle(50);
        RECT r = {};
        GetWindowRect(window, &r);
        test::saveScreen(r, name);
    }
    LRESULT thumb() const { return sliderValue(seek(), TBM_GETPOS); }

    std::vector<std::string> paths;
};

TEST_F(PanelPlay, TwentyEntriesPlayingPausedAndWithEachPopupOpen) {
    startWithList();
    playRow(2);
    test::settle(300);
    refresh();
    // The playing entry's title line: "03." and its title.
    EXPECT_GT(
        test::countPixels(buffer(), {4, lines().titleTop, panelWidth() - 4, timeLine()}, text()),
        20);
    EXPECT_GT(thumb(), 0) << "the thumb follows the track";
    shootWindow("panel-playing");

    command(1011);
    ASSERT_EQ(main->waveOut.state, Paused);
    char time[kTimeTextSize + 1];
    formatTime(main->pausedPosition, time);
    const RECT shown = timeFromFonts(time);
    EXPECT_GT(test::countPixels(buffer(), shown, text()), 10);
    shootWindow("panel-paused");
    timer(2);
    EXPECT_EQ(test::countPixels(buffer(), shown, text()), 0) << "the paused time blinks";
    shootWindow("panel-paused-blink");
    timer(2);
    command(1011);
    ASSERT_EQ(main->waveOut.state, Playing);

    shootWithMenu("panel-popup-mode", middle(modeBoxFromFonts()));
    shootWithMenu("panel-popup-loop", middle(loopBoxFromFonts()));
    shootWithMenu("panel-popup-time", {8, timeLine() + 4});
    shootWithMenu("panel-popup-tracks", {8, lines().titleTop + 1});
    command(1012);
    EXPECT_EQ(main->waveOut.state, Stopped);
}

TEST_F(PanelPlay, AfterTwoHundredRandomSeeksStopStopsAndPlayPlays) {
    startWithList();
    playRow(0);  // 4 s, looping from 0.5 s to 2 s
    const auto max = static_cast<int32_t>(sliderValue(seek(), TBM_GETRANGEMAX));
    ASSERT_EQ(max, 4 * 44100);
    std::mt19937 random(20240611);
    for (int i = 0; i < 200; ++i) {
        const int32_t frames = static_cast<int32_t>(random() % (max + 1));
        switch (i % 3) {
            case 0:  // a drop
                SendMessageA(seek(), TBM_SETPOS, TRUE, frames);
                scroll(seek(), TB_THUMBPOSITION);
                break;
            case 1:  // a whole drag
                scroll(seek(), TB_THUMBTRACK);
                ASSERT_EQ(main->waveOut.state, Paused) << i;
                SendMessageA(seek(), TBM_SETPOS, TRUE, frames);
                scroll(seek(), TB_THUMBTRACK);
                scroll(seek(), TB_THUMBPOSITION);
                scroll(seek(), TB_ENDTRACK);
                break;
            default: {  // a key
                const WPARAM key = random() % 2 ? VK_RIGHT : VK_LEFT;
                SendMessageA(seek(), WM_KEYDOWN, key, 0);
                SendMessageA(seek(), WM_KEYUP, key, 0);
                break;
            }
        }
        ASSERT_EQ(main->waveOut.state, Playing) << i;
        // The loop is in effect: nothing is played beyond its end.
        ASSERT_LE(thumb(), 2 * 44100) << i;
        if (i % 3 == 0) {
            ASSERT_EQ(thumb(), std::min(frames, 2 * 44100)) << i;
        }
    }
    command(1012);
    EXPECT_EQ(main->waveOut.state, Stopped);
    const LONGLONG stopped = captureSize();
    test::settle(300);
    EXPECT_EQ(captureSize(), stopped) << "nothing plays after Stop";
    EXPECT_EQ(thumb(), 0);

    command(1010);
    EXPECT_EQ(main->waveOut.state, Playing);
    EXPECT_TRUE(test::pumpUntil(3000, [&] { return captureSize() > 4 * 8192; }))
        << "Play plays again";
    command(1012);
}

TEST_F(PanelPlay, TheVolumeSliderKeepsItsPlaceAcrossTwoTracks) {
    startWithList();
    SendMessageA(volume(), TBM_SETPOS, TRUE, 437);
    scroll(volume(), TB_THUMBPOSITION);
    playRow(3);
    EXPECT_EQ(sliderValue(volume(), TBM_GETPOS), 437);
    command(1012);
    playRow(4);
    EXPECT_EQ(sliderValue(volume(), TBM_GETPOS), 437);
    char label[64] = {};
    GetWindowTextA(item(1021), label, sizeof label);
    EXPECT_EQ(std::string(label), test::sjis("waveOut音量"));
    int32_t level = 0;
    main->waveOut.getVolume(&level);
    EXPECT_EQ(level & 0xFFFF, 437 * 65535 / 1000);
    command(1012);
}

}  // namespace
}  // namespace tarnuvo
