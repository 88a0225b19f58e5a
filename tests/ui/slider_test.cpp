// The seek slider in frames, seeking by drag, keys and clicks; the volume
// slider, its label and the tooltip texts; the timers while the window hides
// in the tray.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel_test_support.h"

namespace tarnuvo {
namespace {

using test::kSecond;
using test::PanelDialog;

// The gain of a slider position, both channels: s thousandths of 65535.
uint32_t gainOf(int position) {
    const auto v = static_cast<uint32_t>(uint64_t(position) * 65535 / 1000);
    return v | (v << 16);
}

std::vector<HICON> g_trayIcons;
BOOL WINAPI noteTrayIcon(DWORD message, PNOTIFYICONDATAA data) {
    if (message == NIM_MODIFY && (data->uFlags & NIF_ICON)) g_trayIcons.push_back(data->hIcon);
    return TRUE;
}

class Sliders : public PanelDialog {
protected:
    // A playing track of `length` bytes looping from 1 s to 5 s.
    void playLooped(uint32_t length = 10 * kSecond) {
        addEntries({test::entry("Song", length, 44100, 5 * 44100)});
        useFake(test::entry("Song", length, 44100, 5 * 44100));
        main->setupSeekSlider(fake);
        EnableWindow(seek(), TRUE);
    }
    // A key on the slider, which moves its thumb and then tells the window.
    void key(UINT virtualKey) {
        SendMessageA(seek(), WM_KEYDOWN, virtualKey, 0);
        SendMessageA(seek(), WM_KEYUP, virtualKey, 0);
    }
    void dropAt(int32_t frames, int highWord = 0) {
        SendMessageA(seek(), TBM_SETPOS, TRUE, frames);
        scroll(seek(), TB_THUMBPOSITION, highWord);
    }
    LRESULT position() const { return sliderValue(seek(), TBM_GETPOS); }
    RECT channel() const {
        RECT r = {};
        SendMessageA(seek(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    RECT thumb() const {
        RECT r = {};
        SendMessageA(seek(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    void clickSlider(int x, int y) {
        SendMessageA(seek(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageA(seek(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    std::string tipA(HWND tool) {
        NMTTDISPINFOA info = {};
        info.hdr.hwndFrom = main->tooltips;
        info.hdr.idFrom = reinterpret_cast<UINT_PTR>(tool);
        info.hdr.code = TTN_GETDISPINFOA;
        info.uFlags = TTF_IDISHWND;
        SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        return textOf(info.lpszText, info.hinst);
    }
    std::wstring tipW(UINT_PTR id, UINT flags) {
        NMTTDISPINFOW info = {};
        info.hdr.hwndFrom = main->tooltips;
        info.hdr.idFrom = id;
        info.hdr.code = TTN_GETDISPINFOW;
        info.uFlags = flags;
        SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        if (!info.lpszText) return L"";
        if (IS_INTRESOURCE(info.lpszText)) {
            wchar_t text[128] = {};
            LoadStringW(info.hinst, LOWORD(reinterpret_cast<UINT_PTR>(info.lpszText)), text, 128);
            return text;
        }
        return info.lpszText;
    }
    static std::string textOf(const char* text, HINSTANCE module) {
        if (!text) return "";
        if (!IS_INTRESOURCE(text)) return text;
        char loaded[128] = {};
        LoadStringA(module, LOWORD(reinterpret_cast<UINT_PTR>(text)), loaded, sizeof loaded);
        return loaded;
    }
    void setVolumeSlider(int position) {
        SendMessageA(volume(), TBM_SETPOS, TRUE, position);
        scroll(volume(), TB_THUMBPOSITION);
    }
};

TEST_F(Sliders, ALoopedTrackSetsRangeStepsAndSelectionInFrames) {
    start();
    playLooped();
    EXPECT_EQ(sliderValue(seek(), TBM_GETRANGEMIN), 0);
    EXPECT_EQ(sliderValue(seek(), TBM_GETRANGEMAX), 10 * 44100);
    EXPECT_EQ(sliderValue(seek(), TBM_GETPAGESIZE), 5 * 44100);
    EXPECT_EQ(sliderValue(seek(), TBM_GETLINESIZE), 44100);
    EXPECT_EQ(sliderValue(seek(), TBM_GETSELSTART), 44100);
    EXPECT_EQ(sliderValue(seek(), TBM_GETSELEND), 5 * 44100);
    EXPECT_EQ(position(), 0);
    // A track without a loop has no selection.
    main->setupSeekSlider(test::entry("Plain", 10 * kSecond));
    EXPECT_EQ(sliderValue(seek(), TBM_GETSELSTART), sliderValue(seek(), TBM_GETSELEND));
}

TEST_F(Sliders, ASeekTargetAboveSixteenBitsReachesThePlayer) {
    start();
    addEntries({test::entry("Long", 120 * kSecond)});
    useFake(test::entry("Long", 120 * kSecond));
    main->setupSeekSlider(fake);
    EnableWindow(seek(), TRUE);
    // One minute, with a scroll message whose position word says otherwise.
    dropAt(60 * 44100, 0x1234);
    ASSERT_EQ(fake.seeks.size(), 1u);
    EXPECT_EQ(fake.seeks[0], 60 * kSecond);
    EXPECT_EQ(fake.state, Playing) << "started again at the target";
    EXPECT_EQ(position(), 60 * 44100) << "the thumb stays at the target";
    // Keys carry no position at all.
    key(VK_RIGHT);
    ASSERT_EQ(fake.seeks.size(), 2u);
    EXPECT_EQ(fake.seeks[1], 61 * kSecond);
    key(VK_PRIOR);
    EXPECT_EQ(fake.seeks.back(), 56 * kSecond);
    key(VK_HOME);
    EXPECT_EQ(fake.seeks.back(), 0u);
    EXPECT_EQ(fake.state, Playing);
}

TEST_F(Sliders, ALengthOfThreeBillionBytesFitsTheSlider) {
    start();
    addEntries({test::entry("Huge", 3000000000u)});
    useFake(test::entry("Huge", 3000000000u));
    main->setupSeekSlider(fake);
    EXPECT_EQ(sliderValue(seek(), TBM_GETRANGEMAX), 750000000);
    dropAt(700000000);
    ASSERT_EQ(fake.seeks.size(), 1u);
    EXPECT_EQ(fake.seeks[0], 2800000000u);
    fake.playPosition = 2999999996u;
    main->paintState = PaintPainted;
    timer(1);
    EXPECT_EQ(position(), 749999999);
}

TEST_F(Sliders, ADropBeyondTheLoopEndContinuesAtTheLoopEnd) {
    start();
    playLooped();
    ASSERT_EQ(fake.rangeEnd, 5 * kSecond);
    dropAt(8 * 44100);
    ASSERT_EQ(fake.seeks.size(), 1u);
    EXPECT_EQ(fake.seeks[0], 5 * kSecond);
    EXPECT_EQ(position(), 5 * 44100);
    // Inside the loop the drop point is kept.
    dropAt(3 * 44100);
    EXPECT_EQ(fake.seeks.back(), 3 * kSecond);
}

TEST_F(Sliders, AfterThePassesTheTailCanBeReached) {
    start();
    main->env.playMode = RepeatAll;
    main->env.loopCount = 1;
    playLooped();
    // The graph player has heard its pass but left the range at the loop end.
    fake.goesOnAfterSeek = true;
    fake.loopsDone = fake.loopsRead = 1;
    ASSERT_EQ(fake.rangeEnd, 5 * kSecond);
    dropAt(8 * 44100);
    ASSERT_EQ(fake.seeks.size(), 1u);
    EXPECT_EQ(fake.seeks[0], 8 * kSecond);
    EXPECT_EQ(fake.plays, 0) << "the graph goes on by itself";
}

TEST_F(Sliders, DraggingPausesAndTheDropOrTheEndResumes) {
    start();
    playLooped();
    fake.playPosition = 2 * kSecond;
    scroll(seek(), TB_THUMBTRACK);
    EXPECT_EQ(fake.state, Paused);
    scroll(seek(), TB_THUMBTRACK);
    EXPECT_EQ(fake.pauses, std::vector<int32_t>{kPauseOn}) << "paused once for the drag";
    EXPECT_EQ(main->pausedPosition, 2 * kSecond);
    dropAt(3 * 44100);
    EXPECT_EQ(fake.state, Playing);
    scroll(seek(), TB_ENDTRACK);
    EXPECT_EQ(fake.pauses, std::vector<int32_t>{kPauseOn}) << "the drop restarted it";

    // A drag that ends without a drop plays on where it was.
    fake.pauses.clear();
    scroll(seek(), TB_THUMBTRACK);
    scroll(seek(), TB_ENDTRACK);
    EXPECT_EQ(fake.state, Playing);
    EXPECT_EQ(fake.pauses, (std::vector<int32_t>{kPauseOn, kPauseOff}));

    // A track the user paused stays paused when the drag comes to nothing...
    fake.pauses.clear();
    fake.state = Paused;
    scroll(seek(), TB_THUMBTRACK);
    scroll(seek(), TB_ENDTRACK);
    EXPECT_EQ(fake.state, Paused);
    EXPECT_TRUE(fake.pauses.empty());
    // ...and plays from the drop point when it drops.
    dropAt(2 * 44100);
    EXPECT_EQ(fake.state, Playing);
    EXPECT_EQ(fake.seeks.back(), 2 * kSecond);
}

TEST_F(Sliders, ATrackThatCannotSeekOrHasNoLengthIgnoresTheSlider) {
    start();
    playLooped();
    fake.seekable = 0;
    dropAt(3 * 44100);
    key(VK_RIGHT);
    scroll(seek(), TB_THUMBTRACK);
    EXPECT_TRUE(fake.seeks.empty());
    EXPECT_EQ(fake.state, Playing);
    clickSlider(channel().right - 2, (channel().top + channel().bottom) / 2);
    EXPECT_TRUE(fake.seeks.empty());

    fake.seekable = 1;
    fake.length = 0;
    dropAt(3 * 44100);
    clickSlider(channel().right - 2, (channel().top + channel().bottom) / 2);
    EXPECT_TRUE(fake.seeks.empty());
}

TEST_F(Sliders, AClickOnTheChannelSeeksThereAndBeyondTheRangeStopsAtItsEnd) {
    start();
    playLooped();
    const RECT c = channel(), t = thumb();
    const int y = (c.top + c.bottom) / 2;
    const int half = (t.right - t.left) / 2;
    const int span = c.right - half - c.left;
    ASSERT_GT(span, 0);
    // A point inside the loop range: a fifth of the way.
    const int x = c.left + span / 5;
    ASSERT_GT(x, t.right) << "away from the thumb";
    clickSlider(x, y);
    ASSERT_EQ(fake.seeks.size(), 1u);
    const double frames = 441000.0 / span * (x - c.left);
    EXPECT_EQ(fake.seeks[0], static_cast<uint32_t>(frames) * 4u);
    EXPECT_EQ(position(), static_cast<LRESULT>(frames));
    // Beyond the loop end: the loop end.
    clickSlider(c.right - 1, y);
    ASSERT_EQ(fake.seeks.size(), 2u);
    EXPECT_EQ(fake.seeks[1], 5 * kSecond);
    EXPECT_EQ(position(), 5 * 44100);
}

TEST_F(Sliders, TheVolumeTooltipReadsDecibelsInBothForms) {
    start();
    const struct {
        int position;
        const char* text;
    } cases[] = {{1000, "-0.00 dB"}, {500, "-6.02 dB"}, {0, "-100.00 dB"}};
    for (const auto& c : cases) {
        setVolumeSlider(c.position);
        EXPECT_EQ(tipA(volume()), c.text) << c.position;
        std::string narrow(c.text);
        EXPECT_EQ(tipW(reinterpret_cast<UINT_PTR>(volume()), TTF_IDISHWND),
                  std::wstring(narrow.begin(), narrow.end()));
    }
    int32_t level = 0;
    setVolumeSlider(1000);
    main->waveOut.getVolume(&level);
    EXPECT_EQ(static_cast<uint32_t>(level), 0xFFFFFFFFu) << "both channels at full volume";
    setVolumeSlider(0);
    main->waveOut.getVolume(&level);
    EXPECT_EQ(level, 0);
}

TEST_F(Sliders, ButtonsAndToolbarCommandsReadTheirStrings) {
    start();
    EXPECT_EQ(tipA(item(1010)), test::sjis("再生"));
    EXPECT_EQ(tipA(item(1016)), test::sjis("ファイルを開く"));
    EXPECT_EQ(tipW(reinterpret_cast<UINT_PTR>(item(1012)), TTF_IDISHWND), L"停止");
    EXPECT_EQ(tipW(40000, 0), L"リストを開く (Ctrl+O)");
    EXPECT_EQ(tipW(40500, 0), L"バージョン情報");
    // Other tools' questions are left to their owners.
    EXPECT_EQ(tipW(12345, 0), L"");
}

TEST_F(Sliders, TheTooltipControlGetsItsTextsInTheFormItChooses) {
    start();
    auto tipOf = [&](HWND tool) {
        char text[256] = {};
        TOOLINFOA info = {};
        info.cbSize = sizeof info;
        info.hwnd = window;
        info.uId = reinterpret_cast<UINT_PTR>(tool);
        info.lpszText = text;
        SendMessageA(main->tooltips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
        return std::string(text);
    };
    EXPECT_EQ(tipOf(item(1011)), test::sjis("一時停止"));
    setVolumeSlider(500);
    EXPECT_EQ(tipOf(volume()), "-6.02 dB");
}

TEST_F(Sliders, TheVolumeFollowsThePlayerItDrives) {
    prepare();
    // A level that plain truncation would show one position low.
    main->waveOut.setVolume(gainOf(437));
    open();
    EXPECT_EQ(sliderValue(volume(), TBM_GETPOS), 437) << "at start-up";

    main->directShow.setVolume(gainOf(250));
    main->setVolumeTarget(true);
    char label[64] = {};
    GetWindowTextA(item(1021), label, sizeof label);
    EXPECT_EQ(std::string(label), test::sjis("DirectShow音量"));
    EXPECT_EQ(sliderValue(volume(), TBM_GETPOS), 250);
    setVolumeSlider(300);
    int32_t level = 0;
    main->waveOut.getVolume(&level);
    EXPECT_EQ(static_cast<uint32_t>(level), gainOf(437)) << "untouched";
    main->directShow.getVolume(&level);
    EXPECT_EQ(static_cast<uint32_t>(level), gainOf(300));
    main->setVolumeTarget(false);
    GetWindowTextA(item(1021), label, sizeof label);
    EXPECT_EQ(std::string(label), test::sjis("waveOut音量"));
    EXPECT_EQ(sliderValue(volume(), TBM_GETPOS), 437);
}

TEST_F(Sliders, TheDragShowsTheVolumeTipAndItsEndHidesIt) {
    start();
    SendMessageA(volume(), TBM_SETPOS, TRUE, 500);
    scroll(volume(), TB_THUMBTRACK);
    EXPECT_TRUE(IsWindowVisible(main->tooltips));
    int32_t level = 0;
    main->waveOut.getVolume(&level);
    EXPECT_EQ(level & 0xFFFF, 32767);
    scroll(volume(), TB_ENDTRACK);
    EXPECT_FALSE(IsWindowVisible(main->tooltips));
}

TEST_F(Sliders, HiddenInTheTrayTheTimersRestButTheIconAnimates) {
    start();
    playLooped();
    ASSERT_TRUE(main->trayPresent);
    std::vector<HICON>& shown = g_trayIcons;
    shown.clear();
    main->tray.shellNotify = noteTrayIcon;
    SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_FALSE(IsWindowVisible(window));

    fake.playPosition = 3 * kSecond;
    main->paintState = PaintPainted;
    const std::vector<COLORREF> band = test::pixelsOf(buffer(), timeFromFonts("00:00.00"));
    for (int i = 0; i < 4; ++i) timer(1);
    EXPECT_EQ(position(), 0) << "the thumb rests";
    EXPECT_EQ(test::pixelsOf(buffer(), timeFromFonts("00:00.00")), band) << "the time rests";
    fake.state = Paused;
    const bool blink = main->blinkVisible;
    timer(2);
    EXPECT_EQ(main->blinkVisible, blink);

    fake.state = Playing;
    for (int i = 0; i < 4; ++i) timer(3);
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_NE(shown[0], shown[1]);
    EXPECT_EQ(shown[0], shown[2]);
    EXPECT_EQ(shown[1], shown[3]);
    EXPECT_TRUE(shown[0] == main->trayIcons[0].get() || shown[0] == main->trayIcons[1].get());
    fake.state = Paused;
    timer(3);
    EXPECT_EQ(shown.size(), 4u) << "still while paused";
    main->tray.shellNotify = Shell_NotifyIconA;
}

}  // namespace
}  // namespace tarnuvo
