// The main dialog as set-up leaves it: placement, columns, controls, menus,
// the tray icon, the stored window state, the panel's height and the keys.
#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "main_window_support.h"

namespace tarnuvo {
namespace {

using test::MainDialog;

TEST_F(MainDialog, WithoutSettingsTheWindowIsCentredWithDefaultColumnsAndNoListControls) {
    ASSERT_FALSE(test::isFile(iniPath));
    start();
    RECT desktop = {}, outer = {};
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &outer);
    LONG width = outer.right - outer.left, height = outer.bottom - outer.top;
    EXPECT_EQ(outer.left, (desktop.right - width) / 2);
    EXPECT_EQ(outer.top, (desktop.bottom - height) / 2);
    EXPECT_TRUE(IsWindowVisible(window));
    // The template's width, or the window's minimum width when that is larger.
    RECT templateRect = {0, 0, 230, 201};
    MapDialogRect(window, &templateRect);
    AdjustWindowRectEx(&templateRect, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), TRUE,
                       static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)));
    EXPECT_EQ(width, std::max<LONG>(400, templateRect.right - templateRect.left));

    HWND list = item(1000);
    const int widths[] = {160, 60, 40, 90};
    const char* captions[] = {"Title", "Time", "Loop", "Artist"};
    int order[4] = {};
    ASSERT_TRUE(ListView_GetColumnOrderArray(list, 4, order));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ListView_GetColumnWidth(list, i), widths[i]) << "column " << i;
        EXPECT_EQ(order[i], i);
        char caption[32] = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_SUBITEM;
        column.pszText = caption;
        column.cchTextMax = sizeof caption;
        ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(caption, captions[i]);
        EXPECT_EQ(column.iSubItem, i);
    }
    DWORD extended = ListView_GetExtendedListViewStyle(list);
    EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
    EXPECT_TRUE(extended & LVS_EX_HEADERDRAGDROP);
    EXPECT_FALSE(extended & LVS_EX_GRIDLINES);

    // With an empty list only adding, opening and the version are offered.
    for (int command : {40006, 40002, 40020, 40021, 40005, 40010})
        EXPECT_FALSE(test::toolbarButtonEnabled(window, command)) << command;
    for (int command : {40001, 40000, 40500})
        EXPECT_TRUE(test::toolbarButtonEnabled(window, command)) << command;
    for (int id : {1010, 1011, 1012, 1013, 1014, 1015, 1002})
        EXPECT_FALSE(IsWindowEnabled(item(id))) << id;
    EXPECT_TRUE(IsWindowEnabled(item(1016)));
    EXPECT_TRUE(IsWindowEnabled(item(1020)));

    EXPECT_EQ(GetMenuState(GetMenu(window), 40160, MF_BYCOMMAND), 0xFFFFFFFFu);
    for (UINT checked : {40100u, 40201u, 40111u, 40222u})
        EXPECT_TRUE(test::menuChecked(window, checked));
    for (UINT unchecked : {40101u, 40150u, 40210u, 40200u, 40110u, 40220u, 40221u, 40223u})
        EXPECT_FALSE(test::menuChecked(window, unchecked));

    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Tarnuvo");
    EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_EQ(ImmGetContext(window), nullptr) << "the input method stays off the dialog";
    EXPECT_TRUE(test::shellHasIcon(window));
    EXPECT_FALSE(test::isFile(iniPath)) << "settings are written once, at the end";
}

TEST_F(MainDialog, ControlsSitBelowTheToolbarInTemplateOrder) {
    start();
    RECT bar = test::clientRectOf(window, 1500);
    RECT list = test::clientRectOf(window, 1000);
    RECT panel = test::clientRectOf(window, 1001);
    RECT seek = test::clientRectOf(window, 1002);
    RECT play = test::clientRectOf(window, 1010);
    RECT open = test::clientRectOf(window, 1016);
    RECT label = test::clientRectOf(window, 1021);
    RECT volume = test::clientRectOf(window, 1020);
    RECT client = {};
    GetClientRect(window, &client);
    EXPECT_EQ(bar.top, 0);
    EXPECT_GT(bar.bottom, 10);
    EXPECT_EQ(bar.right, client.right) << "the toolbar spans the window";
    EXPECT_GE(list.top, bar.bottom);
    EXPECT_LE(list.bottom, panel.top);
    EXPECT_LE(panel.bottom, seek.top);
    EXPECT_LE(seek.bottom, play.top);
    EXPECT_EQ(play.top, open.top);
    EXPECT_LE(play.bottom, client.bottom) << "the buttons are inside the window";
    EXPECT_LE(volume.right, client.right);
    EXPECT_LT(open.right, volume.left);
    // Where the label overlaps the open button (in the template's width), the
    // button takes the clicks: the label lets them through.
    POINT inLabel = {(label.left + label.right) / 2, (label.top + label.bottom) / 2};
    ClientToScreen(window, &inLabel);
    EXPECT_EQ(SendMessageA(item(1021), WM_NCHITTEST, 0, MAKELPARAM(inLabel.x, inLabel.y)),
              HTTRANSPARENT);
}

