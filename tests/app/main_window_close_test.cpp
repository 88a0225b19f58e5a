// Closing, the end of the session, the tray icon's life, the report of a
// track that could not be opened, and graph calls around a file dialog.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/com_apartment.h"
#include "main_window_support.h"

namespace tarnuvo {
namespace {

using test::MainDialog;

// The rectangle stored as WindowPos: its 16 bytes as 32 hexadecimal digits
// and a checksum byte.
bool decodeWindowPos(const std::string& text, RECT& rect) {
    if (text.size() != 34) return false;
    unsigned char bytes[17];
    for (int i = 0; i < 17; ++i) {
        unsigned value = 0;
        if (std::sscanf(text.c_str() + 2 * i, "%2X", &value) != 1) return false;
        bytes[i] = static_cast<unsigned char>(value);
    }
    unsigned sum = 0;
    for (int i = 0; i < 16; ++i) sum += bytes[i];
    if ((sum & 0xFF) != bytes[16]) return false;
    std::memcpy(&rect, bytes, 16);
    return true;
}

TEST_F(MainDialog, ClosingWhileAListLoadsWritesTheSettingsAndLeavesNothingRunning) {
    start();
    std::vector<std::string> paths(300, test::demoWav());
    main->startLoading(paths, 0);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(test::takeQuit());
    EXPECT_FALSE(main->loader().busy());
    EXPECT_FALSE(main->loader().record().thread);
    EXPECT_FALSE(view().road().threadHeld());
    auto keys = test::readSettings(iniPath);
    for (const char* key :
         {"ShowList", "GridLine", "TimeMode", "PlayMode", "LoopIgnore", "LoopCount", "FadeOut",
          "FadeLength", "FadeDelay", "AlwaysOnTop", "ShowVideo", "WindowPos", "ColumnOrder",
          "ColumnWidth", "ColorText", "FontTitle"})
        EXPECT_EQ(keys.count(key), 1u) << key;
    EXPECT_EQ(keys["ColumnWidth"], "160:60:40:90");
}

TEST_F(MainDialog, FromTheFirstCloseOnEveryCommandIsRefused) {
    start();
    SendMessageA(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(test::takeQuit());
    ASSERT_TRUE(IsWindow(window)) << "the end of the session keeps the window";
    SendMessageA(window, WM_COMMAND, 40100, 0);
    EXPECT_TRUE(IsWindowVisible(item(1000))) << "the playlist command was refused";
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window)) << "a second close is refused as well";
    // The exit steps destroy the dialog before the main window.
    app.reset();
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(MainDialog, EndingTheSessionWhileHiddenInTheTraySavesTheSettings) {
    start();
    ASSERT_TRUE(view().tray().present());
    SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(main->environment().windowShown, 0);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);

