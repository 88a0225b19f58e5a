// Window placement, menus and popups, and the settings that come from windows
// (list view columns, the restored window rectangle).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "app/app_environment.h"
#include "app/window_helpers.h"
#include "app_test_support.h"
#include "window_test_support.h"

namespace tarnuvo {
namespace {

using test::sjis;
using test::TestWindow;

TEST(CenterWindow, CentresOverTheParent) {
    TestWindow parent(100, 100, 400, 300);
    TestWindow window(0, 0, 200, 100);
    centerWindow(window.get(), parent.get());
    RECT r = window.rect();
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.top, 200);
    EXPECT_EQ(r.right - r.left, 200);
    EXPECT_EQ(r.bottom - r.top, 100);
}

TEST(CenterWindow, HalvesTruncateTowardZero) {
    TestWindow parent(100, 100, 401, 301);
    TestWindow window(0, 0, 200, 100);
    centerWindow(window.get(), parent.get());
    EXPECT_EQ(window.rect().left, 100 + 100);  // (401 - 200) / 2
    EXPECT_EQ(window.rect().top, 100 + 100);   // (301 - 100) / 2
    // A window wider than its parent: -101 / 2 is -50, not -51.
    TestWindow wide(0, 0, 502, 101);
    centerWindow(wide.get(), parent.get());
    EXPECT_EQ(wide.rect().left, 100 - 50);
    EXPECT_EQ(wide.rect().top, 100 + 100);
}

TEST(CenterWindow, NegativePositionsAreClampedToTheScreenCorner) {
    TestWindow parent(-300, -200, 200, 200);
    TestWindow window(500, 500, 400, 300);
    centerWindow(window.get(), parent.get());
    EXPECT_EQ(window.rect().left, 0);
    EXPECT_EQ(window.rect().top, 0);
    EXPECT_EQ(window.rect().right, 400);
}

TEST(CenterWindow, WithoutParentUsesTheOwnerOrTheDesktop) {
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    TestWindow alone(0, 0, 200, 100);
    centerWindow(alone.get(), nullptr);
    EXPECT_EQ(alone.rect().left, (desktop.right - desktop.left - 200) / 2);
    EXPECT_EQ(alone.rect().top, (desktop.bottom - desktop.top - 100) / 2);

    TestWindow owner(40, 60, 300, 300);
    TestWindow owned(0, 0, 100, 100, WS_POPUP | WS_VISIBLE, owner.get());
    centerWindow(owned.get(), nullptr);
    EXPECT_EQ(owned.rect().left, 140);
    EXPECT_EQ(owned.rect().top, 160);
}

TEST(MenuCheck, ChangesOnlyTheCheckedBit) {
    UniqueMenu menu(CreatePopupMenu());
    AppendMenuA(menu.get(), MF_STRING | MF_GRAYED, 40150, "Top");
    AppendMenuA(menu.get(), MF_STRING, 40210, "Loop");
    setMenuCheck(menu.get(), 40150, true);
    UINT state = GetMenuState(menu.get(), 40150, MF_BYCOMMAND);
    EXPECT_TRUE(state & MF_CHECKED);
    EXPECT_TRUE(state & MF_GRAYED);
    setMenuCheck(menu.get(), 40150, false);
    state = GetMenuState(menu.get(), 40150, MF_BYCOMMAND);
    EXPECT_FALSE(state & MF_CHECKED);
    EXPECT_TRUE(state & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(menu.get(), 40210, MF_BYCOMMAND) & MF_CHECKED);
    setMenuCheck(menu.get(), 99999, true);  // no such item: nothing happens
}

// A menu bar with items in submenus and a submenu inside a submenu.
UniqueMenu sampleMenuBar() {
    UniqueMenu bar(CreateMenu());
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 40000, sjis("リストを開く(&O)").c_str());
    AppendMenuA(file, MF_STRING | MF_CHECKED | MF_GRAYED, 40001, sjis("表示(&V)").c_str());
    HMENU view = CreatePopupMenu();
    HMENU deeper = CreatePopupMenu();
    AppendMenuA(deeper, MF_STRING, 40210, "Loop");
    AppendMenuA(view, MF_POPUP, reinterpret_cast<UINT_PTR>(deeper), "More");
    AppendMenuA(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(file), "File");
    AppendMenuA(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(view), "View");
    return bar;
}

