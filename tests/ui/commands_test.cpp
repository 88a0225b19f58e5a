// The command table over the real main dialog: the guards, choosing tracks,
// the list commands and the modes. Expectations are worked out here from the
// rows the test put in, never taken from the window's own bookkeeping.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/single_instance.h"
#include "resources/resource_ids.h"
#include "play_test_support.h"
#include "window_test_support.h"

namespace tarnuvo {
namespace {

using test::PlayerWindow;

class Commands : public PlayerWindow {
protected:
    // Four short tracks A..D, loaded in order.
    void startWithFour(const std::string& settings = "") {
        startWith(settings);
        for (const char* name : {"A.wav", "B.wav", "C.wav", "D.wav"})
            paths.push_back(makeWav(name, 44100));
        load(paths);
    }
    std::string titleOf(int row) const { return test::cellText(item(1000), row, 0); }
    std::string playingTitle() const { return view().road().current().title; }
    // The panel's title line (number, title, artist) as last painted.
    std::vector<COLORREF> titleLine() const {
        std::vector<COLORREF> pixels;
        HDC dc = view().panel().buffer().dc();
        for (int y = view().panel().lines().titleTop; y < view().panel().lines().timeLine; ++y)
            for (int x = 0; x < view().panel().buffer().width(); ++x)
                pixels.push_back(GetPixel(dc, x, y));
        return pixels;
    }
    // The title line shows what a fresh painting of the panel shows.
    bool titleLineCurrent() {
        const std::vector<COLORREF> shown = titleLine();
        view().panel().redraw(true, false);
        return titleLine() == shown;
    }

    std::vector<std::string> paths;
};

TEST_F(Commands, TransportButtonsActOnlyOnTheirClickAndTheTrayIdsWhateverTheirCode) {
    startWithFour();
    select(0);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(1010, BN_DBLCLK),
                 reinterpret_cast<LPARAM>(item(1010)));
    test::settle(100);
    EXPECT_FALSE(view().road().threadHeld()) << "a double-click notification played";
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(41021, 1), 0);
    EXPECT_TRUE(waitPlaying(3)) << "the tray's previous from no track plays the last row";
    EXPECT_EQ(playingTitle(), "D.wav");
    // The dialog's own Enter and Escape do nothing.
    command(IDOK);
    command(IDCANCEL);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(playing());
}

TEST_F(Commands, NextAndPreviousWrapAroundTheList) {
    startWithFour("PlayMode=1\r\n");
    select(3);
    click(1010);
    ASSERT_TRUE(waitPlaying(3));
    click(1014);
    ASSERT_TRUE(waitPlaying(0)) << "next on the last row plays the first";
    EXPECT_EQ(selected(), 0);
    EXPECT_EQ(playingTitle(), "A.wav");
    click(1013);
    ASSERT_TRUE(waitPlaying(3)) << "previous on the first row plays the last";
    EXPECT_EQ(playingTitle(), "D.wav");
    click(1013);
    ASSERT_TRUE(waitPlaying(2));
    EXPECT_EQ(playingTitle(), "C.wav");

    // Cleared and filled again: nothing was started from the new list yet.
    command(40006);
    EXPECT_EQ(rows(), 0);
    EXPECT_TRUE(playing()) << "clearing does not stop playback";
    load({paths[1], paths[2]});
    click(1014);
    ASSERT_TRUE(waitPlaying(0));
    EXPECT_EQ(playingTitle(), "B.wav");
}

TEST_F(Commands, OnAnEmptyListNextPreviousAndRandomStop) {
    startWith();
    const std::string file = makeWav("A.wav", 441000);
    for (uint32_t id : {41020u, 41021u, 41022u}) {
        load({file});
        select(0);
        click(1010);
        ASSERT_TRUE(waitPlaying(0));
        command(40006);
        EXPECT_TRUE(playing()) << "clearing does not stop playback";
        command(id);
        EXPECT_TRUE(stoppedForGood()) << id;
        EXPECT_TRUE(IsWindowEnabled(item(1010)) || rows() == 0);
        EXPECT_FALSE(IsWindowEnabled(item(1012)));
    }
}

