// The tray icon against the notification area of a Wine desktop with a
// taskbar: added, its tip changed, removed, and added again from the record.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "app/tray_icon.h"
#include "app_test_support.h"
#include "window_test_support.h"

namespace tarnuvo {
namespace {

using test::TestWindow;

class TrayShell : public ::testing::Test {
protected:
    void SetUp() override {
        // The taskbar may still be starting when the program does.
        test::pumpUntil(5000, [] { return FindWindowA("Shell_TrayWnd", nullptr) != nullptr; });
        ASSERT_NE(FindWindowA("Shell_TrayWnd", nullptr), nullptr) << "no taskbar on this desktop";
        taskbarCreated =
            tray.init(GetModuleHandleA(nullptr), owner.get(), kTrayIconId, kTrayCallbackMessage);
    }
    void TearDown() override { tray.remove(); }

    // Whether the shell knows an icon of this window and id: it only accepts
    // changes to icons it holds.
    bool shellHasIcon() {
        NOTIFYICONDATAA probe = tray.data;
        probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
        probe.hWnd = owner.get();
        probe.uID = kTrayIconId;
        probe.uFlags = 0;
        return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
    }

    TestWindow owner{0, 0, 200, 100, WS_OVERLAPPEDWINDOW};
    HICON icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    HICON otherIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_INFORMATION));
    TrayIcon tray;
    UINT taskbarCreated = 0;
};

TEST_F(TrayShell, InitRegistersTaskbarCreated) {
    EXPECT_NE(taskbarCreated, 0u);
    EXPECT_EQ(taskbarCreated, RegisterWindowMessageA("TaskbarCreated"));
    EXPECT_TRUE(tray.remove());  // nothing added yet
}

TEST_F(TrayShell, AddModifyRemoveAndAddAgain) {
    EXPECT_FALSE(shellHasIcon());
    ASSERT_TRUE(tray.add(icon, "Tarnuvo"));
    EXPECT_TRUE(shellHasIcon());

    EXPECT_TRUE(tray.modify(nullptr, test::sjis("01. 表題 - 演奏者").c_str()));
    EXPECT_EQ(std::string(tray.data.szTip), test::sjis("01. 表題 - 演奏者"));
    EXPECT_TRUE(tray.modify(otherIcon, nullptr));
    EXPECT_EQ(tray.data.hIcon, otherIcon);

    EXPECT_TRUE(tray.remove());
    EXPECT_FALSE(shellHasIcon());

    // What the main window does when "TaskbarCreated" arrives.
    EXPECT_TRUE(tray.addAgain());
    EXPECT_TRUE(shellHasIcon());
    EXPECT_EQ(tray.data.uFlags, 7u);
    EXPECT_EQ(std::string(tray.data.szTip), test::sjis("01. 表題 - 演奏者"));
    EXPECT_EQ(tray.data.hIcon, otherIcon);

    EXPECT_TRUE(tray.remove());
    EXPECT_FALSE(shellHasIcon());
}

TEST_F(TrayShell, ModifyOfAnIconTheShellDoesNotHoldFails) {
    ASSERT_TRUE(tray.add(icon, "Tarnuvo"));
    ASSERT_TRUE(tray.remove());
    EXPECT_FALSE(tray.modify(nullptr, "gone"));
}

}  // namespace
}  // namespace tarnuvo
