// One owner for the entries: a worker hands finished records to the window
// thread, which appends each together with its row. Entries and the rows of
// a real list view are compared with what the test expects after every
// message and while the worker is still busy.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "base/window_call.h"
#include "playlist/playlist.h"
#include "tests/playlist/list_view_window.h"

using namespace tarnuvo;
using tarnuvo::test::ListViewHost;
using tarnuvo::test::ListViewWindow;
using tarnuvo::test::pumpUntil;

namespace {

constexpr int32_t kEntries = 5000;

// Entry k as the worker makes it: its length reads k seconds and k % 100
// hundredths; every third has a loop; every seventh has no known length.
TrackInfo recordFor(int32_t k) {
    TrackInfo t;
    std::snprintf(t.title, sizeof t.title, "Title %05d", k);
    std::snprintf(t.artist, sizeof t.artist, "Artist %d", k % 37);
    std::snprintf(t.path, sizeof t.path, "C:\\music\\%05d.ogg", k);
    std::snprintf(t.location, sizeof t.location, "%s", t.path);
    const uint32_t u = static_cast<uint32_t>(k);
    t.length = k % 7 == 0 ? 0 : (u * 100 + u % 100) * 1764 + u % 1764;
    t.hasLoop = k % 3 == 0;
    t.listIndex = k;
    return t;
}

struct ExpectedRow {
    std::string title, time, loop, artist;
};
ExpectedRow expectedRow(int32_t k) {
    char title[32], time[32] = "", artist[32];
    std::snprintf(title, sizeof title, "Title %05d", k);
    std::snprintf(artist, sizeof artist, "Artist %d", k % 37);
    if (k % 7 != 0) std::snprintf(time, sizeof time, "%02d:%02d.%02d", k / 60, k % 60, k % 100);
    return {title, time, k % 3 == 0 ? "Loop" : "", artist};
}

// Count and texts of every row and entry against the expectation.
::testing::AssertionResult inStep(const Playlist& list, const ListViewWindow& view) {
    const int32_t rows = rowCount(view.list());
    if (rows != list.count())
        return ::testing::AssertionFailure() << list.count() << " entries, " << rows << " rows";
    for (int32_t i = 0; i < rows; ++i) {
        const ExpectedRow e = expectedRow(i);
        const TrackInfo& entry = *list.entryAt(i);
        if (e.title != entry.title || e.artist != entry.artist || view.cell(i, 0) != e.title ||
            view.cell(i, 1) != e.time || view.cell(i, 2) != e.loop || view.cell(i, 3) != e.artist)
            return ::testing::AssertionFailure()
                   << "row " << i << " shows " << view.cell(i, 0) << "|" << view.cell(i, 1) << "|"
                   << view.cell(i, 2) << "|" << view.cell(i, 3) << " for entry " << entry.title;
    }
    return ::testing::AssertionSuccess();
}

TEST(Handover, FiveThousandEntriesFromAWorkerStayInStepWithTheRows) {
    ListViewWindow view;
    ListViewHost host(view.list());
    Playlist list(host);
    const DWORD windowThread = GetCurrentThreadId();

    std::atomic<bool> done{false};
    std::atomic<int32_t> failedCalls{0};
    int messages = 0, checks = 0, offThread = 0, outOfStep = 0;
    std::string firstFault;
    std::thread worker([&] {
        int32_t next = 0, size = 1;
        while (next < kEntries) {
            // Batches of 1 to 173 records, as a load hands over whatever it
            // read in the last stretch of time.
            std::vector<TrackInfo> batch;
            for (int32_t k = 0; k < size && next < kEntries; ++k)
                batch.push_back(recordFor(next++));
            size = size * 7 % 173 + 1;
            const int32_t ok = callOnWindowThread(view.window(), [&] {
                if (GetCurrentThreadId() != windowThread) ++offThread;
                list.appendEntries(batch.data(), static_cast<int32_t>(batch.size()));
                ++messages;
                const auto result = inStep(list, view);
                if (!result && outOfStep++ == 0) firstFault = result.message();
            });
            if (!ok) ++failedCalls;
        }
        done = true;
    });
    // Meanwhile the window thread reads the entries between messages.
    pumpUntil([&] {
        const int32_t n = list.count();
        if (n > 0) {
            ++checks;
            if (n != rowCount(view.list()) ||
                expectedRow(n - 1).title != list.entryAt(n - 1)->title)
                ++outOfStep;
        }
        return done.load();
    });
    worker.join();

    EXPECT_EQ(failedCalls.load(), 0);
    EXPECT_EQ(offThread, 0);
    EXPECT_EQ(outOfStep, 0) << firstFault;
    EXPECT_GT(messages, 40);
    EXPECT_GT(checks, 0);
    EXPECT_EQ(list.count(), kEntries);
    EXPECT_TRUE(inStep(list, view));
    EXPECT_TRUE(IsWindowVisible(view.list()));
}

// The list edits over the real view keep entry i in row i.
TEST(Handover, EditsOverTheRealViewKeepEntriesAndRowsTogether) {
    ListViewWindow view;
    ListViewHost host(view.list());
    Playlist list(host);
    std::vector<TrackInfo> records;
    for (int32_t k = 0; k < 8; ++k) records.push_back(recordFor(k));
    list.appendEntries(records.data(), 8);

    // Entry 0 has no known length: moved down, its row still shows no time.
    ASSERT_TRUE(list.swapEntries(0));
    EXPECT_STREQ(list.entryAt(1)->title, "Title 00000");
    EXPECT_EQ(view.cell(1, 0), "Title 00000");
    EXPECT_EQ(view.cell(1, 1), "");
    EXPECT_EQ(view.cell(0, 0), "Title 00001");
    EXPECT_EQ(view.cell(0, 1), expectedRow(1).time);

    list.removeEntry(5);
    list.removeEntry(0);
    const char* order[] = {"Title 00000", "Title 00002", "Title 00003",
                           "Title 00004", "Title 00006", "Title 00007"};
    ASSERT_EQ(rowCount(view.list()), 6);
    ASSERT_EQ(list.count(), 6);
    for (int32_t i = 0; i < 6; ++i) {
        EXPECT_STREQ(list.entryAt(i)->title, order[i]);
        EXPECT_EQ(view.cell(i, 0), order[i]);
    }

    TrackInfo probed = recordFor(0);
    probed.length = 0;
    list.updateEntry(0, probed);
    EXPECT_EQ(view.cell(0, 1), "00:00.00");  // a rewritten row shows a time of 0

    list.clearList();
    EXPECT_EQ(rowCount(view.list()), 0);
    EXPECT_EQ(list.count(), 0);
}

}  // namespace