// Each part puts its own procedure in front of its control at set-up and
// leaves its owner in the control's user data: a part whose set-up step was
// dropped leaves its control without both.
TEST_F(MainDialog, EachPartSubclassesItsOwnControl) {
    start();
    const struct {
        int id;
        const void* owner;
    } controls[] = {
        {1000, &view().listPane()},
        {1001, &view().panel()},
        {1002, &view().seek()},
        {1040, &view().road()},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.id);
        ASSERT_NE(item(c.id), nullptr);
        EXPECT_EQ(reinterpret_cast<const void*>(GetWindowLongPtrA(item(c.id), GWLP_USERDATA)),
                  c.owner);
    }
}

TEST_F(MainDialog, StoredSettingsHideThePlaylistAndKeepTheWindowOnTop) {
    start();
    LONG fullHeight = test::heightOf(window);
    RECT list = test::clientRectOf(window, 1000);
    RECT panelShown = test::clientRectOf(window, 1001);
    finish();

    writeSettings("ShowList=0\r\nAlwaysOnTop=1\r\n");
    start();
    EXPECT_FALSE(IsWindowVisible(item(1000)));
    EXPECT_FALSE(IsWindowVisible(item(1500)));
    EXPECT_FALSE(test::menuChecked(window, 40100));
    EXPECT_TRUE(test::menuChecked(window, 40150));
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Everything below the list moves up by the list's bottom edge.
    EXPECT_EQ(test::heightOf(window), fullHeight - list.bottom);
    EXPECT_EQ(test::clientRectOf(window, 1001).top, panelShown.top - list.bottom);
    // Only the width can change while the list is hidden.
    MINMAXINFO limits = {};
    limits.ptMaxTrackSize = {4000, 4000};
    SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, 400);
    EXPECT_EQ(limits.ptMinTrackSize.y, test::heightOf(window));
    EXPECT_EQ(limits.ptMaxTrackSize.y, test::heightOf(window));

    // Showing the list again restores the first arrangement.
    SendMessageA(window, WM_COMMAND, 40100, 0);
    EXPECT_TRUE(IsWindowVisible(item(1000)));
    EXPECT_EQ(test::heightOf(window), fullHeight);
    EXPECT_EQ(test::clientRectOf(window, 1001).top, panelShown.top);
    finish();
    auto keys = test::readSettings(iniPath);
    EXPECT_EQ(keys["ShowList"], "1");
    EXPECT_EQ(keys["AlwaysOnTop"], "1");
}

TEST_F(MainDialog, StoredFadeSettingsCheckTheirItems) {
    // FadeOut, then 40221..40223, as the stored values check them.
    const struct {
        const char* lines;
        bool checked[4];
    } cases[] = {{"FadeOut=1\r\nFadeLength=20000\r\n", {true, false, false, true}},
                 {"FadeOut=0\r\nFadeLength=5000\r\n", {false, true, false, false}},
                 {"FadeOut=-1\r\nFadeLength=7000\r\n", {true, false, false, false}},
                 {"FadeLength=70000\r\n", {false, false, false, false}}};
    for (const auto& c : cases) {
        writeSettings(c.lines);
        start();
        for (UINT i = 0; i < 4; ++i)
            EXPECT_EQ(test::menuChecked(window, 40220 + i), c.checked[i]) << c.lines << i;
        finish();
    }
}

TEST_F(MainDialog, ALargerTitleFontMakesTheWindowTallerByTheDifference) {
    start();
    LONG height = test::heightOf(window);
    RECT seek = test::clientRectOf(window, 1002);
    RECT panel = test::clientRectOf(window, 1001);
    LONG small = 0;
    {
        HDC screen = GetDC(nullptr);
        HGDIOBJ old = SelectObject(screen, main->environment().titleFont.get());
        SIZE extent = {};
        GetTextExtentPoint32A(screen, " ", 1, &extent);
        small = extent.cy;
        SelectObject(screen, old);
        ReleaseDC(nullptr, screen);
    }
    finish();

    writeSettings("FontTitle=Tahoma,40,1\r\n");
    start();
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, main->environment().titleFont.get());
    SIZE extent = {};
    GetTextExtentPoint32A(screen, " ", 1, &extent);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    LONG difference = extent.cy - small;
    ASSERT_GT(difference, 10);
    EXPECT_EQ(test::heightOf(window), height + difference);
    RECT panelLarge = test::clientRectOf(window, 1001);
    EXPECT_EQ(panelLarge.bottom - panelLarge.top, panel.bottom - panel.top + difference);
    // The controls below keep their distance from the panel.
    RECT seekLarge = test::clientRectOf(window, 1002);
    EXPECT_EQ(seekLarge.top - panelLarge.bottom, seek.top - panel.bottom);
}

