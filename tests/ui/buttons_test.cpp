// The themed transport buttons: the hot look follows the mouse from button
// to button and leaves with it, a disabled button keeps its look, the pause
// button looks pressed while paused, and with themes switched off the
// buttons are ordinary ones again. Looks are compared
// with the theme's own drawing of each state, on the button's left edge.
#include <windows.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <gtest/gtest.h>

#include "panel_test_support.h"
#include "views_fixture.h"

namespace tarnuvo {
namespace {

using test::Views;

POINT edgeOf(HWND button) {
    RECT r = {};
    GetClientRect(button, &r);
    return {0, r.bottom / 2};
}

COLORREF themed(HWND button, int state) {
    RECT r = {};
    GetClientRect(button, &r);
    HTHEME theme = OpenThemeData(button, L"Button");
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    DrawThemeBackground(theme, memory, BP_PUSHBUTTON, state, &r, nullptr);
    COLORREF colour = GetPixel(memory, edgeOf(button).x, edgeOf(button).y);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    CloseThemeData(theme);
    return colour;
}

COLORREF shown(HWND button) {
    POINT p = edgeOf(button);
    ClientToScreen(button, &p);
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// Drawing reaches the screen when the system flushes it, and the system
// notes a mouse that left on its own clock: wait for what should show.
bool showsSoon(HWND button, COLORREF colour) {
    return test::pumpUntil(5000, [&] { return shown(button) == colour; });
}
bool mouseTo(MainWindow* main, POINT p, HWND hot) {
    SetCursorPos(p.x, p.y);
    return test::pumpUntil(5000, [&] { return mainView(*main).buttons().hot() == hot; });
}
POINT centreOf(HWND control) {
    RECT r = {};
    GetWindowRect(control, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST_F(Views, TheHotLookFollowsTheMouseAndLeavesWithIt) {
    start();
    loadCopies({"a.wav", "b.wav"});
    ASSERT_TRUE(view().buttons().themed()) << "the test prefix runs with a visual style";
    HWND play = item(1010), pause = item(1011), next = item(1014);
    ASSERT_EQ(GetWindowLongA(play, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    ASSERT_FALSE(IsWindowEnabled(pause));
    const COLORREF normal = themed(play, PBS_NORMAL), hot = themed(play, PBS_HOT);
    ASSERT_NE(normal, hot);
    SetForegroundWindow(window);
    EXPECT_TRUE(showsSoon(play, normal));

    ASSERT_TRUE(mouseTo(main, centreOf(play), play));
    EXPECT_TRUE(showsSoon(play, hot));
    // The button's own repaints keep the look while the mouse stays.
    RedrawWindow(play, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    test::settle(200);
    EXPECT_EQ(shown(play), hot);
    test::saveScreenshot(window, "buttons-hot.png");

    // Straight to the next button: one step.
    ASSERT_TRUE(mouseTo(main, centreOf(next), next));
    EXPECT_TRUE(showsSoon(next, hot));
    EXPECT_TRUE(showsSoon(play, normal));

    // Over a disabled button: it keeps its look, the last one is normal again.
    SetCursorPos(centreOf(pause).x, centreOf(pause).y);
    EXPECT_TRUE(test::pumpUntil(5000, [&] { return view().buttons().hot() != next; }));
    EXPECT_TRUE(showsSoon(next, normal));
    test::settle(200);
    EXPECT_EQ(shown(pause), themed(pause, PBS_DISABLED));

    // Onto the window's background, and from a button out of the window.
    RECT seek = test::clientRectOf(window, 1002);
    POINT background = {seek.left + 2, seek.top - 2};
    ClientToScreen(window, &background);
    RECT outer = {};
    GetWindowRect(window, &outer);
    for (POINT away : {background, POINT{outer.right + 40, outer.bottom + 40}}) {
        ASSERT_TRUE(mouseTo(main, centreOf(play), play));
        EXPECT_TRUE(showsSoon(play, hot));
        EXPECT_TRUE(mouseTo(main, away, nullptr)) << away.x;
        EXPECT_TRUE(showsSoon(play, normal));
    }
}

TEST_F(Views, ThePauseButtonLooksPressedWhileATrackIsPaused) {
    start();
    test::FakePlayer fake;
    fake.attach(window, &main->environment());
    fake.state = Playing;
    view().road().makeCurrent(fake);
    HWND pause = item(1011);
    EnableWindow(pause, TRUE);  // as a started track leaves it
    SetForegroundWindow(window);
    RECT outer = {};
    GetWindowRect(window, &outer);
    SetCursorPos(outer.right + 40, outer.bottom + 40);
    auto press = [&] {
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(1011, BN_CLICKED),
                     reinterpret_cast<LPARAM>(pause));
    };
    ASSERT_NE(themed(pause, PBS_PRESSED), themed(pause, PBS_NORMAL));
    for (bool themes : {true, false}) {
        view().buttons().useThemeProbe(themes ? +[] { return true; } : +[] { return false; });
        SendMessageA(window, WM_THEMECHANGED, 0, 0);
        press();
        EXPECT_EQ(fake.state, Paused);
        if (themes)
            EXPECT_TRUE(showsSoon(pause, themed(pause, PBS_PRESSED)));
        else
            EXPECT_TRUE(SendMessageA(pause, BM_GETSTATE, 0, 0) & BST_PUSHED);
        press();
        EXPECT_EQ(fake.state, Playing);
        if (themes)
            EXPECT_TRUE(showsSoon(pause, themed(pause, PBS_NORMAL)));
        else
            EXPECT_FALSE(SendMessageA(pause, BM_GETSTATE, 0, 0) & BST_PUSHED);
    }
    view().road().makeCurrent(main->waveOut());
}

TEST_F(Views, ThemesSwitchedOffLeaveOrdinaryButtons) {
    start();
    for (bool themes : {false, true}) {
        view().buttons().useThemeProbe(themes ? +[] { return true; } : +[] { return false; });
        SendMessageA(window, WM_THEMECHANGED, 0, 0);
        EXPECT_EQ(view().buttons().themed(), themes);
        for (int id = 1010; id <= 1016; ++id) {
            LONG style = GetWindowLongA(item(id), GWL_STYLE);
            EXPECT_EQ(style & BS_TYPEMASK, themes ? BS_OWNERDRAW : BS_PUSHBUTTON) << id;
            EXPECT_TRUE(style & BS_ICON) << id;
        }
        SetCursorPos(centreOf(item(1001)).x, centreOf(item(1001)).y);
        test::settle(100);
        if (themes) {
            EXPECT_TRUE(mouseTo(main, centreOf(item(1016)), item(1016)));
        } else {
            SetCursorPos(centreOf(item(1016)).x, centreOf(item(1016)).y);
            test::settle(200);
            EXPECT_EQ(view().buttons().hot(), nullptr);
        }
    }
}

}  // namespace
}  // namespace tarnuvo
