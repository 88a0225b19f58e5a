// The playlist's rows in a real, visible list view: cells, batches, the
// selection. Expected texts are worked out here, not asked of the code.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/playlist/list_view_window.h"
#include "ui/list_rows.h"

using namespace tarnuvo;
using tarnuvo::test::ListViewWindow;
using tarnuvo::test::sjis;

namespace {

TrackInfo track(const std::string& title, const std::string& artist, uint32_t length,
                int32_t hasLoop) {
    TrackInfo t;
    std::snprintf(t.title, sizeof t.title, "%s", title.c_str());
    std::snprintf(t.artist, sizeof t.artist, "%s", artist.c_str());
    t.length = length;
    t.hasLoop = hasLoop;
    return t;
}

// A length whose time reads minutes:seconds.hundredths as given, plus a few
// bytes short of the next hundredth.
uint32_t lengthOf(uint32_t minutes, uint32_t seconds, uint32_t hundredths, uint32_t extra = 0) {
    return ((minutes * 60 + seconds) * 100 + hundredths) * 1764 + extra;
}

std::string timeText(uint32_t minutes, uint32_t seconds, uint32_t hundredths) {
    char text[32];
    std::snprintf(text, sizeof text, "%02u:%02u.%02u", minutes, seconds, hundredths);
    return text;
}

void expectRow(const ListViewWindow& view, int32_t row, const std::string& title,
               const std::string& time, const std::string& loop, const std::string& artist) {
    EXPECT_EQ(view.cell(row, 0), title) << "row " << row;
    EXPECT_EQ(view.cell(row, 1), time) << "row " << row;
    EXPECT_EQ(view.cell(row, 2), loop) << "row " << row;
    EXPECT_EQ(view.cell(row, 3), artist) << "row " << row;
}

TEST(ListRows, InsertedRowShowsTitleTimeLoopAndArtist) {
    ListViewWindow view;
    const std::string title = sjis("ソース・ポイント");  // trail bytes 0x5C and 0x7C
    const std::string artist = sjis("表示テスト");
    const int32_t next =
        insertRow(view.list(), 0, track(title, artist, lengthOf(61, 5, 7, 1763), 1));
    EXPECT_EQ(next, 1);
    ASSERT_EQ(rowCount(view.list()), 1);
    expectRow(view, 0, title, timeText(61, 5, 7), "Loop", artist);
}

TEST(ListRows, UnknownLengthLeavesTheTimeCellEmptyUntilTheRowIsRewritten) {
    ListViewWindow view;
    insertRow(view.list(), 0, track("Stored", "Someone", 0, 0));
    expectRow(view, 0, "Stored", "", "", "Someone");

    updateRow(view.list(), 0, track("Stored", "Someone", 0, 0));
    expectRow(view, 0, "Stored", "00:00.00", "", "Someone");

    updateRow(view.list(), 0, track("Played", "Other", lengthOf(2, 30, 0), 1));
    expectRow(view, 0, "Played", timeText(2, 30, 0), "Loop", "Other");
    updateRow(view.list(), 0, track("Played", "", lengthOf(0, 1, 0), 0));
    expectRow(view, 0, "Played", timeText(0, 1, 0), "", "");
}

TEST(ListRows, InsertReturnsTheNextIndexAndKeepsTheOrder) {
    ListViewWindow view;
    EXPECT_EQ(insertRow(view.list(), 0, track("A", "", 1764, 0)), 1);
    EXPECT_EQ(insertRow(view.list(), 1, track("C", "", 1764, 0)), 2);
    EXPECT_EQ(insertRow(view.list(), 1, track("B", "", 1764, 0)), 2);
    ASSERT_EQ(rowCount(view.list()), 3);
    EXPECT_EQ(view.cell(0, 0), "A");
    EXPECT_EQ(view.cell(1, 0), "B");
    EXPECT_EQ(view.cell(2, 0), "C");
}

TEST(ListRows, ABatchGoesInWholeAndInOrderAndTheViewIsShownAgain) {
    ListViewWindow view;
    insertRow(view.list(), 0, track("first", "", 1764, 0));
    insertRow(view.list(), 1, track("last", "", 1764, 0));
    std::vector<TrackInfo> batch;
    for (uint32_t k = 0; k < 1000; ++k) {
        batch.push_back(track("t" + std::to_string(k), "a" + std::to_string(k),
                              lengthOf(k / 60, k % 60, k % 100, k % 1764), k % 3 == 0));
    }
    EXPECT_EQ(insertRows(view.list(), 1, batch.data(), 1000), 1000);
    // Redrawing is suspended by hiding the view; it must be back on.
    EXPECT_TRUE(IsWindowVisible(view.list()));
    ASSERT_EQ(rowCount(view.list()), 1002);
    EXPECT_EQ(view.cell(0, 0), "first");
    EXPECT_EQ(view.cell(1001, 0), "last");
    for (uint32_t k = 0; k < 1000; ++k) {
        const int32_t row = static_cast<int32_t>(k) + 1;
        // The first record has length 0: a new row shows no time for it.
        const std::string time = k == 0 ? "" : timeText(k / 60, k % 60, k % 100);
        ASSERT_NO_FATAL_FAILURE(expectRow(view, row, "t" + std::to_string(k), time,
                                          k % 3 == 0 ? "Loop" : "", "a" + std::to_string(k)));
    }
}

// Windows' list view passes WM_SETREDRAW on to the default procedure, which
// shows a hidden window when redrawing is turned on; Wine's keeps it to
// itself. The view below does as Windows' does.
WNDPROC g_listProcedure = nullptr;
LRESULT CALLBACK redrawLikeWindows(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcA(g_listProcedure, view, message, wParam, lParam);
    if (message == WM_SETREDRAW) DefWindowProcA(view, message, wParam, lParam);
    return result;
}

TEST(ListRows, AHiddenViewStaysHiddenThroughABatch) {
    ListViewWindow view;
    g_listProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        view.list(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(redrawLikeWindows)));
    ShowWindow(view.list(), SW_HIDE);
    std::vector<TrackInfo> batch(3, track("t", "a", 1764, 0));
    EXPECT_EQ(insertRows(view.list(), 0, batch.data(), 3), 3);
    EXPECT_FALSE(GetWindowLongA(view.list(), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(rowCount(view.list()), 3);
}

TEST(ListRows, AnEmptyBatchInsertsNothing) {
    ListViewWindow view;
    TrackInfo one = track("A", "", 1, 0);
    EXPECT_EQ(insertRows(view.list(), 0, &one, 0), 0);
    EXPECT_EQ(insertRows(view.list(), 0, nullptr, 5), 0);
    EXPECT_EQ(rowCount(view.list()), 0);
    EXPECT_TRUE(IsWindowVisible(view.list()));
}

TEST(ListRows, SelectRowLeavesOneRowSelectedFocusedAndMarked) {
    ListViewWindow view;
    for (int32_t i = 0; i < 6; ++i) insertRow(view.list(), i, track("r", "", 1764, 0));
    EXPECT_EQ(selectedRow(view.list()), -1);

    selectRow(view.list(), 3);
    EXPECT_EQ(view.state(3), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(ListView_GetSelectionMark(view.list()), 3);
    EXPECT_EQ(selectedRow(view.list()), 3);

    selectRow(view.list(), 1);
    EXPECT_EQ(view.state(3), 0u);
    EXPECT_EQ(view.state(1), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(ListView_GetSelectedCount(view.list()), 1u);
    EXPECT_EQ(selectedRow(view.list()), 1);

    // The mark outlives the selection; with nothing selected there is no row.
    ListView_SetItemState(view.list(), -1, 0, LVIS_SELECTED);
    EXPECT_EQ(ListView_GetSelectionMark(view.list()), 1);
    EXPECT_EQ(selectedRow(view.list()), -1);
}

TEST(ListRows, DeleteOneOrAll) {
    ListViewWindow view;
    const char* names[] = {"A", "B", "C", "D"};
    for (int32_t i = 0; i < 4; ++i) insertRow(view.list(), i, track(names[i], "", 1764, 0));
    deleteRow(view.list(), 1);
    ASSERT_EQ(rowCount(view.list()), 3);
    EXPECT_EQ(view.cell(0, 0), "A");
    EXPECT_EQ(view.cell(1, 0), "C");
    EXPECT_EQ(view.cell(2, 0), "D");
    deleteAllRows(view.list());
    EXPECT_EQ(rowCount(view.list()), 0);
}

}  // namespace
