// The window's layout: minimising and restoring, resizing within the limits,
// and hiding and showing the playlist.
#include <windows.h>

#include <gtest/gtest.h>

#include "views_fixture.h"

namespace tarnuvo {
namespace {

using test::Layout;
using test::shifted;
using test::Views;

TEST_F(Views, MinimisingAndRestoringKeepsEveryLayoutRectangle) {
    start();
    const Layout before = layout();
    const SIZE clientBefore = client();
    ASSERT_EQ(records(), before);
    const auto panelSize = [&] {
        RECT r = {};
        GetClientRect(item(1001), &r);
        return SIZE{r.right, r.bottom};
    };
    const SIZE panel = panelSize();

    // What a minimise reports, sent as the system sends it.
    SendMessageA(window, WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(layout(), before);
    EXPECT_EQ(records(), before);

    // The system's own minimise, as without a tray icon.
    main->trayPresent = false;
    SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    test::settle();
    EXPECT_TRUE(IsIconic(window));
    ShowWindow(window, SW_RESTORE);
    test::settle();
    EXPECT_FALSE(IsIconic(window));
    EXPECT_EQ(client().cx, clientBefore.cx);
    EXPECT_EQ(client().cy, clientBefore.cy);
    EXPECT_EQ(layout(), before);
    EXPECT_EQ(records(), before);

    ShowWindow(window, SW_MINIMIZE);
    test::settle();
    ShowWindow(window, SW_RESTORE);
    test::settle();
    EXPECT_EQ(layout(), before);
    EXPECT_EQ(records(), before);
    // The panel's image is as large as the panel again.
    EXPECT_EQ(main->panelBuffer.width(), panel.cx);
    EXPECT_EQ(main->panelBuffer.height(), panel.cy);
    main->trayPresent = true;
}

TEST_F(Views, ResizingStretchesTheListAndMovesTheLowerControls) {
    start();
    const Layout before = layout();
    const SIZE clientBefore = client();
    RECT outer = {};
    GetWindowRect(window, &outer);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + 130,
                 outer.bottom - outer.top + 90, SWP_NOMOVE | SWP_NOZORDER);
    test::settle();
    const LONG dW = client().cx - clientBefore.cx;
    const LONG dH = client().cy - clientBefore.cy;
    ASSERT_EQ(dW, 130);
    ASSERT_EQ(dH, 90);
    const Layout after = layout();
    EXPECT_EQ(after[0], shifted(before[0], 0, 0, dW, dH)) << "list";
    EXPECT_EQ(after[1], shifted(before[1], 0, dH, dW, 0)) << "panel";
    EXPECT_EQ(after[2], shifted(before[2], 0, dH, dW, 0)) << "seek slider";
    EXPECT_EQ(after[3], shifted(before[3], dW, dH, 0, 0)) << "volume slider";
    EXPECT_EQ(after[4], shifted(before[4], dW, dH, 0, 0)) << "volume label";
    for (int i = 5; i < 12; ++i) EXPECT_EQ(after[i], shifted(before[i], 0, dH, 0, 0)) << i;
    EXPECT_EQ(records(), after);
    EXPECT_EQ(test::clientRectOf(window, 1500).right, client().cx) << "the toolbar spans it";

    // No smaller than 400 x 300 while the list is shown.
    SetWindowPos(window, nullptr, 0, 0, 150, 120, SWP_NOMOVE | SWP_NOZORDER);
    test::settle();
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 400);
    EXPECT_EQ(outer.bottom - outer.top, 300);
    const Layout smallest = layout();
    const LONG dW2 = client().cx - clientBefore.cx;
    const LONG dH2 = client().cy - clientBefore.cy;
    EXPECT_EQ(smallest[0], shifted(before[0], 0, 0, dW2, dH2));
    EXPECT_EQ(smallest[3], shifted(before[3], dW2, dH2, 0, 0));
}

TEST_F(Views, HidingAndShowingThePlaylistReturnsEveryControlToItsPlace) {
    start();
    const Layout before = layout();
    const LONG height = test::heightOf(window);
    const LONG listBottom = before[0].bottom;
    SetFocus(item(1000));
    ASSERT_EQ(GetFocus(), item(1000));

    SendMessageA(window, WM_COMMAND, 40100, 0);
    EXPECT_FALSE(IsWindowVisible(item(1000)));
    EXPECT_FALSE(IsWindowVisible(item(1500)));
    EXPECT_TRUE(IsWindowVisible(item(1030))) << "the etched line is shown again";
    EXPECT_EQ(test::heightOf(window), height - listBottom);
    const Layout hidden = layout();
    for (int i = 1; i < 12; ++i)
        EXPECT_EQ(hidden[i], shifted(before[i], 0, -listBottom, 0, 0)) << i;
    // The focus left the hidden list for a control that can be seen.
    HWND focus = GetFocus();
    EXPECT_NE(focus, item(1000));
    EXPECT_TRUE(focus && IsWindowVisible(focus) && IsWindowEnabled(focus));

    // Only wider while hidden: the height is locked.
    RECT outer = {};
    GetWindowRect(window, &outer);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + 60,
                 outer.bottom - outer.top + 80, SWP_NOMOVE | SWP_NOZORDER);
    test::settle();
    EXPECT_EQ(test::heightOf(window), height - listBottom);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER);

    SendMessageA(window, WM_COMMAND, 40100, 0);
    test::settle();
    EXPECT_TRUE(IsWindowVisible(item(1000)));
    EXPECT_TRUE(IsWindowVisible(item(1500)));
    EXPECT_EQ(test::heightOf(window), height);
    EXPECT_EQ(layout(), before);
    EXPECT_EQ(records(), before);
}

TEST_F(Views, TheWindowWithThePlaylistShownAndHidden) {
    start();
    loadCopies({"one.wav", "two.wav", "three.wav"});
    select(1);
    notify(NM_CLICK, 1);
    SetForegroundWindow(window);
    test::settle(300);
    EXPECT_TRUE(test::saveScreenshot(window, test::screenshotPath("playlist-shown.png")));
    SendMessageA(window, WM_COMMAND, 40100, 0);
    test::settle(300);
    EXPECT_TRUE(test::saveScreenshot(window, test::screenshotPath("playlist-hidden.png")));
    // The panel sits right under the menu once the list and the toolbar are gone.
    EXPECT_LT(test::clientRectOf(window, 1001).top, 20);
}

}  // namespace
}  // namespace tarnuvo
