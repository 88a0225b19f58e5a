// Presses on the information panel: the popups of its areas, the loop
// counter, double clicks, and the track popup of the title line.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/window_helpers.h"
#include "panel_test_support.h"
#include "resources/resource_ids.h"

namespace tarnuvo {
namespace {

using test::kSecond;
using test::MenuVisit;
using test::PanelDialog;

class PanelClick : public PanelDialog {
protected:
    // While stopped with nothing selected the panel shows the current player:
    // no length, no passes.
    RECT counter() const {
        char count[8];
        std::snprintf(count, sizeof count, "00/%02d", main->env.loopCount % 100);
        return counterFromFonts("00:00.00", " / 00:00.00", count);
    }
    void pressCounter(UINT message) {
        POINT at = middle(counter());
        press(message, at.x, at.y);
    }
    // A point inside the panel but outside every area: below the separator's
    // left end.
    POINT nowhere() const { return {1, lines().separatorBase + 3}; }
    std::vector<UINT> ids(std::initializer_list<UINT> list) { return list; }
};

TEST_F(PanelClick, EachAreaOpensItsOwnMenuWithTheMenuBarsChecks) {
    start();
    addEntries(numbered(3));
    main->redrawInfoPanel(true, true);

    POINT mode = middle(modeBoxFromFonts());
    MenuVisit visit = pressForMenu(mode.x, mode.y);
    ASSERT_TRUE(visit.seen);
    EXPECT_EQ(visit.ids, ids({40200, 40201, 40202, 40203}));
    EXPECT_TRUE(visit.states[1] & MF_CHECKED) << "Repeat One is the default";
    EXPECT_FALSE(visit.states[0] & MF_CHECKED);
    EXPECT_FALSE(IsMenu(visit.menu)) << "the popup is destroyed after use";

    POINT loop = middle(loopBoxFromFonts());
    visit = pressForMenu(loop.x, loop.y, WM_RBUTTONDOWN);
    ASSERT_TRUE(visit.seen);
    EXPECT_EQ(visit.ids, ids({40210}));
    EXPECT_FALSE(IsMenu(visit.menu));

    POINT time = middle(timeFromFonts("00:00.00"));
    visit = pressForMenu(time.x, time.y);
    ASSERT_TRUE(visit.seen);
    EXPECT_EQ(visit.ids, ids({40110, 40111, 40112}));
    EXPECT_TRUE(visit.states[1] & MF_CHECKED) << "the seek time is the default";

    visit = pressForMenu(8, lines().titleTop + 1);
    ASSERT_TRUE(visit.seen);
    EXPECT_EQ(visit.ids, ids({45000, 45001, 45002}));
    EXPECT_FALSE(IsMenu(visit.menu));

    visit = pressForMenu(nowhere().x, nowhere().y);
    EXPECT_FALSE(visit.seen);
    EXPECT_EQ(main->env.loopCount, 0);
    EXPECT_EQ(main->env.showList, 1);
}

TEST_F(PanelClick, AnEmptyListHasNoTrackPopup) {
    start();
    MenuVisit visit = pressForMenu(8, lines().titleTop + 1);
    EXPECT_FALSE(visit.seen);
}

TEST_F(PanelClick, TheCounterStaysWithin0And99AndIsRedrawnEachTime) {
    start();
    addEntries(numbered(2));  // nothing selected, nothing plays
    RECT area = counter();
    for (int i = 1; i <= 3; ++i) {
        pressCounter(WM_LBUTTONDOWN);
        EXPECT_EQ(main->env.loopCount, i);
        area = counter();
        // The new value is on the panel, not only in the setting.
        EXPECT_GT(test::countPixels(buffer(), area, text()), 5);
    }
    const std::vector<COLORREF> before = test::pixelsOf(buffer(), area);
    pressCounter(WM_RBUTTONDOWN);
    EXPECT_EQ(main->env.loopCount, 2);
    EXPECT_NE(test::pixelsOf(buffer(), area), before) << "03 became 02";

    main->env.loopCount = 99;
    main->redrawInfoPanel(true, true);
    pressCounter(WM_LBUTTONDOWN);
    EXPECT_EQ(main->env.loopCount, 99);
    main->env.loopCount = 0;
    main->redrawInfoPanel(true, true);
    pressCounter(WM_RBUTTONDOWN);
    EXPECT_EQ(main->env.loopCount, 0);
}

TEST_F(PanelClick, ACounterChangeReachesThePlayersLoopRange) {
    start();
    addEntries(numbered(1));
    useFake(test::entry("Song", 10 * kSecond, 44100, 5 * 44100));
    main->env.playMode = RepeatAll;
    main->env.loopCount = 0;
    fake.applyLoopRange();
    main->redrawInfoPanel(true, true);
    EXPECT_EQ(fake.rangeEnd, 10 * kSecond) << "no passes wanted: the whole track";
    POINT at = middle(counterFromFonts("00:00.00", " / 00:10.00", "00/00"));
    press(WM_LBUTTONDOWN, at.x, at.y);
    EXPECT_EQ(main->env.loopCount, 1);
    EXPECT_EQ(fake.rangeEnd, 5u * kSecond) << "one pass wanted: the loop";
}

TEST_F(PanelClick, ADoubleClickOnTheCounterIsOneMoreClick) {
    start();
    addEntries(numbered(2));
    pressCounter(WM_LBUTTONDOWN);
    pressCounter(WM_LBUTTONDBLCLK);
    EXPECT_EQ(main->env.loopCount, 2);
    EXPECT_EQ(main->env.showList, 1);
    EXPECT_TRUE(IsWindowVisible(item(1000))) << "the playlist stays";
    pressCounter(WM_RBUTTONDOWN);
    pressCounter(WM_RBUTTONDBLCLK);
    EXPECT_EQ(main->env.loopCount, 0) << "a quick second right click counts too";

    // Elsewhere the double click shows or hides the playlist.
    press(WM_LBUTTONDOWN, nowhere().x, nowhere().y);
    press(WM_LBUTTONDBLCLK, nowhere().x, nowhere().y);
    EXPECT_EQ(main->env.showList, 0);
    EXPECT_FALSE(IsWindowVisible(item(1000)));
    EXPECT_EQ(main->env.loopCount, 0);
}

TEST_F(PanelClick, TheTrackPopupListsNinetyNineEntriesInFiveColumns) {
    start();
    std::vector<TrackInfo> tracks = numbered(150);
    test::setText(tracks[2].title, "Rock & Roll");
    // Fifteen two-byte characters: the cut at 30 bytes falls inside the 14th.
    std::string wide;
    for (int i = 0; i < 15; ++i) wide += "\x82\xA0";
    test::setText(tracks[4].title, wide);
    addEntries(tracks);
    main->redrawInfoPanel(true, true);

    MenuVisit visit = pressForMenu(8, lines().titleTop + 1);
    ASSERT_TRUE(visit.seen);
    ASSERT_EQ(visit.itemCount, 99);
    for (int i = 0; i < 99; ++i) {
        EXPECT_EQ(visit.ids[i], 45000u + i);
        const bool breaks = (visit.states[i] & MF_MENUBARBREAK) != 0;
        EXPECT_EQ(breaks, i == 20 || i == 40 || i == 60 || i == 80) << "item " << i + 1;
    }
    EXPECT_FALSE(IsMenu(visit.menu));

    UniqueMenu menu = main->trackPopupMenu();
    char label[128] = {};
    GetMenuStringA(menu.get(), 45002, label, sizeof label, MF_BYCOMMAND);
    EXPECT_STREQ(label, "03.Rock && Roll");
    GetMenuStringA(menu.get(), 45004, label, sizeof label, MF_BYCOMMAND);
    std::string thirteen;
    for (int i = 0; i < 13; ++i) thirteen += "\x82\xA0";
    EXPECT_EQ(std::string(label), "05." + thirteen);
    GetMenuStringA(menu.get(), 45098, label, sizeof label, MF_BYCOMMAND);
    EXPECT_STREQ(label, "99.Track 99");
}

TEST_F(PanelClick, ChoosingATrackSendsItsJumpCommand) {
    start();
    addEntries(numbered(5));
    main->redrawInfoPanel(true, true);
    // The first item goes to the window as command 45000.
    test::TestWindow spy(0, 0, 10, 10);
    MenuVisit visit = test::whileMenuOpen(MenuVisit::ChooseFirst, [&] {
        UniqueMenu menu = main->trackPopupMenu();
        trackPopup(spy.get(), menu.get(), nullptr, 0);
    });
    ASSERT_TRUE(visit.seen);
    test::drainMessages();
    ASSERT_EQ(spy.commands.size(), 1u);
    EXPECT_EQ(spy.commands[0], 45000u);
}

}  // namespace
}  // namespace tarnuvo
