// The real main dialog, created in-process from the real resources with the
// settings file and the temporary folder in a scratch folder, and small ways
// to look at it from outside.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "app/application.h"
#include "app_test_support.h"
#include "ui/main_view.h"

namespace tarnuvo::test {

// A path of the build machine as Wine sees it (drive Z: is the root).
inline std::string winePath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

inline std::string demoWav() {
    return winePath(TARNUVO_DEMO_WAV);
}

// The keys of a settings file, as the platform's profile functions read them.
inline std::map<std::string, std::string> readSettings(const std::string& iniPath) {
    std::map<std::string, std::string> keys;
    char names[4096] = {};
    DWORD n =
        GetPrivateProfileStringA("Tarnuvo", nullptr, "", names, sizeof names, iniPath.c_str());
    for (const char* key = names; key < names + n && *key; key += std::strlen(key) + 1) {
        char value[512] = {};
        GetPrivateProfileStringA("Tarnuvo", key, "", value, sizeof value, iniPath.c_str());
        keys[key] = value;
    }
    return keys;
}

inline std::string cellText(HWND listView, int row, int column) {
    char text[kTextSize] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(listView, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    return text;
}

inline bool menuChecked(HWND window, UINT id) {
    return (GetMenuState(GetMenu(window), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

inline bool toolbarButtonEnabled(HWND window, int command) {
    return SendMessageA(GetDlgItem(window, 1500), TB_ISBUTTONENABLED, command, 0) != 0;
}

// A control's rectangle in the dialog's client coordinates.
inline RECT clientRectOf(HWND window, int id) {
    RECT r = {};
    GetWindowRect(GetDlgItem(window, id), &r);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline LONG heightOf(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

// Whether the shell holds an icon of this window with the program's id: it
// only accepts changes to icons it holds.
inline bool shellHasIcon(HWND window) {
    NOTIFYICONDATAA probe = {};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = window;
    probe.uID = 2000;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

// Takes a posted quit message off the queue; true when there was one.
inline bool takeQuit() {
    MSG message;
    bool found = false;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) found = true;
    return found;
}

// Runs the posted messages for a while without running the main loop.
inline void settle(DWORD ms = 100) {
    pumpUntil(ms, [] { return false; });
}

class MainDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 932u) << "the tests run in code page 932";
        // The taskbar of the test's desktop may still be starting.
        pumpUntil(5000, [] { return FindWindowA("Shell_TrayWnd", nullptr) != nullptr; });
        modulePath = dir / "Tarnuvo.exe";
        tempPath = dir / "temp";
        iniPath = dir / "Tarnuvo.ini";
        CreateDirectoryA(tempPath.c_str(), nullptr);
        baselineGdi = liveGdiObjects.load();
    }

    void TearDown() override {
        finish();
        EXPECT_EQ(liveGdiObjects.load(), baselineGdi) << "GDI objects left behind";
    }

    void writeSettings(const std::string& lines) { writeFile(iniPath, "[Tarnuvo]\r\n" + lines); }

    // Creates the objects and reads the settings; the dialog follows in open().
    void prepare(const std::string& commandLine = "Tarnuvo.exe") {
        commandLine_ = commandLine;
        StartOptions options;
        options.paths.modulePath = modulePath.c_str();
        options.paths.tempPath = tempPath.c_str();
        options.commandLine = commandLine_.c_str();
        app = std::make_unique<Application>(GetModuleHandleA(nullptr), options);
        app->prepare();
        main = &app->mainWindow();
    }
    void open() {
        window = app->open();
        ASSERT_NE(window, nullptr);
        settle();
    }
    void start(const std::string& commandLine = "Tarnuvo.exe") {
        prepare(commandLine);
        open();
    }

    // Closes the window as the user does and ends the objects in their order.
    void finish() {
        if (!app) return;
        if (window && IsWindow(window)) SendMessageA(window, WM_CLOSE, 0, 0);
        takeQuit();
        app.reset();
        takeQuit();
        main = nullptr;
        window = nullptr;
    }

    MainView& view() const { return mainView(*main); }
    HWND item(int id) const { return GetDlgItem(window, id); }
    int rows() const { return ListView_GetItemCount(item(1000)); }
    bool waitForRows(int n) {
        return pumpUntil(10000, [&] { return rows() >= n; });
    }

    ScratchDir dir;
    std::string modulePath;
    std::string tempPath;
    std::string iniPath;
    std::unique_ptr<Application> app;
    MainWindow* main = nullptr;
    HWND window = nullptr;
    int32_t baselineGdi = 0;

private:
    std::string commandLine_;
};

}  // namespace tarnuvo::test