    EXPECT_EQ(SendMessageA(window, WM_ENDSESSION, FALSE, 0), 0) << "the session goes on";
    EXPECT_FALSE(test::isFile(iniPath));
    SendMessageA(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(test::takeQuit());
    auto keys = test::readSettings(iniPath);
    RECT stored = {};
    ASSERT_TRUE(decodeWindowPos(keys["WindowPos"], stored)) << keys["WindowPos"];
    EXPECT_TRUE(EqualRect(&stored, &placement.rcNormalPosition));
    EXPECT_EQ(keys["ShowList"], "1");
    EXPECT_FALSE(test::shellHasIcon(window)) << "the tray icon is removed";
}

int g_failedAdds = 0;
BOOL WINAPI failOneAdd(DWORD message, PNOTIFYICONDATAA data) {
    if (message == NIM_ADD && g_failedAdds == 0) {
        ++g_failedAdds;
        return FALSE;
    }
    return Shell_NotifyIconA(message, data);
}

TEST_F(MainDialog, ATaskbarRestartWithOneFailedReAddLeavesTheHiddenWindowReachable) {
    start();
    UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_FALSE(IsWindowVisible(window));
    // The shell lost the icon in its restart; the first re-add fails.
    NOTIFYICONDATAA icon = view().tray().record();
    Shell_NotifyIconA(NIM_DELETE, &icon);
    g_failedAdds = 0;
    view().tray().useShell(failOneAdd);
    SendMessageA(window, taskbarCreated, 0, 0);
    EXPECT_EQ(g_failedAdds, 1);
    EXPECT_TRUE(IsWindowVisible(window)) << "without an icon the window shows itself";
    EXPECT_EQ(main->environment().windowShown, 1);
    // The next restart adds the icon again although the last re-add failed.
    SendMessageA(window, taskbarCreated, 0, 0);
    EXPECT_TRUE(view().tray().present());
    EXPECT_TRUE(test::shellHasIcon(window));
    // With the icon back, minimising hides into the tray again, and a restart
    // that re-adds it leaves the window hidden.
    SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    icon = view().tray().record();
    Shell_NotifyIconA(NIM_DELETE, &icon);
    SendMessageA(window, taskbarCreated, 0, 0);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(test::shellHasIcon(window));
    // The tray icon's click brings it back.
    SendMessageA(window, WM_USER, 2000, WM_LBUTTONDOWN);
    EXPECT_TRUE(IsWindowVisible(window));
}

int g_shellCalls = 0;
BOOL WINAPI alwaysTimesOut(DWORD, PNOTIFYICONDATAA) {
    ++g_shellCalls;
    SetLastError(ERROR_TIMEOUT);
    return FALSE;
}
// A shell busy starting up: each call blocks before it times out.
BOOL WINAPI timesOutSlowly(DWORD message, PNOTIFYICONDATAA data) {
    Sleep(400);
    return alwaysTimesOut(message, data);
}

TEST_F(MainDialog, AShellThatTimesOutAtLogonDoesNotHoldUpTheWindow) {
    // Five seconds in all, however long each call blocks.
    prepare();
    g_shellCalls = 0;
    view().tray().useShell(timesOutSlowly);
    const DWORD begun = GetTickCount();
    open();
    const DWORD took = GetTickCount() - begun;
    EXPECT_LT(took, 6000u) << g_shellCalls << " calls";
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(view().tray().present());
    finish();

    prepare();
    g_shellCalls = 0;
    view().tray().useShell(alwaysTimesOut, 1);
    open();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(view().tray().present());
    EXPECT_EQ(g_shellCalls, 12) << "an add and a modify, six times";
    // Minimising without an icon is the system's own.
    SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(window));
    EXPECT_TRUE(IsWindowVisible(window));
    ShowWindow(window, SW_RESTORE);
    // The taskbar, once there, announces itself and the icon is added.
    view().tray().useShell(Shell_NotifyIconA, 1);
    SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(view().tray().present());
    EXPECT_TRUE(test::shellHasIcon(window));
}

// What a message box of the thread showed; it is closed with OK.
struct BoxSeen {
    HWND owner = nullptr;
    int count = 0;
    std::string text;
    std::string caption;
};
BoxSeen* g_box = nullptr;

bool isVisibleDialog(HWND candidate) {
    char name[16] = {};
    GetClassNameA(candidate, name, sizeof name);
    return std::string(name) == "#32770" && IsWindowVisible(candidate);
}

BOOL CALLBACK readAndCloseBox(HWND candidate, LPARAM) {
    if (!isVisibleDialog(candidate) || GetWindow(candidate, GW_OWNER) != g_box->owner) return TRUE;
    // A box already told to close may still show at the next tick on a busy
    // machine: it counts once.
    if (GetPropA(candidate, "tarnuvo-seen")) return FALSE;
    SetPropA(candidate, "tarnuvo-seen", reinterpret_cast<HANDLE>(1));
    char text[512] = {};
    GetDlgItemTextA(candidate, 0xFFFF, text, sizeof text);
    g_box->text = text;
    GetWindowTextA(candidate, text, sizeof text);
    g_box->caption = text;
    ++g_box->count;
    PostMessageA(candidate, WM_COMMAND, IDOK, 0);
    return FALSE;
}

void CALLBACK closeBox(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), readAndCloseBox, 0);
}

// Counts and closes the message boxes owned by `owner` while it lives.
struct BoxWatch : BoxSeen {
    explicit BoxWatch(HWND window) : timer(SetTimer(nullptr, 0, 50, closeBox)) {
        owner = window;
        g_box = this;
    }
    ~BoxWatch() {
        KillTimer(nullptr, timer);
        g_box = nullptr;
    }
    UINT_PTR timer;
};

