// Running the real Tarnuvo.exe from a test: the process, its main window (the
// top-level window with the program's property) and waiting from outside.
#pragma once

#include <windows.h>

#include <string>

namespace tarnuvo::test {

// A path of the build machine as Wine sees it (drive Z: is the root).
inline std::string unixToWine(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

struct Process {
    PROCESS_INFORMATION info = {};
    ~Process() {
        if (!info.hProcess) return;
        if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
    bool start(const std::string& exe, const std::string& arguments) {
        std::string line = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        return CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &info) != 0;
    }
    // The exit code, or STILL_ACTIVE when it did not end within `ms`.
    DWORD waitForExit(DWORD ms) {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(info.hProcess, ms) == WAIT_OBJECT_0)
            GetExitCodeProcess(info.hProcess, &code);
        return code;
    }
};

struct WindowSearch {
    DWORD process;
    HWND found;
};

inline BOOL CALLBACK takeMainWindow(HWND candidate, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(candidate, &owner);
    if (owner != search->process || !GetPropA(candidate, "Tarnuvo.MainWindow")) return TRUE;
    search->found = candidate;
    return FALSE;
}

// The main window of a process, or null.
inline HWND mainWindowOf(DWORD process) {
    WindowSearch search = {process, nullptr};
    EnumWindows(takeMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

template <typename Done>
bool waitFor(DWORD ms, Done done) {
    for (DWORD waited = 0; waited < ms; waited += 50) {
        if (done()) return true;
        Sleep(50);
    }
    return done();
}

}  // namespace tarnuvo::test