std::string itemText(HMENU menu, UINT position) {
    char text[260] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST(PopupFromMenuItems, CopiesItemsFoundInSubmenus) {
    UniqueMenu bar = sampleMenuBar();
    const int32_t ids[] = {40001, 0, -1, 40210, 12345, 40000};
    UniqueMenu popup = popupMenuFromItems(nullptr, bar.get(), ids, 6);
    ASSERT_TRUE(popup);
    ASSERT_EQ(GetMenuItemCount(popup.get()), 4);
    EXPECT_EQ(GetMenuItemID(popup.get(), 0), 40001u);
    EXPECT_EQ(itemText(popup.get(), 0), sjis("表示(&V)"));
    UINT state = GetMenuState(popup.get(), 0, MF_BYPOSITION);
    EXPECT_TRUE(state & MF_CHECKED);
    EXPECT_TRUE(state & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(popup.get(), 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(popup.get(), 2), 40210u);
    EXPECT_EQ(itemText(popup.get(), 2), "Loop");
    EXPECT_EQ(GetMenuItemID(popup.get(), 3), 40000u);
    EXPECT_EQ(itemText(popup.get(), 3), sjis("リストを開く(&O)"));
    EXPECT_FALSE(GetMenuState(popup.get(), 3, MF_BYPOSITION) & MF_CHECKED);
}

TEST(PopupFromMenuItems, NullSourceMeansTheWindowsMenuBar) {
    TestWindow window(0, 0, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    SetMenu(window.get(), sampleMenuBar().release());
    const int32_t ids[] = {40210};
    UniqueMenu popup = popupMenuFromItems(window.get(), nullptr, ids, 1);
    ASSERT_TRUE(popup);
    ASSERT_EQ(GetMenuItemCount(popup.get()), 1);
    EXPECT_EQ(GetMenuItemID(popup.get(), 0), 40210u);
}

TEST(PopupFromMenuItems, ShowsThePopupAndSendsTheChoice) {
    TestWindow window(100, 100, 300, 200);
    UniqueMenu bar = sampleMenuBar();
    const int32_t ids[] = {40000, -1, 40210};
    int result = 0;
    test::MenuVisit visit = test::whileMenuOpen(test::MenuVisit::ChooseFirst, [&] {
        result = popupFromMenuItems(window.get(), bar.get(), ids, 3);
    });
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(visit.seen);
    EXPECT_EQ(visit.itemCount, 3);
    test::drainMessages();
    ASSERT_EQ(window.commands.size(), 1u);
    EXPECT_EQ(window.commands[0], 40000u);
}

TEST(TrackPopup, ShowsAtTheGivenPoint) {
    TestWindow window(100, 100, 300, 200);
    UniqueMenu menu(CreatePopupMenu());
    AppendMenuA(menu.get(), MF_STRING, 7, "Seven");
    POINT at = {321, 234};
    test::MenuVisit visit = test::whileMenuOpen(
        test::MenuVisit::Close, [&] { trackPopup(window.get(), menu.get(), &at, 0); });
    EXPECT_TRUE(visit.seen);
    EXPECT_EQ(visit.menu, menu.get());
    EXPECT_EQ(visit.where.left, 321);
    EXPECT_EQ(visit.where.top, 234);
    test::drainMessages();
    EXPECT_TRUE(window.commands.empty());
}

class ListColumns : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX init = {sizeof init, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&init);
        list.reset(CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0,
                                   500, 200, parent.get(), nullptr, nullptr, nullptr));
        ASSERT_TRUE(list);
        const char* names[] = {"Title", "Time", "Loop", "Artist"};
        for (int i = 0; i < 4; ++i) {
            LVCOLUMNA column = {};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.cx = 50;
            column.pszText = const_cast<char*>(names[i]);
            ListView_InsertColumn(list.get(), i, &column);
        }
    }
    TestWindow parent{0, 0, 600, 300};
    test::ScratchDir scratch;
    std::string module = scratch / "Tarnuvo.exe";
    AppEnvironment env{EnvironmentPaths{module.c_str(), scratch.path().c_str()}};
    UniqueWindow list;
};

TEST_F(ListColumns, ApplyGivesOrderAndLowWordOfWidths) {
    env.columnOrder[0] = 2;
    env.columnOrder[1] = 0;
    env.columnOrder[2] = 3;
    env.columnOrder[3] = 1;
    env.columnWidth[0] = 120;
    env.columnWidth[1] = 0x10000 + 70;  // only the low 16 bits count
    env.columnWidth[2] = 0;
    env.columnWidth[3] = 33;
    env.applyColumns(list.get());
    int order[4] = {};
    ASSERT_TRUE(ListView_GetColumnOrderArray(list.get(), 4, order));
    EXPECT_EQ(order[0], 2);
    EXPECT_EQ(order[1], 0);
    EXPECT_EQ(order[2], 3);
    EXPECT_EQ(order[3], 1);
    EXPECT_EQ(ListView_GetColumnWidth(list.get(), 0), 120);
    EXPECT_EQ(ListView_GetColumnWidth(list.get(), 1), 70);
    EXPECT_EQ(ListView_GetColumnWidth(list.get(), 2), 0);
    EXPECT_EQ(ListView_GetColumnWidth(list.get(), 3), 33);
}

