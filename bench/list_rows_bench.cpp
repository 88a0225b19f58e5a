// Rows handed from a worker thread to a visible list view, as a load does:
// one synchronous call per row with the view redrawing as it goes, against
// one call per batch with redrawing suspended around it (250 rows, and the
// whole list at once as a list file can hand it over). Reports the time
// until every row is in and painted. Run under Wine with an X display
// (scripts/wine-run, DISPLAY set). "--max-single N" skips the row-by-row
// route above N rows (it takes minutes for 10,000 under Wine).
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "bench/bench_list_view.h"
#include "playlist/playlist.h"

using namespace tarnuvo;
using namespace tarnuvo::bench;

namespace {

constexpr int32_t kBatchRows = 250;

std::vector<TrackInfo> makeRecords(int32_t n) {
    std::vector<TrackInfo> records(static_cast<size_t>(n));
    for (int32_t k = 0; k < n; ++k) {
        TrackInfo& t = records[static_cast<size_t>(k)];
        std::snprintf(t.title, sizeof t.title, "Track %05d of the benchmark", k);
        std::snprintf(t.artist, sizeof t.artist, "Artist %d", k % 50);
        t.length = static_cast<uint32_t>(k + 1) * 176400 + 1764;
        t.hasLoop = k % 2;
    }
    return records;
}

// Seconds from the first hand-over until every row is in and painted.
double handOver(const std::vector<TrackInfo>& records, int32_t rowsPerCall, bool suspend) {
    View view;
    test::ListViewHost host(view.list, suspend);
    Playlist list(host);
    serveMessages();
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        const int32_t n = static_cast<int32_t>(records.size());
        for (int32_t at = 0; at < n; at += rowsPerCall) {
            const int32_t count = n - at < rowsPerCall ? n - at : rowsPerCall;
            callOnWindowThread(view.window.get(), [&] { list.appendEntries(&records[at], count); });
        }
        done = true;
    });
    while (!done) {
        serveMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    worker.join();
    UpdateWindow(view.window.get());
    serveMessages();
    GdiFlush();
    QueryPerformanceCounter(&end);
    if (list.count() != static_cast<int32_t>(records.size()) ||
        rowCount(view.list) != list.count()) {
        std::printf("rows missing: %d entries, %d rows\n", list.count(), rowCount(view.list));
    }
    return static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    int32_t maxSingle = INT32_MAX;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--max-single") == 0) maxSingle = std::atoi(argv[i + 1]);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    std::printf("%8s  %22s  %20s  %20s\n", "rows", "row by row, redrawing", "250 rows a batch",
                "one batch");
    for (int32_t n : {100, 1000, 10000}) {
        const std::vector<TrackInfo> records = makeRecords(n);
        const double batched = handOver(records, kBatchRows, true);
        const double whole = handOver(records, n, true);
        if (n > maxSingle) {
            std::printf("%8d  %22s", n, "skipped");
        } else {
            std::printf("%8d  %20.3f s", n, handOver(records, 1, false));
        }
        std::printf("  %18.3f s  %18.3f s\n", batched, whole);
        std::fflush(stdout);
    }
    return 0;
}