TEST_F(Commands, DeletingARowAboveThePlayingOneKeepsNextAndPreviousOnItsNeighbours) {
    startWithFour();
    select(2);
    click(1010);
    ASSERT_TRUE(waitPlaying(2));
    select(0);
    command(40005);  // A goes; C now sits in row 1
    EXPECT_EQ(rows(), 3);
    EXPECT_TRUE(rowsMatchEntries());
    EXPECT_EQ(main->playlist().currentIndex, 1);
    EXPECT_EQ(view().road().current().listIndex, 1) << "the panel's number follows its entry";
    EXPECT_TRUE(titleLineCurrent());
    EXPECT_EQ(selected(), 0);
    click(1014);
    ASSERT_TRUE(waitPlaying(2));
    EXPECT_EQ(playingTitle(), "D.wav");
    click(1013);
    ASSERT_TRUE(waitPlaying(1));
    EXPECT_EQ(playingTitle(), "C.wav");
}

TEST_F(Commands, DeletingThePlayingEntryLeavesItPlayingWithItsNumber) {
    startWithFour();
    select(1);
    click(1010);
    ASSERT_TRUE(waitPlaying(1));
    select(1);
    command(40005);
    EXPECT_TRUE(playing());
    EXPECT_EQ(playingTitle(), "B.wav");
    EXPECT_EQ(view().road().current().listIndex, 1) << "it keeps its number";
    EXPECT_EQ(selected(), 1) << "the row that took its place";
    EXPECT_EQ(titleOf(1), "C.wav");
    click(1014);
    ASSERT_TRUE(waitPlaying(1)) << "next plays the entry that took its place";
    EXPECT_EQ(playingTitle(), "C.wav");
    // The last row deleted: the selection moves up.
    select(2);
    command(40005);
    EXPECT_EQ(selected(), 1);
    EXPECT_TRUE(rowsMatchEntries());
}

TEST_F(Commands, RandomNeverRepeatsThePlayingOneOfTwoAndReplaysASingleEntry) {
    startWith();
    load({makeWav("A.wav", 44100), makeWav("B.wav", 44100)});
    select(0);
    click(1010);
    ASSERT_TRUE(waitPlaying(0));
    for (int i = 0; i < 20; ++i) {
        const int other = 1 - main->playlist().currentIndex;
        click(1015);
        ASSERT_TRUE(waitPlaying(other)) << "pick " << i;
        EXPECT_EQ(selected(), other);
    }
    select(1);
    command(40005);
    ASSERT_EQ(rows(), 1);
    for (int i = 0; i < 3; ++i) {
        // Paused first: a random pick starts the entry afresh, it does not resume it.
        click(1011);
        ASSERT_EQ(view().road().current().state, Paused);
        SendMessageA(window, WM_COMMAND, 41022, 0);
        ASSERT_TRUE(waitPlaying(0));
    }
}

TEST_F(Commands, RandomPicksSpreadOverTheListRatherThanWalkingAStride) {
    startWith();
    std::vector<std::string> files;
    for (int i = 0; i < 6; ++i) files.push_back(makeWav("T" + std::to_string(i) + ".wav", 4410));
    load(files);
    // A fixed seed: from the clock, about one run in 130 would pick too few rows.
    view().road().seedRandom(20261208);
    select(0);
    click(1010);
    ASSERT_TRUE(waitPlaying(0));
    std::set<int> seen;
    std::vector<int> steps;
    int last = 0;
    for (int i = 0; i < 30; ++i) {
        click(1015);
        ASSERT_TRUE(test::pumpUntil(10000, [&] { return playing(); }));
        const int now = main->playlist().currentIndex;
        EXPECT_NE(now, last);
        steps.push_back((now - last + 6) % 6);
        seen.insert(now);
        last = now;
    }
    EXPECT_EQ(seen.size(), 6u) << "thirty picks reach every row";
    EXPECT_GT(std::set<int>(steps.begin(), steps.end()).size(), 1u) << "not one fixed stride";
}

TEST_F(Commands, AJumpBeyondTheLastRowPlaysTheLastRow) {
    startWithFour();
    command(45000 + 2);
    ASSERT_TRUE(waitPlaying(2));
    EXPECT_EQ(playingTitle(), "C.wav");
    command(45100);
    ASSERT_TRUE(waitPlaying(3));
    EXPECT_EQ(selected(), 3);
}

