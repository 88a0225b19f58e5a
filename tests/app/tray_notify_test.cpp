// Clicks on the tray icon: restoring the window and the tray menu.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/timer_ids.h"
#include "app/tray_notify.h"
#include "app_test_support.h"
#include "engine/track_info.h"
#include "window_test_support.h"

namespace tarnuvo {
namespace {

using test::MenuVisit;
using test::sjis;
using test::TestWindow;

// The tray menu as the application's resource will hold it.
UniqueMenu trayMenu() {
    UniqueMenu menu(CreateMenu());
    HMENU popup = CreatePopupMenu();
    auto item = [&](UINT id, const char* utf8) {
        AppendMenuA(popup, MF_STRING, id, sjis(utf8).c_str());
    };
    item(41000, "ウィンドウ表示(&S)");
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    item(41010, "停止(&S)");
    item(41011, "一時停止(&P)");
    item(41012, "再生(&L)");
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    item(41021, "前の曲へ(&R)");
    item(41020, "次の曲へ(&N)");
    item(41022, "ランダム(&A)");
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    item(40050, "終了(&X)");
    AppendMenuA(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "Tray");
    return menu;
}

class FakeMainWindow : public TrayOwner {
public:
    HWND trayWindow() const override { return window.get(); }
    int32_t trayPlayerState() const override { return playerState; }
    void setWindowShown(int32_t shown) override { windowShown = shown; }
    UniqueMenu loadTrayMenu() const override {
        ++menuLoads;
        return menuAvailable ? trayMenu() : UniqueMenu();
    }

    TestWindow window{100, 100, 400, 300, WS_OVERLAPPEDWINDOW};
    int32_t playerState = Stopped;
    int32_t windowShown = 0;
    bool menuAvailable = true;
    mutable int menuLoads = 0;
};

class TrayNotify : public ::testing::Test {
protected:
    FakeMainWindow main;
};

TEST_F(TrayNotify, LeftClickOnHiddenWindowRestoresItWithoutMenu) {
    main.playerState = Playing;  // no menu for a hidden window, playing or not
    ShowWindow(main.window.get(), SW_MINIMIZE);
    ShowWindow(main.window.get(), SW_HIDE);
    ASSERT_FALSE(IsWindowVisible(main.window.get()));

    MenuVisit visit =
        test::whileMenuOpen(MenuVisit::Close, [&] { onTrayNotify(main, 2000, WM_LBUTTONDOWN); });
    EXPECT_FALSE(visit.seen);
    EXPECT_EQ(main.menuLoads, 0);
    EXPECT_EQ(main.windowShown, 1);
    EXPECT_TRUE(IsWindowVisible(main.window.get()));
    EXPECT_FALSE(IsIconic(main.window.get()));
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(main.window.get(), &placement);
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
}

TEST_F(TrayNotify, RestoreStartsTheRefreshAndBlinkTimers) {
    onTrayNotify(main, 2000, WM_LBUTTONDOWN);
    bool refresh = false, blink = false;
    test::pumpUntil(3000, [&] {
        for (WPARAM id : main.window.timers) {
            refresh = refresh || id == RefreshTimer;
            blink = blink || id == BlinkTimer;
        }
        return refresh && blink;
    });
    EXPECT_TRUE(refresh);
    EXPECT_TRUE(blink);
    KillTimer(main.window.get(), RefreshTimer);
    KillTimer(main.window.get(), BlinkTimer);
}

TEST_F(TrayNotify, LeftClickOnVisibleStoppedWindowOnlyBringsItForward) {
    ShowWindow(main.window.get(), SW_SHOW);
    MenuVisit visit =
        test::whileMenuOpen(MenuVisit::Close, [&] { onTrayNotify(main, 2000, WM_LBUTTONDOWN); });
    EXPECT_FALSE(visit.seen);
    EXPECT_EQ(main.menuLoads, 0);
    EXPECT_EQ(main.windowShown, 1);
}

TEST_F(TrayNotify, LeftClickOnVisibleWindowWithATrackOpensTheMenu) {
    for (int32_t state : {Playing, Paused}) {
        ShowWindow(main.window.get(), SW_SHOW);
        main.playerState = state;
        MenuVisit visit = test::whileMenuOpen(MenuVisit::Close,
                                              [&] { onTrayNotify(main, 2000, WM_LBUTTONDOWN); });
        EXPECT_TRUE(visit.seen) << state;
        EXPECT_EQ(visit.defaultItem, 41000u);
    }
}

TEST_F(TrayNotify, RightClickShowsTheMenuWithShowWindowInBold) {
    MenuVisit visit =
        test::whileMenuOpen(MenuVisit::Close, [&] { onTrayNotify(main, 2000, WM_RBUTTONDOWN); });
    ASSERT_TRUE(visit.seen);
    EXPECT_EQ(main.menuLoads, 1);
    EXPECT_EQ(visit.itemCount, 11);
    EXPECT_EQ(visit.defaultItem, 41000u);
    ASSERT_FALSE(visit.states.empty());
    EXPECT_TRUE(visit.states[0] & MF_DEFAULT);
    EXPECT_FALSE(IsWindowVisible(main.window.get()));  // the menu does not restore
    test::drainMessages();
    EXPECT_TRUE(main.window.commands.empty());
    EXPECT_GE(main.window.nulls, 1);
}

TEST_F(TrayNotify, ChosenItemArrivesAsCommand) {
    MenuVisit visit = test::whileMenuOpen(MenuVisit::ChooseFirst,
                                          [&] { onTrayNotify(main, 2000, WM_RBUTTONDOWN); });
    ASSERT_TRUE(visit.seen);
    test::drainMessages();
    ASSERT_EQ(main.window.commands.size(), 1u);
    EXPECT_EQ(main.window.commands[0], 41000u);
}

TEST_F(TrayNotify, OtherMouseMessagesDoNothing) {
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDBLCLK}) {
        onTrayNotify(main, 2000, message);
    }
    EXPECT_EQ(main.menuLoads, 0);
    EXPECT_EQ(main.windowShown, 0);
    EXPECT_FALSE(IsWindowVisible(main.window.get()));
}

TEST_F(TrayNotify, MissingMenuShowsNothing) {
    main.menuAvailable = false;
    MenuVisit visit =
        test::whileMenuOpen(MenuVisit::Close, [&] { onTrayNotify(main, 2000, WM_RBUTTONDOWN); });
    EXPECT_FALSE(visit.seen);
    EXPECT_EQ(main.menuLoads, 1);
}

}  // namespace
}  // namespace tarnuvo