DWORD WINAPI endAtOnce(LPVOID) {
    return 0;
}

TEST_F(MainDialog, AFailedOpenIsReportedOnceFromTheTrayTimer) {
    start();
    BoxWatch box(window);

    // A play thread that ended by itself, having opened nothing.
    auto runThread = [&](int32_t result) {
        DWORD id = 0;
        const HANDLE thread = CreateThread(nullptr, 0, endAtOnce, nullptr, 0, &id);
        WaitForSingleObject(thread, 5000);
        view().road().adoptFinishedThread(thread, id, result);
    };
    runThread(1);  // it played: no report
    SendMessageA(window, WM_TIMER, 3, 0);
    EXPECT_EQ(box.count, 0);
    view().road().dropThread();

    runThread(0);
    EnableWindow(item(1010), FALSE);
    // Messages such as WM_WINDOWPOSCHANGING never report.
    SetWindowPos(window, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(box.count, 0);
    SendMessageA(window, WM_TIMER, 3, 0);
    EXPECT_EQ(box.count, 1);
    EXPECT_EQ(box.text, test::sjis("ファイルが開けませんでした。"));
    EXPECT_EQ(box.caption, "Tarnuvo");
    EXPECT_TRUE(IsWindowEnabled(item(1010)));
    EXPECT_FALSE(view().road().threadHeld());
    SendMessageA(window, WM_TIMER, 3, 0);
    EXPECT_EQ(box.count, 1) << "reported once";

    // Timer 3 runs while the window is hidden in the tray: the report comes then too.
    SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    runThread(0);
    SendMessageA(window, WM_TIMER, 3, 0);
    EXPECT_EQ(box.count, 2);
}

DWORD WINAPI endSoon(LPVOID) {
    Sleep(300);
    return 0;
}

// The wait for a failed thread serves the window's messages: a timer served
// there finds the failure taken. One failure, one report.
TEST_F(MainDialog, ATimerServedWhileAFailedThreadIsCollectedDoesNotReportItAgain) {
    start();
    BoxWatch box(window);
    DWORD id = 0;
    const HANDLE thread = CreateThread(nullptr, 0, endSoon, nullptr, 0, &id);
    view().road().adoptFinishedThread(thread, id, 0);
    PostMessageA(window, WM_TIMER, 3, 0);
    SendMessageA(window, WM_TIMER, 3, 0);
    EXPECT_EQ(box.count, 1);
}

// The apartment of the calling thread as the system reports it; -1 outside COM.
int apartmentType() {
    using Query = HRESULT(WINAPI*)(int*, int*);
    auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ole32.dll"), "CoGetApartmentType")));
    int type = -1, qualifier = 0;
    if (!query || FAILED(query(&type, &qualifier))) return -1;
    return type;
}

struct DialogVisit {
    HWND main = nullptr;
    bool seen = false;
    int apartment = -2;
    bool deferred = false;
    uint32_t deferredCommand = 0;
    GraphGate* gate = nullptr;
};
DialogVisit* g_visit = nullptr;

BOOL CALLBACK takeDialog(HWND candidate, LPARAM found) {
    if (!isVisibleDialog(candidate)) return TRUE;
    *reinterpret_cast<HWND*>(found) = candidate;
    return FALSE;
}

void CALLBACK duringDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), takeDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog || !g_visit || g_visit->seen) return;
    KillTimer(nullptr, timer);
    DialogVisit& visit = *g_visit;
    visit.seen = true;
    visit.apartment = apartmentType();
    visit.deferred = visit.gate->deferred();
    // A pause from the keyboard or the tray while the dialog is open.
    SendMessageA(visit.main, WM_COMMAND, 41011, 0);
    visit.deferredCommand = visit.gate->waiting();
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

bool isSingleThreaded(int apartment) {
    return apartment == 0 || apartment == 3;  // APTTYPE_STA, APTTYPE_MAINSTA
}