TEST_F(Commands, MovingRowsKeepsEntryIAsRowIAndTheSelectionOnTheMovedOne) {
    startWithFour();
    select(1);
    click(1010);
    ASSERT_TRUE(waitPlaying(1));
    select(2);
    command(40020);  // C up: A C B D
    EXPECT_TRUE(rowsMatchEntries());
    EXPECT_EQ(titleOf(1), "C.wav");
    EXPECT_EQ(titleOf(2), "B.wav");
    EXPECT_EQ(selected(), 1);
    EXPECT_TRUE(test::toolbarButtonEnabled(window, 40020));
    EXPECT_TRUE(test::toolbarButtonEnabled(window, 40005));
    EXPECT_EQ(main->playlist().currentIndex, 2) << "the playing entry moved down";
    EXPECT_EQ(view().road().current().listIndex, 2);
    EXPECT_TRUE(titleLineCurrent()) << "the panel shows the playing entry's new number";
    command(40021);  // C down again: A B C D
    EXPECT_TRUE(rowsMatchEntries());
    EXPECT_EQ(titleOf(2), "C.wav");
    EXPECT_EQ(selected(), 2);
    EXPECT_EQ(main->playlist().currentIndex, 1);
    EXPECT_TRUE(titleLineCurrent());
    // Nothing moves beyond the ends.
    select(0);
    command(40020);
    select(3);
    command(40021);
    EXPECT_TRUE(rowsMatchEntries());
    EXPECT_EQ(titleOf(0), "A.wav");
    EXPECT_EQ(titleOf(3), "D.wav");
    EXPECT_EQ(rows(), 4);
}

TEST_F(Commands, WhileTheListIsHiddenItsCommandsDoNothingEvenFromTheirKeys) {
    startWithFour();
    select(1);
    command(40100);
    ASSERT_FALSE(IsWindowVisible(item(1000)));
    for (uint32_t id : {40005u, 40006u, 40020u, 40021u}) command(id);
    EXPECT_EQ(rows(), 4);
    EXPECT_TRUE(rowsMatchEntries());
    EXPECT_EQ(titleOf(0), "A.wav");
    EXPECT_EQ(titleOf(1), "B.wav");
    command(40100);
    command(40005);
    EXPECT_EQ(rows(), 3) << "shown again, delete works";
}

TEST_F(Commands, WhileALoadRunsTheListAndTrackCommandsWaitOrAreRefused) {
    startWithFour();
    select(1);
    main->startLoading({slowMemberReference("late.wav")}, 0);
    ASSERT_TRUE(main->loader().busy());
    ASSERT_TRUE(test::pumpUntil(5000, [&] { return slow.entered > 0; }));
    for (uint32_t id : {40005u, 40006u, 40020u, 40021u, 40010u}) command(id);
    EXPECT_EQ(rows(), 4);
    EXPECT_TRUE(rowsMatchEntries());
    EXPECT_EQ(titleOf(1), "B.wav");
    // Every way of starting a track waits for the load.
    click(1010);
    click(1013);
    click(1014);
    click(1015);
    command(41020);
    command(41021);
    command(41022);
    command(41012);
    command(45003);
    // A second start hands its file over: it waits too.
    ASSERT_TRUE(sendHandOver(window, makeWav("E.wav", 44100).c_str(), 1000));
    test::settle(200);
    EXPECT_FALSE(view().road().threadHeld()) << "a track started during the load";
    EXPECT_EQ(main->playlist().currentIndex, -1);
    EXPECT_EQ(rows(), 4);
    // The load ends (the slow member adds nothing): the last of them, the
    // jump, runs then, and only it; the handed file is appended after it.
    SetEvent(slow.release);
    ASSERT_TRUE(waitPlaying(3));
    EXPECT_EQ(playingTitle(), "D.wav");
    ASSERT_TRUE(waitForRows(5));
    test::settle(300);
    EXPECT_EQ(main->playlist().currentIndex, 3);
    EXPECT_EQ(rows(), 5);
    EXPECT_EQ(titleOf(4), "E.wav");
}

