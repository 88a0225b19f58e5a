// Message boxes centred over their owner by the one-shot hook.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>

#include "app/centering_hook.h"
#include "app_test_support.h"
#include "window_test_support.h"

namespace tarnuvo {
namespace {

using test::TestWindow;

// Finds a box by its caption from another thread, notes where it stands,
// then presses its OK button.
struct BoxWatcher {
    const char* caption;
    std::atomic<bool> found{false};
    RECT where = {};

    static DWORD WINAPI run(void* argument) {
        auto* self = static_cast<BoxWatcher*>(argument);
        for (int i = 0; i < 300; ++i) {
            HWND box = FindWindowA("#32770", self->caption);
            if (box && IsWindowVisible(box)) {
                Sleep(50);  // let it settle where the hook put it
                GetWindowRect(box, &self->where);
                self->found = true;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return 0;
            }
            Sleep(10);
        }
        return 1;
    }
};

struct Shown {
    int result = 0;
    bool found = false;
    RECT where = {};
    LONG centreX() const { return where.left + (where.right - where.left) / 2; }
    LONG centreY() const { return where.top + (where.bottom - where.top) / 2; }
};

// Runs `show`, which opens a box with this caption and returns its result.
template <typename Show>
Shown watchBox(const char* caption, Show show) {
    BoxWatcher watcher{caption};
    UniqueHandle thread(CreateThread(nullptr, 0, BoxWatcher::run, &watcher, 0, nullptr));
    Shown shown;
    shown.result = show();
    WaitForSingleObject(thread.get(), 5000);
    shown.found = watcher.found;
    shown.where = watcher.where;
    return shown;
}

LONG middle(LONG from, LONG to) {
    return from + (to - from) / 2;
}

HHOOK WINAPI failingInstaller(int, HOOKPROC, HINSTANCE, DWORD) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

TEST(CenteringHook, MessageBoxIsCentredOverItsOwner) {
    TestWindow owner(60, 40, 300, 200);
    Shown box = watchBox("Tarnuvo centred", [&] {
        return centeredMessageBox(owner.get(), "text", "Tarnuvo centred", MB_OK);
    });
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.result, IDOK);
    RECT o = owner.rect();
    RECT b = box.where;
    EXPECT_EQ(b.left, o.left + (o.right - o.left) / 2 - (b.right - b.left) / 2);
    EXPECT_EQ(b.top, o.top + (o.bottom - o.top) / 2 - (b.bottom - b.top) / 2);
}

TEST(CenteringHook, BoxOverAnOwnerAtTheCornerIsNotClamped) {
    TestWindow owner(-150, -120, 200, 160);
    Shown box = watchBox("Tarnuvo corner", [&] {
        return centeredMessageBox(owner.get(), "a longer text for a wider box", "Tarnuvo corner",
                                  MB_OK);
    });
    ASSERT_TRUE(box.found);
    EXPECT_LT(box.where.left, 0);
    EXPECT_LT(box.where.top, 0);
    EXPECT_NEAR(box.centreX(), middle(-150, 50), 1);
}

TEST(CenteringHook, BoxIsShownUncentredWhenTheHookCannotBeInstalled) {
    TestWindow owner(0, 0, 200, 150);
    setHookInstaller(failingInstaller);
    EXPECT_EQ(centerNextDialog(owner.get()), 0);
    Shown box = watchBox("Tarnuvo unhooked", [&] {
        return centeredMessageBox(owner.get(), "text", "Tarnuvo unhooked", MB_OK);
    });
    setHookInstaller(nullptr);
    EXPECT_TRUE(box.found);  // the message reached the user
    EXPECT_EQ(box.result, IDOK);
}

TEST(CenteringHook, HookActsOnceEvenWhenArmedTwice) {
    TestWindow owner(500, 300, 300, 300);
    EXPECT_EQ(centerNextDialog(owner.get()), 1);
    EXPECT_EQ(centerNextDialog(owner.get()), 1);
    Shown first = watchBox("Tarnuvo once",
                           [&] { return MessageBoxA(owner.get(), "text", "Tarnuvo once", MB_OK); });
    ASSERT_TRUE(first.found);
    EXPECT_NEAR(first.centreX(), middle(500, 800), 1);
    EXPECT_NEAR(first.centreY(), middle(300, 600), 1);
    // No hook is left over to move the next box, which stands where the
    // system puts it.
    Shown second = watchBox(
        "Tarnuvo once", [&] { return MessageBoxA(owner.get(), "text", "Tarnuvo once", MB_OK); });
    ASSERT_TRUE(second.found);
    EXPECT_FALSE(second.where.left == first.where.left && second.where.top == first.where.top);
}

TEST(CenteringHook, ActivatingTheOwnerItselfKeepsTheHookArmed) {
    TestWindow other(0, 0, 100, 100);
    TestWindow owner(200, 200, 300, 300);
    SetActiveWindow(other.get());
    ASSERT_EQ(centerNextDialog(owner.get()), 1);
    SetActiveWindow(owner.get());
    EXPECT_EQ(owner.rect().left, 200);
    Shown box = watchBox("Tarnuvo owner",
                         [&] { return MessageBoxA(owner.get(), "text", "Tarnuvo owner", MB_OK); });
    ASSERT_TRUE(box.found);
    EXPECT_NEAR(box.centreX(), middle(200, 500), 1);
    EXPECT_NEAR(box.centreY(), middle(200, 500), 1);
}

}  // namespace
}  // namespace tarnuvo
