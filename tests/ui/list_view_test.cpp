// The playlist view's clicks, key releases, context menu and double clicks,
// with and without a load running.
#include <gtest/gtest.h>

#include "views_fixture.h"
#include "window_test_support.h"

namespace tarnuvo {
namespace {

using test::Views;

// Move up, move down and delete go together.
bool editButtonsEnabled(HWND window) {
    int enabled = 0;
    for (int command : {40020, 40021, 40005})
        enabled += test::toolbarButtonEnabled(window, command);
    EXPECT_TRUE(enabled == 0 || enabled == 3);
    return enabled == 3;
}

TEST_F(Views, ClicksKeysAndTheContextMenuTakeTheSelectedRow) {
    start();
    loadCopies({"a.wav", "b.wav", "c.wav"});
    EXPECT_EQ(SendMessageA(item(1000), WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(main->environment().listFont.get()));
    for (bool loading : {false, true}) {
        if (loading) startHeldLoad();
        select(-1);
        notify(NM_CLICK);
        EXPECT_FALSE(editButtonsEnabled(window));
        select(1);
        notify(NM_CLICK, 1);
        EXPECT_TRUE(editButtonsEnabled(window));

        // A keyboard move: the view moves the selection, its release updates.
        select(-1);
        notify(NM_CLICK);
        ListView_SetItemState(item(1000), 0, LVIS_FOCUSED, LVIS_FOCUSED);
        SendMessageA(item(1000), WM_KEYDOWN, VK_DOWN, 0);
        EXPECT_FALSE(editButtonsEnabled(window)) << "not before the key is released";
        SendMessageA(item(1000), WM_KEYUP, VK_DOWN, 0);
        EXPECT_TRUE(editButtonsEnabled(window));

        // The right click takes the row before its menu opens.
        select(-1);
        notify(NM_CLICK);
        select(2);
        test::MenuVisit menu =
            test::whileMenuOpen(test::MenuVisit::Close, [&] { notify(NM_RCLICK, 2); });
        ASSERT_TRUE(menu.seen);
        EXPECT_TRUE(editButtonsEnabled(window));
        ASSERT_EQ(menu.itemCount, 4);
        EXPECT_EQ(menu.ids[0], 40005u);
        EXPECT_EQ(menu.ids[1], 40006u);
        EXPECT_TRUE(menu.states[2] & MF_SEPARATOR);
        EXPECT_EQ(menu.ids[3], 40010u);
    }
    EXPECT_TRUE(waitIdle());
}

TEST_F(Views, ADoubleClickPlaysTheRowButNotDuringALoad) {
    start();
    auto paths = loadCopies({"a.wav", "b.wav", "c.wav"});
    // The row's file is gone: its start fails before any sound is made.
    ASSERT_TRUE(DeleteFileA(paths[1].c_str()));
    test::BoxReader boxes;
    select(1);
    notify(NM_DBLCLK, -1);
    EXPECT_EQ(main->playlist().currentIndex, -1) << "below the last row";
    startHeldLoad();
    notify(NM_DBLCLK, 1);
    EXPECT_EQ(main->playlist().currentIndex, -1) << "refused during the load";
    EXPECT_TRUE(waitIdle());
    EXPECT_TRUE(boxes.texts.empty());

    select(1);
    notify(NM_DBLCLK, 1);
    EXPECT_EQ(main->playlist().currentIndex, 1);
    // Its failed start is reported, now or from the tray timer.
    test::pumpUntil(5000, [&] {
        SendMessageA(window, WM_TIMER, 3, 0);
        return !boxes.texts.empty();
    });
    EXPECT_EQ(boxes.texts, std::vector<std::string>{test::sjis("ファイルが開けませんでした。")});
}

}  // namespace
}  // namespace tarnuvo
