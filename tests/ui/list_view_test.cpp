// The playlist view's clicks, key releases, context menu and double clicks,
// with and without a load running.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "views_fixture.h"
#include "window_test_support.h"

namespace tarnuvo {
namespace {

using test::Views;

bool editButtonsEnabled(HWND window) {
    bool up = test::toolbarButtonEnabled(window, 40020);
    bool down = test::toolbarButtonEnabled(window, 40021);
    bool remove = test::toolbarButtonEnabled(window, 40005);
    EXPECT_TRUE(up == down && down == remove) << "the three go together";
    return up && down && remove;
}

TEST_F(Views, ClicksAndKeyReleasesBringTheToolbarInLine) {
    start();
    loadCopies({"a.wav", "b.wav", "c.wav"});
    EXPECT_EQ(SendMessageA(item(1000), WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(main->env.listFont.get()));

    select(-1);
    notify(NM_CLICK);
    EXPECT_FALSE(editButtonsEnabled(window));
    select(1);
    notify(NM_CLICK, 1);
    EXPECT_TRUE(editButtonsEnabled(window));

    // A keyboard move: the view moves the selection, its key release updates.
    select(-1);
    notify(NM_CLICK);
    ListView_SetItemState(item(1000), 0, LVIS_FOCUSED, LVIS_FOCUSED);
    SendMessageA(item(1000), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_FALSE(editButtonsEnabled(window)) << "nothing changes before the key is released";
    SendMessageA(item(1000), WM_KEYUP, VK_DOWN, 0);
    EXPECT_TRUE(editButtonsEnabled(window));

    // The same during a load: the loader waits for this thread meanwhile.
    main->startLoading({dir / "a.wav"}, 0);
    ASSERT_TRUE(main->loader.busy());
    select(-1);
    notify(NM_CLICK);
    EXPECT_FALSE(editButtonsEnabled(window));
    select(2);
    SendMessageA(item(1000), WM_KEYUP, VK_UP, 0);
    EXPECT_TRUE(editButtonsEnabled(window));
    EXPECT_TRUE(waitIdle());
}

TEST_F(Views, TheContextMenuSelectsTheRowAndOffersTheListCommands) {
    start();
    loadCopies({"a.wav", "b.wav"});
    select(-1);
    notify(NM_CLICK);
    for (bool loading : {false, true}) {
        if (loading) {
            main->startLoading({dir / "a.wav"}, 0);
            ASSERT_TRUE(main->loader.busy());
        }
        select(1);
        ASSERT_FALSE(editButtonsEnabled(window));
        test::MenuVisit visit =
            test::whileMenuOpen(test::MenuVisit::Close, [&] { notify(NM_RCLICK, 1); });
        ASSERT_TRUE(visit.seen) << "loading " << loading;
        EXPECT_TRUE(editButtonsEnabled(window)) << "the row is taken before the menu opens";
        ASSERT_EQ(visit.itemCount, 4);
        EXPECT_EQ(visit.ids[0], 40005u);
        EXPECT_EQ(visit.ids[1], 40006u);
        EXPECT_TRUE(visit.states[2] & MF_SEPARATOR);
        EXPECT_EQ(visit.ids[3], 40010u);
        select(-1);
        notify(NM_CLICK);
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
    EXPECT_EQ(main->playlist.currentIndex, -1) << "below the last row";

    main->startLoading({paths[0]}, 0);
    ASSERT_TRUE(main->loader.busy());
    notify(NM_DBLCLK, 1);
    EXPECT_EQ(main->playlist.currentIndex, -1) << "refused during the load";
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(waitIdle());

    select(1);
    notify(NM_DBLCLK, 1);
    EXPECT_EQ(main->playlist.currentIndex, 1);
    // Its start is reported (from the play road, now or with a later timer).
    test::pumpUntil(5000, [&] {
        SendMessageA(window, WM_TIMER, 3, 0);
        return !boxes.boxes.empty();
    });
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, test::sjis("ファイルが開けませんでした。"));
}

}  // namespace
}  // namespace tarnuvo
