// The real window's information panel, sliders, tooltips and timers, driven by
// messages with a player the test controls.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "panel_test_support.h"
#include "ui/info_panel_painter.h"

namespace tarnuvo {
namespace {

using test::entry;
using test::kSecond;

std::vector<HICON> g_trayIcons;
BOOL WINAPI noteTrayIcon(DWORD message, PNOTIFYICONDATAA data) {
    if (message == NIM_MODIFY && (data->uFlags & NIF_ICON)) g_trayIcons.push_back(data->hIcon);
    return TRUE;
}

class Panel : public test::PanelDialog {
protected:
    // The time line as the test's own record paints it, against the panel's.
    int timeLineDifferences(const char* time, const char* length, const char* count) {
        PanelContent c;
        std::snprintf(c.time, sizeof c.time, "%s", time);
        std::snprintf(c.length, sizeof c.length, "%s", length);
        std::snprintf(c.counter, sizeof c.counter, "%s", count);
        PanelLook look;
        look.text = text();
        look.back = main->environment().colorBack;
        look.timeFont = main->environment().timeFont.get();
        look.infoFont = main->environment().infoFont.get();
        look.lines = lines();
        BackBuffer own;
        own.rebuild(window, view().panel().buffer().width(), lines().height, look.back, look.text);
        paintPanel(own, c, look, false, {});
        int n = 0;
        for (LONG y = lines().timeLine; y < lines().loopLine - 1; ++y)
            for (LONG x = 0; x < own.width(); ++x)
                n += GetPixel(own.dc(), x, y) != GetPixel(buffer(), x, y);
        return n;
    }
    // The loop box as the test's own record paints it, against the panel's.
    int loopBoxDifferences(const char* name, bool gray = false) {
        PanelContent c;
        c.loopBoxName = name;
        c.loopBoxGray = gray;
        PanelLook look;
        look.text = text();
        look.back = main->environment().colorBack;
        look.infoBoldFont = main->environment().infoBoldFont.get();
        look.lines = lines();
        BackBuffer own;
        own.rebuild(window, view().panel().buffer().width(), lines().height, look.back, look.text);
        paintPanel(own, c, look, true, {});
        const RECT box = loopBox();
        int n = 0;
        for (LONG y = box.top; y < box.bottom; ++y)
            for (LONG x = box.left; x < box.right; ++x)
                n += GetPixel(own.dc(), x, y) != GetPixel(buffer(), x, y);
        return n;
    }
    // What the tooltip control shows for a tool: it asks the window itself.
    std::string shownTip(HWND tool) {
        char text[256] = {};
        TOOLINFOA info = {};
        info.cbSize = sizeof info;
        info.hwnd = window;
        info.uId = reinterpret_cast<UINT_PTR>(tool);
        info.lpszText = text;
        SendMessageA(view().volume().tooltips(), TTM_GETTEXTA, sizeof text,
                     reinterpret_cast<LPARAM>(&info));
        return text;
    }
    // The wide form of the question, which other tooltip controls ask.
    std::wstring wideTip(UINT_PTR id, UINT flags) {
        NMTTDISPINFOW info = {};
        info.hdr = {view().volume().tooltips(), id, TTN_GETDISPINFOW};
        info.uFlags = flags;
        SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        wchar_t loaded[128] = {};
        if (!IS_INTRESOURCE(info.lpszText)) return info.lpszText;
        LoadStringW(info.hinst, LOWORD(reinterpret_cast<UINT_PTR>(info.lpszText)), loaded, 128);
        return loaded;
    }
    HWND seek() const { return item(1002); }
    void dropAt(int32_t frames, int highWord = 0) {
        SendMessageA(seek(), TBM_SETPOS, TRUE, frames);
        scroll(seek(), TB_THUMBPOSITION, highWord);
    }
};

TEST_F(Panel, LinesAPersonLooksAtComeAndGo) {
    start();
    addEntries({entry("First", 10 * kSecond, 5 * 44100), entry("Plain", 10 * kSecond)});
    main->selectRow(1);
    main->onSelectionChanged();
    EXPECT_GT(inkIn(titleLine()), 20);
    EXPECT_GT(inkIn(fileLine()), 20);
    EXPECT_GT(test::countPixels(buffer(), loopBox(), main->environment().colorGray), 100)
        << "no loop: grey";
    EXPECT_EQ(inkIn(loopBox()), 0);
    main->selectRow(0);
    main->onSelectionChanged();
    EXPECT_GT(inkIn(loopBox()), 100) << "a loop";

    useFake(entry("First", 10 * kSecond, 5 * 44100), Paused);
    view().panel().notePausedAt(3 * kSecond);
    view().panel().setBlink(true);
    view().panel().redraw(true, true);
    const RECT time = timeText("00:03.00"),
               length = {time.right, time.top, time.right + 30, time.bottom};
    for (bool shown : {true, false, true, false}) {
        EXPECT_EQ(inkIn(time) > 10, shown);
        EXPECT_GT(inkIn(length), 5) << "the length stays";
        timer(2);
    }
    view().road().makeCurrent(main->waveOut());
    main->playlist().clearList();
    EXPECT_EQ(inkIn(titleLine()), 0);
    EXPECT_EQ(inkIn(fileLine()), 0);
    EXPECT_EQ(timeLineDifferences("00:00.00", " / 00:00.00", "00/00"), 0);
}

TEST_F(Panel, AModeChosenWhileStoppedWithNothingSelectedShowsAtOnce) {
    start();
    addEntries({entry("First", 10 * kSecond), entry("Second", 10 * kSecond)});
    ListView_SetItemState(item(1000), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ASSERT_EQ(main->selectedRow(), -1);
    // Single, Repeat One, Repeat All and Random differ in their ink.
    std::vector<int> inks;
    for (UINT id : {40200u, 40201u, 40202u, 40203u}) {
        SendMessageA(window, WM_COMMAND, id, 0);
        for (int seen : inks) EXPECT_NE(inkIn(modeBox()), seen) << id;
        inks.push_back(inkIn(modeBox()));
    }
}

TEST_F(Panel, LongTimesRenderAndTheRemainderStopsAtZero) {
    start();
    addEntries({entry("Song", 10 * kSecond)});
    useFake(entry("Song", 10 * kSecond));
    main->environment().timeMode = 0;
    fake.total = 6000 * kSecond;
    view().panel().redraw(false, true);
    EXPECT_EQ(timeLineDifferences("+100:00.00", " / 00:10.00", "00/00"), 0);
    fake.length = 0;  // a stream stored without its length, 10 s in
    fake.playPosition = 10 * kSecond;
    main->environment().timeMode = 2;
    view().panel().redraw(false, true);
    EXPECT_EQ(timeLineDifferences("-00:00.00", " / 00:00.00", "00/00"), 0);
}

TEST_F(Panel, AreasOpenTheirMenusAndTheCounterStaysWithin0And99) {
    start();
    std::vector<TrackInfo> list;
    for (int i = 1; i <= 150; ++i) list.push_back(entry("Track " + std::to_string(i), kSecond));
    addEntries(list);
    view().panel().redraw(true, true);
    const struct {
        POINT at;
        std::vector<UINT> ids;
        size_t checked;  // the item of the current setting
    } areas[] = {{middle(modeBox()), {40200, 40201, 40202, 40203}, 1},
                 {middle(loopBox()), {40210, 40220, 40221, 40222, 40223}, 3},
                 {middle(timeText("00:00.00")), {40110, 40111, 40112}, 1}};
    for (const auto& area : areas) {
        test::MenuVisit visit = pressForMenu(area.at);
        EXPECT_EQ(visit.ids, area.ids);
        for (size_t i = 0; i < visit.states.size(); ++i)
            EXPECT_EQ((visit.states[i] & MF_CHECKED) != 0, i == area.checked);
        EXPECT_FALSE(IsMenu(visit.menu)) << "destroyed after use";
    }
    test::MenuVisit tracks = pressForMenu({8, lines().titleTop + 1});
    ASSERT_EQ(tracks.itemCount, 99);
    for (int i = 0; i < 99; ++i) {
        EXPECT_EQ(tracks.ids[i], 45000u + i);
        EXPECT_EQ((tracks.states[i] & MF_MENUBARBREAK) != 0, i % 20 == 0 && i > 0) << i + 1;
    }
    // Stopped with nothing selected: the counter follows each click on screen.
    auto count = [&] {
        char c[8];
        std::snprintf(c, sizeof c, "00/%02d", main->environment().loopCount);
        return middle(counter("00:00.00", " / 00:00.00", c));
    };
    const std::pair<UINT, int> clicks[] = {{WM_LBUTTONDOWN, 1},
                                           {WM_LBUTTONDBLCLK, 2},
                                           {WM_RBUTTONDOWN, 1},
                                           {WM_RBUTTONDBLCLK, 0},
                                           {WM_RBUTTONDOWN, 0}};
    for (const auto& [message, expected] : clicks) {
        press(message, count());
        EXPECT_EQ(main->environment().loopCount, expected);
        EXPECT_EQ(timeLineDifferences("00:00.00", " / 00:00.00",
                                      ("00/0" + std::to_string(expected)).c_str()),
                  0);
    }
    EXPECT_EQ(main->environment().showList, 1)
        << "a double click on the counter keeps the playlist";
    main->environment().loopCount = 99;
    press(WM_LBUTTONDOWN, count());
    EXPECT_EQ(main->environment().loopCount, 99);
    press(WM_LBUTTONDBLCLK, {1, lines().separatorBase + 3});  // outside every area
    EXPECT_EQ(main->environment().showList, 0);
}

TEST_F(Panel, FadeItemsCheckTheirSettingAndRenewThePlayingTracksRangeAndLoopBox) {
    writeSettings("LoopCount=2\r\nPlayMode=0\r\n");
    start();
    addEntries({entry("Song", 10 * kSecond, 5 * 44100)});
    useFake(entry("Song", 10 * kSecond, 5 * 44100));
    // Each command, then FadeOut, FadeLength, the checks of 40220..40223 in
    // the menu and the loop box's popup, and the loop box's name.
    const struct {
        UINT id;
        int32_t fadeOut, lengthMs;
        std::vector<bool> checks;
        const char* box;
        bool gray;
    } steps[] = {{40220, 1, 10000, {1, 0, 1, 0}, "Fade", false},
                 {40221, 1, 5000, {1, 1, 0, 0}, "Fade", false},
                 {40223, 1, 20000, {1, 0, 0, 1}, "Fade", false},
                 {40210, 1, 20000, {1, 0, 0, 1}, "Loop", true},  // the loop ignored: no fade
                 {40210, 1, 20000, {1, 0, 0, 1}, "Fade", false},
                 {40222, 1, 10000, {1, 0, 1, 0}, "Fade", false},
                 {40220, 0, 10000, {0, 0, 1, 0}, "Loop", false}};
    for (const auto& step : steps) {
        const int updates = fake.rangeUpdates;
        SendMessageA(window, WM_COMMAND, step.id, 0);
        EXPECT_EQ(fake.rangeUpdates, updates + 1) << step.id;
        EXPECT_EQ(main->environment().fadeOut, step.fadeOut) << step.id;
        EXPECT_EQ(main->environment().fadeLengthMs, step.lengthMs) << step.id;
        EXPECT_EQ(loopBoxDifferences(step.box, step.gray), 0) << step.id;
        const test::MenuVisit popup = pressForMenu(middle(loopBox()));
        ASSERT_EQ(popup.states.size(), 5u);
        for (UINT i = 0; i < 4; ++i) {
            EXPECT_EQ(test::menuChecked(window, 40220 + i), step.checks[i]) << step.id << " " << i;
            EXPECT_EQ((popup.states[i + 1] & MF_CHECKED) != 0, step.checks[i]) << step.id;
        }
    }
    // Stopped, the selected entry decides; the command shows at once.
    fake.state = Stopped;
    main->selectRow(0);
    main->onSelectionChanged();
    EXPECT_EQ(loopBoxDifferences("Loop"), 0);
    SendMessageA(window, WM_COMMAND, 40220, 0);
    EXPECT_EQ(loopBoxDifferences("Fade"), 0);

    // The remainder counts down to the fade's end while one is in effect.
    main->environment().timeMode = 2;
    fake.playPosition = 3 * kSecond;
    const struct {
        int32_t state;
        int64_t fadeLeft;
        const char* time;
    } times[] = {{Playing, 30 * kSecond, "-00:30.00"},
                 {Playing, -1, "-00:07.00"},
                 {Stopped, 30 * kSecond, "-00:07.00"}};
    for (const auto& t : times) {
        fake.state = t.state;
        fake.fadeLeft = t.fadeLeft;
        view().panel().redraw(false, true);
        EXPECT_EQ(timeLineDifferences(t.time, " / 00:10.00", "00/02"), 0) << t.time;
    }
}

TEST_F(Panel, TheSeekSliderCountsFramesAndSeeksFromItsOwnPosition) {
    start();
    addEntries({entry("Song", 100 * kSecond, 5 * 44100)});
    useFake(entry("Song", 100 * kSecond, 5 * 44100));
    EnableWindow(seek(), TRUE);
    const UINT queries[] = {TBM_GETRANGEMAX, TBM_GETPAGESIZE, TBM_GETLINESIZE, TBM_GETSELSTART,
                            TBM_GETSELEND};
    const LRESULT expected[] = {100 * 44100, 220500, 44100, 44100, 5 * 44100};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(get(1002, queries[i]), expected[i]);
    main->environment().loopIgnore = 1;  // no loop in effect
    fake.applyLoopRange();
    dropAt(60 * 44100, 0x1234);  // one minute: beyond 16 bits
    EXPECT_EQ(fake.seeks, std::vector<uint32_t>{60 * kSecond});
    EXPECT_EQ(fake.state, Playing);
    SendMessageA(seek(), WM_KEYDOWN, VK_NEXT, 0);  // keys carry no position
    EXPECT_EQ(fake.seeks.back(), 65 * kSecond);
    main->environment().loopIgnore = 0;
    dropAt(8 * 44100);
    EXPECT_EQ(fake.seeks.back(), 5 * kSecond) << "beyond the loop end: the loop end";
    EXPECT_EQ(get(1002, TBM_GETPOS), 5 * 44100) << "the thumb at the target";
    // A drag pauses; a drag that ends without a drop plays on.
    fake.pauses.clear();
    scroll(seek(), TB_THUMBTRACK);
    EXPECT_EQ(fake.state, Paused);
    scroll(seek(), TB_ENDTRACK);
    EXPECT_EQ(fake.pauses, (std::vector<int32_t>{kPauseOn, kPauseOff}));
    // A click on the channel beyond the loop stops at its end.
    RECT channel = {};
    SendMessageA(seek(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    SendMessageA(seek(), WM_LBUTTONDOWN, 0, MAKELPARAM(channel.right - 1, channel.top + 1));
    EXPECT_EQ(fake.seeks.size(), 4u);
    EXPECT_EQ(fake.seeks.back(), 5 * kSecond);

    useFake(entry("Huge", 3000000000u));
    EXPECT_EQ(get(1002, TBM_GETRANGEMAX), 750000000);
    dropAt(700000000);
    EXPECT_EQ(fake.seeks.back(), 2800000000u);
    fake.seekable = 0;
    dropAt(1000);
    EXPECT_EQ(fake.seeks.back(), 2800000000u) << "not seekable: nothing";
}

TEST_F(Panel, TooltipTextsInBothForms) {
    start();
    const std::pair<int, std::string> levels[] = {
        {1000, "-0.00 dB"}, {500, "-6.02 dB"}, {0, "-100.00 dB"}};
    const UINT_PTR slider = reinterpret_cast<UINT_PTR>(item(1020));
    for (const auto& [position, decibels] : levels) {
        SendMessageA(item(1020), TBM_SETPOS, TRUE, position);
        scroll(item(1020), TB_THUMBPOSITION);
        EXPECT_EQ(shownTip(item(1020)), decibels);
        EXPECT_EQ(wideTip(slider, TTF_IDISHWND), std::wstring(decibels.begin(), decibels.end()));
    }
    EXPECT_EQ(shownTip(item(1010)), test::sjis("再生"));
    EXPECT_EQ(wideTip(reinterpret_cast<UINT_PTR>(item(1012)), TTF_IDISHWND), L"停止");
    EXPECT_EQ(wideTip(40000, 0), L"リストを開く (Ctrl+O)");
    EXPECT_EQ(wideTip(12345, 0), L"") << "not ours";
    view().volume().setTarget(true);
    char label[64] = {};
    GetWindowTextA(item(1021), label, sizeof label);
    EXPECT_EQ(label, test::sjis("DirectShow音量"));
    EXPECT_EQ(get(1020, TBM_GETPOS), 1000) << "its own, untouched level";
}

TEST_F(Panel, TimersRestInTheTrayWhileTheIconAnimates) {
    start();
    addEntries({entry("Song", 10 * kSecond)});
    useFake(entry("Song", 10 * kSecond));
    fake.playPosition = 4 * kSecond;
    view().panel().setPaintState(PaintIdle);
    timer(1);  // the time line first...
    EXPECT_EQ(timeLineDifferences("00:04.00", " / 00:10.00", "00/00"), 0);
    EXPECT_EQ(get(1002, TBM_GETPOS), 0);
    timer(1);  // ...then the thumb
    EXPECT_EQ(get(1002, TBM_GETPOS), 44100 * 4);

    g_trayIcons.clear();
    view().tray().useShell(noteTrayIcon);
    SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_FALSE(IsWindowVisible(window));
    fake.playPosition = 6 * kSecond;
    for (int i = 0; i < 4; ++i) timer(1);
    EXPECT_EQ(get(1002, TBM_GETPOS), 44100 * 4);
    EXPECT_EQ(timeLineDifferences("00:04.00", " / 00:10.00", "00/00"), 0);
    fake.state = Paused;
    timer(2);
    EXPECT_TRUE(view().panel().blinkVisible());
    fake.state = Playing;
    for (int i = 0; i < 3; ++i) timer(3);
    ASSERT_EQ(g_trayIcons.size(), 3u);
    EXPECT_NE(g_trayIcons[0], g_trayIcons[1]);
    EXPECT_EQ(g_trayIcons[0], g_trayIcons[2]);
    view().tray().useShell(Shell_NotifyIconA);
}

TEST_F(Panel, RedrawsAndRebuildsLeaveNoGdiObjectBehind) {
    start();
    addEntries({entry("Song", 10 * kSecond, 5 * 44100)});
    useFake(entry("Song", 10 * kSecond, 5 * 44100));
    view().panel().redraw(true, true);
    const int32_t live = liveGdiObjects.load();
    for (int i = 0; i < 100000; ++i) view().panel().redraw(false, i % 1000 == 0);
    EXPECT_EQ(liveGdiObjects.load(), live);
    for (int i = 0; i < 1000; ++i) {
        view().panel().rebuild();
        view().panel().redraw(true, i % 100 == 0);
    }
    EXPECT_EQ(liveGdiObjects.load(), live);
    // A leak outside the owners would have used up the system's objects by now.
    HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_NE(probe, nullptr);
    DeleteObject(probe);
    EXPECT_GT(inkIn(modeBox()), 100) << "the panel still draws";
}

}  // namespace
}  // namespace tarnuvo