TEST_F(ListColumns, ReadTakesTheViewsOrderAndWidthsBack) {
    int order[4] = {3, 2, 1, 0};
    ListView_SetColumnOrderArray(list.get(), 4, order);
    ListView_SetColumnWidth(list.get(), 0, 111);
    ListView_SetColumnWidth(list.get(), 1, 22);
    ListView_SetColumnWidth(list.get(), 2, 33);
    ListView_SetColumnWidth(list.get(), 3, 44);
    env.readColumns(list.get());
    EXPECT_EQ(env.columnOrder[0], 3);
    EXPECT_EQ(env.columnOrder[3], 0);
    EXPECT_EQ(env.columnWidth[0], 111);
    EXPECT_EQ(env.columnWidth[1], 22);
    EXPECT_EQ(env.columnWidth[2], 33);
    EXPECT_EQ(env.columnWidth[3], 44);
}

TEST_F(ListColumns, RoundTripThroughTheSettingsFile) {
    int order[4] = {1, 3, 0, 2};
    ListView_SetColumnOrderArray(list.get(), 4, order);
    ListView_SetColumnWidth(list.get(), 2, 77);
    env.loadSettings();
    env.readColumns(list.get());
    ASSERT_EQ(env.saveSettings(nullptr), 1);

    AppEnvironment later{EnvironmentPaths{module.c_str(), scratch.path().c_str()}};
    ASSERT_EQ(later.loadSettings(), 1);
    int reset[4] = {0, 1, 2, 3};
    ListView_SetColumnOrderArray(list.get(), 4, reset);
    ListView_SetColumnWidth(list.get(), 2, 5);
    later.applyColumns(list.get());
    int now[4] = {};
    ListView_GetColumnOrderArray(list.get(), 4, now);
    EXPECT_EQ(now[0], 1);
    EXPECT_EQ(now[1], 3);
    EXPECT_EQ(now[2], 0);
    EXPECT_EQ(now[3], 2);
    EXPECT_EQ(ListView_GetColumnWidth(list.get(), 2), 77);
}

TEST_F(ListColumns, ViewWithFewerColumnsTouchesOnlyThose) {
    ListView_DeleteColumn(list.get(), 3);
    ListView_DeleteColumn(list.get(), 2);
    env.columnOrder[0] = 1;
    env.columnOrder[1] = 0;
    env.columnWidth[0] = 81;
    env.columnWidth[1] = 82;
    env.applyColumns(list.get());
    EXPECT_EQ(ListView_GetColumnWidth(list.get(), 0), 81);
    EXPECT_EQ(ListView_GetColumnWidth(list.get(), 1), 82);
    env.columnWidth[2] = -5;
    env.columnWidth[3] = -6;
    env.readColumns(list.get());
    EXPECT_EQ(env.columnOrder[0], 1);
    EXPECT_EQ(env.columnOrder[1], 0);
    EXPECT_EQ(env.columnWidth[2], -5);
    EXPECT_EQ(env.columnWidth[3], -6);
}

class WindowPosition : public ::testing::Test {
protected:
    test::ScratchDir scratch;
    std::string module = scratch / "Tarnuvo.exe";
    AppEnvironment env{EnvironmentPaths{module.c_str(), scratch.path().c_str()}};
};

TEST_F(WindowPosition, HiddenWindowStoresItsRestoredRectangle) {
    ASSERT_EQ(env.loadSettings(), 1);
    TestWindow window(50, 60, 500, 400, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ShowWindow(window.get(), SW_HIDE);
    ASSERT_EQ(env.saveSettings(window.get()), 1);
    AppEnvironment later{EnvironmentPaths{module.c_str(), scratch.path().c_str()}};
    ASSERT_EQ(later.loadSettings(), 1);
    EXPECT_EQ(later.windowPos.left, 50);
    EXPECT_EQ(later.windowPos.top, 60);
    EXPECT_EQ(later.windowPos.right, 550);
    EXPECT_EQ(later.windowPos.bottom, 460);
}

TEST_F(WindowPosition, MinimisedWindowStoresItsRestoredRectangle) {
    ASSERT_EQ(env.loadSettings(), 1);
    TestWindow window(70, 80, 600, 450, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ShowWindow(window.get(), SW_MINIMIZE);
    ShowWindow(window.get(), SW_HIDE);  // hidden in the tray
    ASSERT_EQ(env.saveSettings(window.get()), 1);
    EXPECT_EQ(env.windowPos.left, 70);
    EXPECT_EQ(env.windowPos.top, 80);
    EXPECT_EQ(env.windowPos.right, 670);
    EXPECT_EQ(env.windowPos.bottom, 530);
}

}  // namespace
}  // namespace tarnuvo
