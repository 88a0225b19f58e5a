// tarnuvo-play-driver: starts Tarnuvo.exe with a file, finds its window by
// the window property the player sets, presses play, leaves a screenshot of
// the playing window, waits until the track has played to its end (the stop
// button goes grey again) or the time is up, and closes the window with
// WM_CLOSE. Every step is written to the log file, since a program in a Wine
// desktop cannot hand its output back.
#include <windows.h>
#include <commctrl.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/play-driver/window_bmp.h"

namespace {

constexpr int kPlaylist = 1000;
constexpr int kPlayButton = 1010;
constexpr int kStopButton = 1012;
constexpr char kMainWindowProperty[] = "Tarnuvo.MainWindow";

FILE* g_log = nullptr;

void note(const char* format, ...) {
    va_list args;
    va_start(args, format);
    char line[1024];
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::printf("%s\n", line);
    std::fflush(stdout);
    if (g_log) {
        std::fprintf(g_log, "%s\n", line);
        std::fflush(g_log);
    }
}

template <typename Done>
bool waitFor(DWORD ms, Done done) {
    for (DWORD waited = 0; waited < ms; waited += 100) {
        if (done()) return true;
        Sleep(100);
    }
    return done();
}

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK takeMainWindow(HWND candidate, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(candidate, &owner);
    if (owner != search->process || !GetPropA(candidate, kMainWindowProperty)) return TRUE;
    search->found = candidate;
    return FALSE;
}

HWND mainWindowOf(DWORD process) {
    Search search = {process, nullptr};
    EnumWindows(takeMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int usage() {
    std::fprintf(stderr,
                 "usage: tarnuvo-play-driver PLAYER.exe FILE SCREENSHOT.bmp LOG [MAX-SECONDS]\n");
    return 2;
}

int drive(const char* player, const char* file, const char* screenshot, DWORD maxSeconds) {
    std::string line = std::string("\"") + player + "\" \"" + file + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(player, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        note("could not start %s (error %lu)", player, GetLastError());
        return 1;
    }
    CloseHandle(process.hThread);
    int result = 1;
    HWND window = nullptr;
    if (!waitFor(30000, [&] { return (window = mainWindowOf(process.dwProcessId)) != nullptr; })) {
        note("the player showed no window");
    } else if (!waitFor(30000, [&] {
                   return SendMessageA(GetDlgItem(window, kPlaylist), LVM_GETITEMCOUNT, 0, 0) > 0;
               })) {
        note("the file was not added to the playlist");
    } else {
        note("window found, the file is in the playlist; pressing play");
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(kPlayButton, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, kPlayButton)));
        HWND stop = GetDlgItem(window, kStopButton);
        if (!waitFor(15000, [&] { return IsWindowEnabled(stop) != 0; })) {
            note("the track did not start");
        } else {
            note("playing");
            Sleep(1500);  // the window paints the playing track
            note(tarnuvo::saveWindowBmp(window, screenshot) != 0
                     ? "screenshot saved"
                     : "the screenshot could not be saved");
            if (waitFor(maxSeconds * 1000, [&] { return IsWindowEnabled(stop) == 0; })) {
                note("the track played to its end");
            } else {
                note("still playing after %lu s", maxSeconds);
            }
            result = 0;
        }
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
        note("the player closed (exit code %lu)", code);
    } else {
        note("the player did not close; ending it");
        TerminateProcess(process.hProcess, 1);
        result = 1;
    }
    CloseHandle(process.hProcess);
    return code == 0 ? result : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5 || argc > 6) return usage();
    DWORD maxSeconds = 120;
    if (argc == 6) {
        char* end = nullptr;
        const unsigned long value = std::strtoul(argv[5], &end, 10);
        if (!end || *end != '\0' || value == 0 || value > 3600) return usage();
        maxSeconds = value;
    }
    g_log = std::fopen(argv[4], "wb");  // plain line ends, for the script that reads it
    const int result = drive(argv[1], argv[2], argv[3], maxSeconds);
    note(result == 0 ? "done" : "failed");
    if (g_log) std::fclose(g_log);
    return result;
}