TEST_F(MainDialog, GraphCallsWaitWhileAFileDialogMovesTheThreadIntoAnotherApartment) {
    start();
    view().road().makeCurrent(main->directShow());
    SendMessageA(window, WM_TIMER, 3, 0);
    // Windows keeps the window thread in the implicit multithreaded apartment;
    // under Wine its input method has made it single-threaded already.
    int before = apartmentType();
    EXPECT_EQ(view().gate().steady(), isSingleThreaded(before));
    EXPECT_FALSE(view().gate().deferred());

    DialogVisit visit;
    visit.main = window;
    visit.gate = &view().gate();
    g_visit = &visit;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, duringDialog);
    char file[MAX_PATH] = {};
    OPENFILENAMEA request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = window;
    request.lpstrFile = file;
    request.nMaxFile = sizeof file;
    request.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
    GetOpenFileNameA(&request);
    KillTimer(nullptr, timer);
    g_visit = nullptr;
    ASSERT_TRUE(visit.seen) << "the file dialog did not show";
    bool moved = isSingleThreaded(visit.apartment) && !isSingleThreaded(before);
    EXPECT_EQ(visit.deferred, moved) << "apartment " << before << " then " << visit.apartment;
    EXPECT_EQ(visit.deferredCommand, moved ? 41011u : 0u);
    // After: the apartment of before, and a waiting command runs.
    EXPECT_EQ(apartmentType(), before);
    SendMessageA(window, WM_TIMER, 3, 0);
    EXPECT_FALSE(view().gate().deferred());
    EXPECT_EQ(view().gate().waiting(), 0u);
}

bool g_singleThreaded = false;
bool fakeApartment() {
    return g_singleThreaded;
}

// Whether a WM_COMMAND with this id waits in the queue (taken off it).
bool commandPosted(HWND window, uint32_t id) {
    MSG message;
    bool found = false;
    while (PeekMessageA(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE))
        found = found || LOWORD(message.wParam) == id;
    return found;
}

TEST_F(MainDialog, ACommandThatArrivesWhileTheApartmentHasChangedRunsAfterTheDialog) {
    start();
    view().gate().useApartmentProbe(fakeApartment);
    view().road().makeCurrent(main->directShow());
    g_singleThreaded = false;
    SendMessageA(window, WM_TIMER, 3, 0);
    ASSERT_FALSE(view().gate().steady());

    // A file dialog disables its owner and may put the thread into an STA.
    EnableWindow(window, FALSE);
    g_singleThreaded = true;
    SendMessageA(window, WM_TIMER, 1, 0);
    EXPECT_FALSE(view().gate().steady()) << "no steady state while a dialog is open";
    EXPECT_TRUE(view().gate().deferred());
    SendMessageA(window, WM_COMMAND, 41010, 0);
    EXPECT_EQ(view().gate().waiting(), 41010u);
    SendMessageA(window, WM_TIMER, 3, 0);
    EXPECT_EQ(view().gate().waiting(), 41010u) << "still waiting";
    EXPECT_FALSE(commandPosted(window, 41010));
    // The waveOut player's calls never wait.
    view().road().makeCurrent(main->waveOut());
    EXPECT_FALSE(view().gate().deferred());
    view().road().makeCurrent(main->directShow());

    // The dialog closes: the next tick of timer 3 runs the command.
    EnableWindow(window, TRUE);
    g_singleThreaded = false;
    SendMessageA(window, WM_TIMER, 3, 0);
    EXPECT_EQ(view().gate().waiting(), 0u);
    EXPECT_TRUE(commandPosted(window, 41010));

    // A thread that stays single-threaded (as under Wine) never waits.
    g_singleThreaded = true;
    SendMessageA(window, WM_TIMER, 3, 0);
    EXPECT_TRUE(view().gate().steady());
    EXPECT_FALSE(view().gate().deferred());
    view().road().makeCurrent(main->waveOut());
}

TEST_F(MainDialog, MinimisingHidesIntoTheTrayAndTheIconBringsTheWindowBack) {
    start();
    ASSERT_TRUE(view().tray().present());
    SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_FALSE(IsIconic(window)) << "hidden, not minimised";
    EXPECT_FALSE(KillTimer(window, 1)) << "the refresh timer stops while hidden";
    EXPECT_TRUE(KillTimer(window, 3)) << "the tray animation goes on";
    SetTimer(window, 3, 400, nullptr);
    SendMessageA(window, WM_USER, 2000, WM_LBUTTONDOWN);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(main->environment().windowShown, 1);
    EXPECT_TRUE(KillTimer(window, 1)) << "and runs again";
}

}  // namespace
}  // namespace tarnuvo
