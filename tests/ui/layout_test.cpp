// The window's layout: minimising and restoring, resizing within the limits,
// and hiding and showing the playlist.
#include <gtest/gtest.h>

#include "views_fixture.h"

namespace tarnuvo {
namespace {

using test::Layout;
using test::moved;
using test::Views;

TEST_F(Views, MinimisingAndRestoringKeepsEveryLayoutRectangle) {
    start();
    const Layout before = layout();
    ASSERT_EQ(records(), before);
    RECT panel = {};
    GetClientRect(item(1001), &panel);
    // As the system reports a minimise, then the system's own minimise (no
    // tray icon) and a minimise by ShowWindow.
    SendMessageA(window, WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(layout(), before);
    view().tray().remove();
    SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(window));
    ShowWindow(window, SW_RESTORE);
    ShowWindow(window, SW_MINIMIZE);
    ShowWindow(window, SW_RESTORE);
    EXPECT_FALSE(IsIconic(window));
    EXPECT_EQ(layout(), before);
    EXPECT_EQ(records(), before);
    EXPECT_EQ(view().panel().buffer().width(), panel.right) << "the panel's image fits it again";
    EXPECT_EQ(view().panel().buffer().height(), panel.bottom);
}

TEST_F(Views, ResizingStretchesTheListAndMovesTheLowerControls) {
    start();
    const Layout before = layout();
    const SIZE first = client();
    RECT outer = {};
    GetWindowRect(window, &outer);
    // Larger, then smaller than the limits allow.
    for (SIZE size :
         {SIZE{outer.right - outer.left + 130, outer.bottom - outer.top + 90}, SIZE{150, 120}}) {
        SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        const LONG dW = client().cx - first.cx, dH = client().cy - first.cy;
        const Layout now = layout();
        EXPECT_EQ(now[0], moved(before[0], 0, 0, dW, dH)) << "list";
        EXPECT_EQ(now[1], moved(before[1], 0, dH, dW)) << "panel";
        EXPECT_EQ(now[2], moved(before[2], 0, dH, dW)) << "seek slider";
        EXPECT_EQ(now[3], moved(before[3], dW, dH)) << "volume slider";
        EXPECT_EQ(now[4], moved(before[4], dW, dH)) << "volume label";
        for (int i = 5; i < 12; ++i) EXPECT_EQ(now[i], moved(before[i], 0, dH)) << i;
        EXPECT_EQ(records(), now);
        EXPECT_EQ(test::clientRectOf(window, 1500).right, client().cx) << "the toolbar spans it";
    }
    EXPECT_EQ(test::heightOf(window), 300);
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 400);
}

TEST_F(Views, HidingAndShowingThePlaylistReturnsEveryControlToItsPlace) {
    start();
    loadCopies({"one.wav", "two.wav", "three.wav"});
    select(1);
    notify(NM_CLICK, 1);
    SetForegroundWindow(window);
    test::settle(200);
    test::saveScreenshot(window, "playlist-shown.png");
    const Layout before = layout();
    const LONG height = test::heightOf(window), listBottom = before[0].bottom;
    SetFocus(item(1000));

    SendMessageA(window, WM_COMMAND, 40100, 0);
    EXPECT_FALSE(IsWindowVisible(item(1000)));
    EXPECT_FALSE(IsWindowVisible(item(1500)));
    EXPECT_TRUE(IsWindowVisible(item(1030))) << "the etched line is shown again";
    EXPECT_EQ(test::heightOf(window), height - listBottom);
    const Layout hidden = layout();
    for (int i = 1; i < 12; ++i) EXPECT_EQ(hidden[i], moved(before[i], 0, -listBottom)) << i;
    // The focus left the hidden list for a control of the dialog that can be
    // seen and reached with the tab key, not the dialog itself.
    HWND focus = GetFocus();
    EXPECT_TRUE(focus && focus != item(1000) && IsChild(window, focus) && IsWindowVisible(focus) &&
                (GetWindowLongA(focus, GWL_STYLE) & WS_TABSTOP));
    test::settle(200);
    test::saveScreenshot(window, "playlist-hidden.png");

    // Only wider while hidden: the height is locked.
    RECT outer = {};
    GetWindowRect(window, &outer);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + 60,
                 outer.bottom - outer.top + 80, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(test::heightOf(window), height - listBottom);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER);

    SendMessageA(window, WM_COMMAND, 40100, 0);
    EXPECT_TRUE(IsWindowVisible(item(1000)));
    EXPECT_EQ(test::heightOf(window), height);
    EXPECT_EQ(layout(), before);
    EXPECT_EQ(records(), before);
}

}  // namespace
}  // namespace tarnuvo
