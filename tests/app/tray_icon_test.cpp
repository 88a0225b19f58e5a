// The tray icon record against a recording stand-in for the shell: the add
// retries, the tip cut and the records that reach the shell.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/tray_icon.h"
#include "app_test_support.h"

namespace tarnuvo {
namespace {

struct ShellCall {
    DWORD message;
    NOTIFYICONDATAA data;
};

// The stand-in answers from a script: each entry is a result and the last
// error it leaves; past the script it succeeds.
std::vector<ShellCall> g_calls;
std::vector<std::pair<BOOL, DWORD>> g_script;

BOOL WINAPI recordingShell(DWORD message, PNOTIFYICONDATAA data) {
    g_calls.push_back({message, *data});
    if (g_calls.size() > g_script.size()) return TRUE;
    auto [result, error] = g_script[g_calls.size() - 1];
    SetLastError(error);
    return result;
}

class TrayRecord : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        g_script.clear();
        tray.shellNotify = recordingShell;
        tray.retryDelayMs = 1;
        tray.init(nullptr, owner, kTrayIconId, kTrayCallbackMessage);
    }
    HWND owner = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x4321));
    HICON icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    TrayIcon tray;
};

TEST_F(TrayRecord, InitRegistersTaskbarCreated) {
    TrayIcon fresh;
    EXPECT_EQ(fresh.init(nullptr, owner, 2000, WM_USER), RegisterWindowMessageA("TaskbarCreated"));
    EXPECT_EQ(fresh.data.cbSize, 0u);
    EXPECT_EQ(fresh.retryDelayMs, 1000u);
}