TEST_F(MainDialog, ABrokenStoredColumnOrderIsNeitherAppliedNorSavedAgain) {
    writeSettings("ColumnOrder=2:0\r\nColumnWidth=100:50:30:70\r\n");
    start();
    int order[4] = {};
    ASSERT_TRUE(ListView_GetColumnOrderArray(item(1000), 4, order));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(order[i], i);
    EXPECT_EQ(ListView_GetColumnWidth(item(1000), 0), 100);
    EXPECT_EQ(ListView_GetColumnWidth(item(1000), 3), 70);
    finish();
    EXPECT_EQ(test::readSettings(iniPath)["ColumnOrder"], "0:1:2:3");

    writeSettings("ColumnOrder=3:2:1:0\r\n");
    start();
    ASSERT_TRUE(ListView_GetColumnOrderArray(item(1000), 4, order));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(order[i], 3 - i);
}

TEST_F(MainDialog, AcceleratorsWorkWhicheverControlHasTheFocus) {
    start();
    for (int id : {1000, 1020, 1016}) {
        SetFocus(item(id));
        bool shown = IsWindowVisible(item(1000)) != FALSE;
        MSG key = {};
        key.hwnd = item(id);
        key.message = WM_KEYDOWN;
        key.wParam = 'L';
        EXPECT_EQ(main->translateAccelerator(key), 1) << id;
        EXPECT_NE(IsWindowVisible(item(1000)) != FALSE, shown) << "L shows or hides the list";
    }
}

TEST_F(MainDialog, RepeatedStartsAndResizesLeaveNoGdiObjects) {
    for (int round = 0; round < 3; ++round) {
        start();
        RECT outer = {};
        GetWindowRect(window, &outer);
        for (int i = 0; i < 20; ++i)
            SetWindowPos(window, nullptr, 0, 0, 500 + i * 7, outer.bottom - outer.top + i * 5,
                         SWP_NOMOVE | SWP_NOZORDER);
        int32_t live = liveGdiObjects.load();
        for (int i = 0; i < 200; ++i) view().panel().rebuild();
        EXPECT_EQ(liveGdiObjects.load(), live);
        finish();
        EXPECT_EQ(liveGdiObjects.load(), baselineGdi);
    }
}

TEST(BackBuffer, EachRebuildReleasesTheOldObjectsFirst) {
    int32_t before = liveGdiObjects.load();
    {
        BackBuffer buffer;
        ASSERT_TRUE(buffer.rebuild(nullptr, 40, 20, RGB(0, 0, 0), RGB(255, 255, 0)));
        EXPECT_EQ(liveGdiObjects.load(), before + 4);  // DC, bitmap, brush and pen
        ASSERT_TRUE(buffer.rebuild(nullptr, 80, 30, RGB(0, 0, 0), kNoPen));
        EXPECT_EQ(liveGdiObjects.load(), before + 3);
        EXPECT_EQ(buffer.width(), 80);
        buffer.fill();
        EXPECT_EQ(GetPixel(buffer.dc(), 79, 29), RGB(0, 0, 0));
        UniqueFont font(CreateFontA(-12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma"));
        buffer.selectFont(font.get());
        EXPECT_EQ(buffer.selectedFont(), font.get());
        buffer.release();
        EXPECT_EQ(buffer.selectedFont(), nullptr);
        EXPECT_EQ(liveGdiObjects.load(), before + 1);  // the font
    }
    EXPECT_EQ(liveGdiObjects.load(), before);
}

TEST(GdiOwners, MovesReleasesAndResetsKeepTheCount) {
    int32_t before = liveGdiObjects.load();
    UniqueBrush a(CreateSolidBrush(RGB(1, 2, 3)));
    UniqueBrush b(std::move(a));
    EXPECT_EQ(liveGdiObjects.load(), before + 1);
    UniqueBrush c;
    c = std::move(b);
    EXPECT_EQ(liveGdiObjects.load(), before + 1);
    HBRUSH raw = c.release();
    EXPECT_EQ(liveGdiObjects.load(), before);
    c.reset(raw);
    c.reset(CreateSolidBrush(RGB(4, 5, 6)));
    EXPECT_EQ(liveGdiObjects.load(), before + 1);
    c.reset();
    EXPECT_EQ(liveGdiObjects.load(), before);
}

}  // namespace
}  // namespace tarnuvo
