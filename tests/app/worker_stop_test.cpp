// Stopping a worker that talks to the window with synchronous sends.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>

#include "base/worker_stop.h"
#include "app_test_support.h"

namespace tarnuvo {
namespace {

constexpr UINT kWorkerSend = WM_APP + 10;
constexpr UINT kStopAgain = WM_APP + 11;
constexpr UINT kRestart = WM_APP + 12;

// A message-only window that counts the sends it serves and, on a posted
// request, stops the worker again from inside the first stop's wait (as a
// command handler would). The handler of the worker's own send cannot do
// that: the worker waits for that very handler.
struct Receiver {
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Receiver*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && message == kWorkerSend) {
            ++self->served;
            return 1;
        }
        if (self && message == kStopAgain && self->worker) {
            self->stoppedInside = true;
            stopWorker(*self->worker);
            return 0;
        }
        if (self && message == kRestart && self->restart) {
            self->restart();
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    Receiver() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = procedure;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TarnuvoWorkerReceiver";
        RegisterClassA(&wc);
        window.reset(CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     wc.hInstance, nullptr));
        SetWindowLongPtrA(window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }

    UniqueWindow window;
    int served = 0;  // touched on the window's thread only
    bool stoppedInside = false;
    WorkerThread* worker = nullptr;
    std::function<void()> restart;
};

// The worker: sends to the window until its run flag clears, then marks
// itself finished, as the loader and the play thread do.
struct Chatter {
    WorkerThread* record;
    HWND window;
    std::atomic<int> sent{0};
    std::atomic<int> answered{0};
    std::atomic<int> woken{0};
};

DWORD WINAPI chatter(void* argument) {
    auto* c = static_cast<Chatter*>(argument);
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // make the queue
    while (c->record->running) {
        ++c->sent;
        if (SendMessageA(c->window, kWorkerSend, 0, 0) == 1) ++c->answered;
        if (PeekMessageA(&message, nullptr, kWorkerWakeMessage, kWorkerWakeMessage, PM_REMOVE))
            ++c->woken;
    }
    if (PeekMessageA(&message, nullptr, kWorkerWakeMessage, kWorkerWakeMessage, PM_REMOVE))
        ++c->woken;
    c->record->finished = 1;
    return 0;
}

// Goes on sending after the stop request, as an archive intake finishes the
// members it has listed, then ends without a finished mark of its own.
struct Drainer {
    WorkerThread* record;
    HWND window;
    int after;
    std::atomic<int> answered{0};
};

DWORD WINAPI drainer(void* argument) {
    auto* d = static_cast<Drainer*>(argument);
    while (d->record->running) Sleep(1);
    for (int i = 0; i < d->after; ++i) {
        if (SendMessageA(d->window, kWorkerSend, 0, 0) == 1) ++d->answered;
    }
    return 0;
}

DWORD WINAPI quickWorker(void* record) {
    auto* w = static_cast<WorkerThread*>(record);
    w->running = 0;
    w->finished = 1;
    return 0;
}

DWORD WINAPI unmarkedWorker(void* record) {
    auto* w = static_cast<WorkerThread*>(record);
    while (w->running) Sleep(10);
    return 0;  // never sets finished
}

// Starts the chatter and lets it get some sends served first.
void start(WorkerThread& worker, Chatter& c, Receiver& receiver) {
    worker.running = 1;
    worker.finished = 0;
    DWORD id = 0;
    worker.thread.reset(CreateThread(nullptr, 0, chatter, &c, 0, &id));
    worker.threadId = id;
    ASSERT_TRUE(worker.thread);
    ASSERT_TRUE(test::pumpUntil(5000, [&] { return receiver.served >= 3; }));
}

HANDLE duplicate(HANDLE handle) {
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    return copy;
}

TEST(StopWorker, ServesSendsWhileWaitingAndClosesTheHandle) {
    Receiver receiver;
    WorkerThread worker;
    Chatter c{&worker, receiver.window.get()};
    start(worker, c, receiver);
    UniqueHandle watch(duplicate(worker.thread.get()));
    HANDLE raw = worker.thread.get();

    DWORD begun = GetTickCount();
    stopWorker(worker);
    EXPECT_LT(GetTickCount() - begun, 3000u);  // no deadlock

    EXPECT_EQ(WaitForSingleObject(watch.get(), 2000), WAIT_OBJECT_0);
    EXPECT_FALSE(worker.thread);
    EXPECT_EQ(worker.finished, 0);
    EXPECT_EQ(worker.running, 0);
    // Every send was answered, none is left hanging.
    EXPECT_EQ(c.sent.load(), c.answered.load());
    EXPECT_EQ(c.sent.load(), receiver.served);
    EXPECT_EQ(c.woken.load(), 1);
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(raw, &flags));

    // Again on the same record: nothing to do.
    stopWorker(worker);
    EXPECT_FALSE(worker.thread);
    EXPECT_EQ(worker.finished, 0);
}

