// The themed transport buttons: the hot look follows the mouse from button
// to button and leaves with it, a disabled button keeps its look, and with
// themes switched off the buttons are ordinary ones again. The looks are
// compared with the theme's own drawing of each state.
#include <windows.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <gtest/gtest.h>

#include "views_fixture.h"

namespace tarnuvo {
namespace {

using test::Views;

// A point on the push button's left edge, where the theme marks its state.
POINT probeOf(HWND button) {
    RECT r = {};
    GetClientRect(button, &r);
    return {0, r.bottom / 2};
}

// The colour the theme gives a button of this size in `state` at the probe.
COLORREF themed(HWND button, int state) {
    RECT r = {};
    GetClientRect(button, &r);
    HTHEME theme = OpenThemeData(button, L"Button");
    EXPECT_NE(theme, nullptr);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    FillRect(memory, &r, GetSysColorBrush(COLOR_BTNFACE));
    DrawThemeBackground(theme, memory, BP_PUSHBUTTON, state, &r, nullptr);
    POINT p = probeOf(button);
    COLORREF colour = GetPixel(memory, p.x, p.y);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    CloseThemeData(theme);
    return colour;
}

// What the screen shows at the button's probe.
COLORREF shown(HWND button) {
    POINT p = probeOf(button);
    ClientToScreen(button, &p);
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// Moves the mouse to a point of the screen and lets the window see it: until
// `hot` is the hot button (the system's leave check runs on its own clock).
bool mouseAt(MainWindow* main, POINT p, HWND hot) {
    SetCursorPos(p.x, p.y);
    return test::pumpUntil(5000, [&] { return main->hotButton == hot; });
}
POINT centreOf(HWND over) {
    RECT r = {};
    GetWindowRect(over, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
// Until the screen shows `colour` at the button's probe: drawing reaches the
// screen when the system flushes it.
bool showsSoon(HWND button, COLORREF colour) {
    return test::pumpUntil(5000, [&] { return shown(button) == colour; });
}

TEST_F(Views, TheHotLookFollowsTheMouseAndLeavesWithIt) {
    start();
    loadCopies({"a.wav", "b.wav"});
    ASSERT_TRUE(main->buttonTheme) << "the test prefix runs with a visual style";
    HWND play = item(1010), pause = item(1011), next = item(1014);
    for (HWND b : {play, pause, next})
        EXPECT_EQ(GetWindowLongA(b, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    ASSERT_TRUE(IsWindowEnabled(play) && IsWindowEnabled(next) && !IsWindowEnabled(pause));
    const COLORREF normal = themed(play, PBS_NORMAL);
    const COLORREF hot = themed(play, PBS_HOT);
    const COLORREF disabled = themed(pause, PBS_DISABLED);
    ASSERT_NE(normal, hot) << "the theme draws the two states apart";
    SetForegroundWindow(window);
    EXPECT_TRUE(showsSoon(play, normal));

    ASSERT_TRUE(mouseAt(main, centreOf(play), play));
    EXPECT_TRUE(showsSoon(play, hot));
    // The button's own repaints keep the look while the mouse stays.
    RedrawWindow(play, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    test::settle(200);
    EXPECT_EQ(shown(play), hot);
    EXPECT_TRUE(test::saveScreenshot(window, test::screenshotPath("buttons-hot.png")));

    // Straight to the next button: one step.
    ASSERT_TRUE(mouseAt(main, centreOf(next), next));
    EXPECT_TRUE(showsSoon(next, hot));
    EXPECT_TRUE(showsSoon(play, normal));

    // A disabled button keeps its disabled look under the mouse.
    SetCursorPos(centreOf(pause).x, centreOf(pause).y);
    EXPECT_TRUE(test::pumpUntil(5000, [&] { return main->hotButton != next; }));
    EXPECT_TRUE(showsSoon(next, normal));
    test::settle(200);
    EXPECT_EQ(shown(pause), disabled);
    EXPECT_NE(shown(pause), hot);

    // Onto the window's background, then from a button out of the window.
    ASSERT_TRUE(mouseAt(main, centreOf(play), play));
    EXPECT_TRUE(showsSoon(play, hot));
    RECT seek = test::clientRectOf(window, 1002);
    POINT below = {seek.left + 2, seek.top - 2};
    ClientToScreen(window, &below);
    EXPECT_TRUE(mouseAt(main, below, nullptr));
    EXPECT_TRUE(showsSoon(play, normal));

    ASSERT_TRUE(mouseAt(main, centreOf(next), next));
    EXPECT_TRUE(showsSoon(next, hot));
    RECT outer = {};
    GetWindowRect(window, &outer);
    EXPECT_TRUE(mouseAt(main, {outer.right + 40, outer.bottom + 40}, nullptr))
        << "the leave is noted outside the window too";
    EXPECT_TRUE(showsSoon(next, normal));
}

TEST_F(Views, ThemesSwitchedOffLeaveOrdinaryButtons) {
    start();
    ASSERT_TRUE(main->buttonTheme);
    main->themesActive = [] { return false; };
    SendMessageA(window, WM_THEMECHANGED, 0, 0);
    EXPECT_FALSE(main->buttonTheme);
    for (int id = 1010; id <= 1016; ++id) {
        LONG style = GetWindowLongA(item(id), GWL_STYLE);
        EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON) << id;
        EXPECT_TRUE(style & BS_ICON) << id;
    }
    SetForegroundWindow(window);
    SetCursorPos(centreOf(item(1016)).x, centreOf(item(1016)).y);
    test::settle(200);
    EXPECT_EQ(main->hotButton, nullptr);

    main->themesActive = [] { return true; };
    SendMessageA(window, WM_THEMECHANGED, 0, 0);
    EXPECT_TRUE(main->buttonTheme);
    for (int id = 1010; id <= 1016; ++id)
        EXPECT_EQ(GetWindowLongA(item(id), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << id;
    EXPECT_TRUE(mouseAt(main, centreOf(item(1016)), item(1016)));
}

}  // namespace
}  // namespace tarnuvo
