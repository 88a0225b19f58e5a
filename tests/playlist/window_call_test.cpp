// Work handed to a window's thread: synchronous, on that thread only, and
// refused cleanly when the window is gone.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "base/window_call.h"
#include "base/window_messages.h"
#include "tests/playlist/list_view_window.h"

using namespace tarnuvo;
using tarnuvo::test::ListViewWindow;
using tarnuvo::test::pumpUntil;

namespace {

// Runs `body` on a new thread while this one serves messages.
template <typename Body>
void onWorker(Body body) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        body();
        done = true;
    });
    pumpUntil([&] { return done.load(); });
    worker.join();
}

TEST(WindowCall, OnTheWindowThreadTheWorkRunsDirectly) {
    ListViewWindow view(false);
    DWORD ranOn = 0;
    EXPECT_EQ(callOnWindowThread(view.window(), [&] { ranOn = GetCurrentThreadId(); }), 1);
    EXPECT_EQ(ranOn, GetCurrentThreadId());
    EXPECT_EQ(view.calls, 0);
}

TEST(WindowCall, FromAWorkerTheWorkRunsOnTheWindowThreadBeforeTheCallReturns) {
    ListViewWindow view(false);
    const DWORD windowThread = GetCurrentThreadId();
    DWORD workerThread = 0;
    DWORD ranOn = 0;
    int value = 0;
    int seenAfterCall[3] = {};
    int32_t results[3] = {};
    onWorker([&] {
        workerThread = GetCurrentThreadId();
        for (int k = 0; k < 3; ++k) {
            results[k] = callOnWindowThread(view.window(), [&] {
                ranOn = GetCurrentThreadId();
                value = k + 10;
            });
            seenAfterCall[k] = value;
        }
    });
    EXPECT_NE(workerThread, windowThread);
    EXPECT_EQ(ranOn, windowThread);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(results[k], 1);
        EXPECT_EQ(seenAfterCall[k], k + 10);
    }
    EXPECT_EQ(view.calls, 3);
}

TEST(WindowCall, AGoneWindowRunsNothing) {
    HWND gone = nullptr;
    {
        ListViewWindow view(false);
        gone = view.window();
    }
    int runs = 0;
    EXPECT_EQ(callOnWindowThread(gone, [&] { ++runs; }), 0);
    EXPECT_EQ(callOnWindowThread(nullptr, [&] { ++runs; }), 0);
    int32_t fromWorker = -1;
    onWorker([&] { fromWorker = callOnWindowThread(gone, [&] { ++runs; }); });
    EXPECT_EQ(fromWorker, 0);
    EXPECT_EQ(runs, 0);
}

TEST(WindowCall, WorkThatThrowsReportsFailureAndTheWindowGoesOn) {
    ListViewWindow view(false);
    EXPECT_EQ(callOnWindowThread(view.window(), [] { throw std::runtime_error("direct"); }), 0);
    int32_t thrown = -1, after = -1;
    onWorker([&] {
        thrown = callOnWindowThread(view.window(), [] { throw std::runtime_error("sent"); });
        after = callOnWindowThread(view.window(), [] {});
    });
    EXPECT_EQ(thrown, 0);
    EXPECT_EQ(after, 1);
    EXPECT_EQ(callOnWindowThread(view.window(), std::function<void()>()), 0);
}

TEST(WindowCall, AStrayMessageWithTheSameNumberRunsNothing) {
    ListViewWindow view(false);
    int runs = 0;
    std::function<void()> work = [&] { ++runs; };
    EXPECT_EQ(SendMessageA(view.window(), kWindowCallMessage, 0, reinterpret_cast<LPARAM>(&work)),
              0);
    EXPECT_EQ(receiveWindowCall(0, 0), 0);
    EXPECT_EQ(runs, 0);
}

}  // namespace