TEST_F(Commands, EachModeChecksOnlyItsItemAndDecidesTheLoopRangeOfThePlayingTrack) {
    startWith("LoopCount=0\r\n");
    load({makeWav("loop.wav", 441000, 1000, 9000)});
    for (UINT id : {40112u, 40110u, 40111u}) {
        command(id);
        EXPECT_EQ(main->environment().timeMode, static_cast<int32_t>(id - 40110));
        for (UINT k = 40110; k <= 40112; ++k) EXPECT_EQ(test::menuChecked(window, k), k == id);
    }
    select(0);
    click(1010);
    ASSERT_TRUE(waitPlaying(0));
    // RepeatOne loops; Single without passes plays the whole track.
    const uint32_t loopEnd = 9000 * 4, whole = 441000 * 4;
    for (auto [id, end] :
         {std::pair{40201u, loopEnd}, {40200u, whole}, {40203u, whole}, {40201u, loopEnd}}) {
        command(id);
        EXPECT_EQ(main->environment().playMode, static_cast<int32_t>(id - 40200));
        EXPECT_EQ(main->waveOut().rangeEnd, end) << id;
        for (UINT k = 40200; k <= 40203; ++k) EXPECT_EQ(test::menuChecked(window, k), k == id);
    }
    command(40210);
    EXPECT_TRUE(test::menuChecked(window, 40210));
    EXPECT_EQ(main->waveOut().rangeEnd, whole) << "the loop range ignored";
}

TEST_F(Commands, WithoutWaveOutATrackGoesToDirectShowAndTheLabelSaysSo) {
    startWith();
    load({makeWav("A.wav", 44100)});
    command(40160);
    select(0);
    click(1010);
    ASSERT_TRUE(waitPlaying(0));
    EXPECT_EQ(&view().road().current(), &main->directShow());
    EXPECT_EQ(&view().volume().target(), &main->directShow());
    char label[64] = {};
    GetWindowTextA(item(1021), label, sizeof label);
    EXPECT_EQ(std::string(label), test::sjis("DirectShow音量"));
}

TEST_F(Commands, ShowWindowFromTheTrayOnlyRestoresAVisibleWindow) {
    startWithFour();
    select(0);
    click(1010);
    ASSERT_TRUE(waitPlaying(0));
    test::MenuVisit visit = test::whileMenuOpen(test::MenuVisit::Close, [&] { command(41000); });
    EXPECT_FALSE(visit.seen) << "the tray menu opened again";
    EXPECT_TRUE(IsWindowVisible(window));
    SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_FALSE(IsWindowVisible(window));
    command(41000);
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(Commands, TheTrayPlayResumesAPauseWhileThePlayButtonStartsAfresh) {
    startWithFour("PlayMode=1\r\n");
    select(2);
    click(1010);
    ASSERT_TRUE(waitPlaying(2));
    command(41011);
    EXPECT_EQ(view().road().current().state, Paused);
    const DWORD thread = view().road().threadId();
    command(41012);
    EXPECT_EQ(view().road().current().state, Playing);
    EXPECT_EQ(view().road().threadId(), thread) << "resumed, not started again";
    click(1011);
    select(0);
    click(1010);
    ASSERT_TRUE(waitPlaying(0)) << "the play button starts the selected row";
}

// The ids of a menu and its submenus.
void collectItems(HMENU menu, std::set<UINT>& ids) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            collectItems(sub, ids);
        } else if (GetMenuItemID(menu, i) != 0) {  // 0: a separator
            ids.insert(GetMenuItemID(menu, i));
        }
    }
}

TEST_F(Commands, EveryMenuItemTrayItemAndAcceleratorHasATableRow) {
    startWith();
    const HINSTANCE module = GetModuleHandleA(nullptr);
    std::set<UINT> ids;
    collectItems(GetMenu(window), ids);
    HMENU tray = LoadMenuA(module, MAKEINTRESOURCEA(IDR_TRAY_MENU));
    ASSERT_NE(tray, nullptr);
    collectItems(tray, ids);
    DestroyMenu(tray);
    HACCEL keys = LoadAcceleratorsA(module, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ACCEL table[64] = {};
    const int count = CopyAcceleratorTableA(keys, table, 64);
    ASSERT_GT(count, 0);
    for (int i = 0; i < count; ++i) ids.insert(table[i].cmd);
    ASSERT_GT(ids.size(), 30u);
    for (UINT id : ids) EXPECT_TRUE(view().commands().handles(id)) << "no row for " << id;
}

}  // namespace
}  // namespace tarnuvo