TEST(StopWorker, StopFromAHandlerInsideTheWaitClosesOnce) {
    Receiver receiver;
    WorkerThread worker;
    Chatter c{&worker, receiver.window.get()};
    start(worker, c, receiver);
    UniqueHandle watch(duplicate(worker.thread.get()));
    receiver.worker = &worker;
    PostMessageA(receiver.window.get(), kStopAgain, 0, 0);

    stopWorker(worker);
    EXPECT_TRUE(receiver.stoppedInside);
    EXPECT_EQ(WaitForSingleObject(watch.get(), 2000), WAIT_OBJECT_0);
    EXPECT_FALSE(worker.thread);
    EXPECT_EQ(c.sent.load(), c.answered.load());
}

TEST(StopWorker, FinishedWorkerIsClosedWithoutWaiting) {
    WorkerThread worker;
    worker.running = 1;
    DWORD id = 0;
    worker.thread.reset(CreateThread(nullptr, 0, quickWorker, &worker, 0, &id));
    worker.threadId = id;
    ASSERT_TRUE(worker.thread);
    ASSERT_EQ(WaitForSingleObject(worker.thread.get(), 5000), WAIT_OBJECT_0);
    DWORD begun = GetTickCount();
    stopWorker(worker);
    EXPECT_LT(GetTickCount() - begun, 50u);
    EXPECT_FALSE(worker.thread);
    EXPECT_EQ(worker.finished, 0);
}

TEST(StopWorker, RecordWithoutThreadIsLeftAlone) {
    WorkerThread worker;
    worker.running = 1;
    worker.finished = 1;
    stopWorker(worker);
    EXPECT_EQ(worker.running, 1);
    EXPECT_EQ(worker.finished, 1);
}

TEST(StopWorker, ThreadThatEndsWithoutMarkingItselfIsSeenByItsHandle) {
    WorkerThread worker;
    worker.running = 1;
    DWORD id = 0;
    worker.thread.reset(CreateThread(nullptr, 0, unmarkedWorker, &worker, 0, &id));
    worker.threadId = id;
    DWORD begun = GetTickCount();
    stopWorker(worker);
    EXPECT_LT(GetTickCount() - begun, 1000u);
    EXPECT_FALSE(worker.thread);
}

TEST(StopWorker, ServesEachSendAsItArrives) {
    Receiver receiver;
    WorkerThread worker;
    Drainer d{&worker, receiver.window.get(), 300};
    worker.running = 1;
    DWORD id = 0;
    worker.thread.reset(CreateThread(nullptr, 0, drainer, &d, 0, &id));
    worker.threadId = id;
    ASSERT_TRUE(worker.thread);
    // Serving one send per wait slice would take half a minute here.
    const DWORD begun = GetTickCount();
    stopWorker(worker);
    EXPECT_LT(GetTickCount() - begun, 10000u);
    EXPECT_EQ(d.answered.load(), 300);
    EXPECT_EQ(receiver.served, 300);
    EXPECT_FALSE(worker.thread);
}

TEST(StopWorker, AQuitPostedMeanwhileStaysQueuedWhileSendsAreServed) {
    Receiver receiver;
    WorkerThread worker;
    Drainer d{&worker, receiver.window.get(), 50};
    worker.running = 1;
    DWORD id = 0;
    worker.thread.reset(CreateThread(nullptr, 0, drainer, &d, 0, &id));
    worker.threadId = id;
    PostMessageA(receiver.window.get(), kWorkerSend, 0, 0);
    PostQuitMessage(3);
    stopWorker(worker);
    EXPECT_EQ(d.answered.load(), 50);
    EXPECT_EQ(receiver.served, 51);  // the posted message too
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 3u);
}

TEST(StopWorker, AThreadStartedInTheRecordDuringTheWaitIsLeftRunning) {
    Receiver receiver;
    WorkerThread worker;
    Chatter first{&worker, receiver.window.get()};
    Chatter second{&worker, receiver.window.get()};
    start(worker, first, receiver);
    receiver.restart = [&] {
        stopWorker(worker);
        worker.running = 1;
        worker.finished = 0;
        DWORD id = 0;
        worker.thread.reset(CreateThread(nullptr, 0, chatter, &second, 0, &id));
        worker.threadId = id;
    };
    PostMessageA(receiver.window.get(), kRestart, 0, 0);
    stopWorker(worker);
    ASSERT_TRUE(worker.thread);  // the new one, untouched
    EXPECT_EQ(worker.running, 1);
    EXPECT_EQ(WaitForSingleObject(worker.thread.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    receiver.restart = nullptr;
    stopWorker(worker);
    EXPECT_FALSE(worker.thread);
    EXPECT_EQ(second.sent.load(), second.answered.load());
}

TEST(PumpOneMessage, DispatchesOneMessageAndLeavesQuit) {
    Receiver receiver;
    PostMessageA(receiver.window.get(), kWorkerSend, 0, 0);
    PostMessageA(receiver.window.get(), kWorkerSend, 0, 0);
    pumpOneMessage();
    EXPECT_EQ(receiver.served, 1);
    pumpOneMessage();
    EXPECT_EQ(receiver.served, 2);
    pumpOneMessage();  // nothing waiting: returns at once
    EXPECT_EQ(receiver.served, 2);

    PostQuitMessage(7);
    pumpOneMessage();
    pumpOneMessage();
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
}  // namespace tarnuvo