TEST_F(TrayRecord, AddFillsTheFirstLayout) {
    EXPECT_TRUE(tray.add(icon, "Tarnuvo"));
    ASSERT_EQ(g_calls.size(), 1u);
    const NOTIFYICONDATAA& sent = g_calls[0].data;
    EXPECT_EQ(g_calls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(sent.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
    if (sizeof(void*) == 4) {
        EXPECT_EQ(sent.cbSize, 88u);
    }
    EXPECT_EQ(sent.hWnd, owner);
    EXPECT_EQ(sent.uID, 2000u);
    EXPECT_EQ(sent.uFlags, 7u);
    EXPECT_EQ(sent.uCallbackMessage, static_cast<UINT>(WM_USER));
    EXPECT_EQ(sent.hIcon, icon);
    EXPECT_STREQ(sent.szTip, "Tarnuvo");
}

TEST_F(TrayRecord, NullTipIsEmptyAndLongTipsKeepWholeCharacters) {
    EXPECT_TRUE(tray.add(icon, nullptr));
    EXPECT_STREQ(g_calls.back().data.szTip, "");
    // 62 bytes and a double-byte character do not fit in 63.
    std::string tip = std::string(62, 't') + test::sjis("表");
    EXPECT_TRUE(tray.modify(nullptr, tip.c_str()));
    EXPECT_EQ(std::string(g_calls.back().data.szTip), std::string(62, 't'));
    std::string exact = std::string(61, 't') + test::sjis("表");
    EXPECT_TRUE(tray.modify(nullptr, exact.c_str()));
    EXPECT_EQ(std::string(g_calls.back().data.szTip), exact);
}

TEST_F(TrayRecord, AddRetriesWhileTheShellTimesOut) {
    g_script = {{FALSE, ERROR_TIMEOUT}, {FALSE, 0}, {FALSE, ERROR_TIMEOUT}, {FALSE, 0}};
    EXPECT_TRUE(tray.add(icon, "tip"));
    ASSERT_EQ(g_calls.size(), 5u);
    EXPECT_EQ(g_calls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(g_calls[1].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(g_calls[2].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(g_calls[3].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(g_calls[4].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_STREQ(g_calls[3].data.szTip, "tip");
}

TEST_F(TrayRecord, AShellThatKeepsTimingOutIsGivenUpOnAfterFiveRetries) {
    for (int i = 0; i < 40; ++i) g_script.push_back({FALSE, ERROR_TIMEOUT});
    EXPECT_FALSE(tray.add(icon, "tip"));
    // Six rounds of add and modify: the first try and five retries a second apart.
    ASSERT_EQ(g_calls.size(), 12u);
    for (size_t i = 0; i < g_calls.size(); ++i)
        EXPECT_EQ(g_calls[i].message, static_cast<DWORD>(i % 2 ? NIM_MODIFY : NIM_ADD));
    EXPECT_EQ(TrayIcon().retryLimit * TrayIcon().retryDelayMs, 5000u);
    // The record stays filled, so that "TaskbarCreated" can add it later.
    EXPECT_EQ(tray.data.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
    EXPECT_STREQ(tray.data.szTip, "tip");
}

TEST_F(TrayRecord, TimedOutAddThatTheShellKeptIsModified) {
    g_script = {{FALSE, ERROR_TIMEOUT}, {TRUE, 0}};
    EXPECT_EQ(tray.add(icon, "tip"), TRUE);
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[1].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(g_calls[1].data.uFlags, 7u);
}

TEST_F(TrayRecord, OtherFailuresAreNotRetried) {
    g_script = {{FALSE, ERROR_ACCESS_DENIED}};
    EXPECT_FALSE(tray.add(icon, "tip"));
    EXPECT_EQ(g_calls.size(), 1u);
}

TEST_F(TrayRecord, ModifySendsOnlyWhatChanged) {
    ASSERT_TRUE(tray.add(icon, "first"));
    HICON other = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WARNING));
    EXPECT_TRUE(tray.modify(other, nullptr));
    EXPECT_EQ(g_calls.back().message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(g_calls.back().data.uFlags, static_cast<UINT>(NIF_ICON));
    EXPECT_EQ(g_calls.back().data.hIcon, other);
    EXPECT_STREQ(g_calls.back().data.szTip, "first");
    EXPECT_TRUE(tray.modify(nullptr, "second"));
    EXPECT_EQ(g_calls.back().data.uFlags, static_cast<UINT>(NIF_TIP));
    EXPECT_EQ(g_calls.back().data.hIcon, other);
    EXPECT_TRUE(tray.modify(icon, "third"));
    EXPECT_EQ(g_calls.back().data.uFlags, static_cast<UINT>(NIF_ICON | NIF_TIP));
    size_t before = g_calls.size();
    EXPECT_TRUE(tray.modify(nullptr, nullptr));
    EXPECT_EQ(g_calls.size(), before);
}

TEST_F(TrayRecord, RemoveSendsAFreshRecordAndNothingWhenNeverAdded) {
    EXPECT_TRUE(tray.remove());
    EXPECT_TRUE(g_calls.empty());
    ASSERT_TRUE(tray.add(icon, "tip"));
    EXPECT_TRUE(tray.remove());
    const NOTIFYICONDATAA& sent = g_calls.back().data;
    EXPECT_EQ(g_calls.back().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(sent.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
    EXPECT_EQ(sent.hWnd, owner);
    EXPECT_EQ(sent.uID, 2000u);
    EXPECT_EQ(sent.uFlags, 0u);
    EXPECT_EQ(sent.hIcon, nullptr);
    EXPECT_STREQ(sent.szTip, "");
}

TEST_F(TrayRecord, AddAgainSendsTheStoredRecord) {
    EXPECT_FALSE(tray.addAgain());  // nothing stored yet
    EXPECT_TRUE(g_calls.empty());
    ASSERT_TRUE(tray.add(icon, "first"));
    ASSERT_TRUE(tray.modify(nullptr, "current"));
    EXPECT_TRUE(tray.addAgain());
    EXPECT_EQ(g_calls.back().message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(g_calls.back().data.uFlags, 7u);
    EXPECT_STREQ(g_calls.back().data.szTip, "current");
    EXPECT_EQ(g_calls.back().data.hIcon, icon);
}

}  // namespace
}  // namespace tarnuvo
