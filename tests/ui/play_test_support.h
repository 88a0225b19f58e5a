// The real main dialog for the command and play-road tests: WAV files made
// on the spot, entries put into the list, clicks and commands, a watcher
// that reads and closes message boxes, and an archive member whose
// extraction takes as long as the test wants.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "engine/text.h"
#include "main_window_support.h"
#include "playlist/archive_extractor.h"
#include "tests/engine/test_support.h"
#include "tests/worker_park.h"

namespace tarnuvo::test {

// A 16-bit stereo 44100 Hz PCM file whose frames all differ, with a loop
// (smpl) when loopEnd > loopStart and a title (INAM).
inline std::string wavBytes(uint32_t frames, uint32_t loopStart, uint32_t loopEnd,
                            const std::string& title) {
    using namespace testing_support;
    WavBuilder wav;
    wav.pcmFormat().chunk("data", countingPcm(frames));
    if (loopEnd > loopStart) wav.smpl(loopStart, loopEnd);
    Bytes info = {'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M'};
    put32(info, static_cast<uint32_t>((title.size() + 2) & ~size_t{1}));
    info.insert(info.end(), title.begin(), title.end());
    info.resize(12 + ((title.size() + 2) & ~size_t{1}), 0);
    const Bytes bytes = wav.chunk("LIST", info).build();
    return std::string(bytes.begin(), bytes.end());
}

// An entry as a list file may give it: only its names, nothing probed.
inline TrackInfo namedEntry(const std::string& location, const std::string& title) {
    TrackInfo entry;
    copyText(entry.location, kTextSize, location.c_str());
    copyText(entry.path, kTextSize, location.c_str());
    copyText(entry.title, kTextSize, title.c_str());
    return entry;
}

// What the message boxes of the thread showed; each is closed with OK.
struct BoxWatch {
    HWND owner = nullptr;
    int count = 0;
    std::string text;
};
inline BoxWatch* g_boxWatch = nullptr;

inline BOOL CALLBACK readAndCloseBox(HWND candidate, LPARAM) {
    // The main dialog is of the same class and owns the boxes.
    if (!g_boxWatch->owner) return FALSE;
    char name[16] = {};
    GetClassNameA(candidate, name, sizeof name);
    if (std::string(name) != "#32770" || !IsWindowVisible(candidate) ||
        GetWindow(candidate, GW_OWNER) != g_boxWatch->owner) {
        return TRUE;
    }
    // A box already told to close may still show at the next tick on a busy
    // machine: it counts once.
    if (GetPropA(candidate, "tarnuvo-seen")) return FALSE;
    SetPropA(candidate, "tarnuvo-seen", reinterpret_cast<HANDLE>(1));
    char text[512] = {};
    GetDlgItemTextA(candidate, 0xFFFF, text, sizeof text);
    g_boxWatch->text = text;
    ++g_boxWatch->count;
    PostMessageA(candidate, WM_COMMAND, IDOK, 0);
    return FALSE;
}

inline void CALLBACK closeBoxes(HWND, UINT, UINT_PTR, DWORD) {
    if (g_boxWatch) EnumThreadWindows(GetCurrentThreadId(), readAndCloseBox, 0);
}

// An archive member whose extraction waits until released; released, it
// resolves to `resolveTo` (or to nothing). Counts how often it was asked.
struct SlowMember {
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> entered{0};
    std::string resolveTo;
};
inline SlowMember* g_slowMember = nullptr;

inline bool slowResolve(const char*, const char*, WindowHandle, PlayerEnvironment*,
                        char (&fileToOpen)[kTextSize]) {
    SlowMember* slow = g_slowMember;
    if (!slow) return false;
    ++slow->entered;
    WaitForSingleObject(slow->release, 20000);
    if (slow->resolveTo.empty()) return false;
    copyText(fileToOpen, kTextSize, slow->resolveTo.c_str());
    return true;
}

inline void CALLBACK releaseSlowMember(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (g_slowMember) SetEvent(g_slowMember->release);
}

class PlayerWindow : public MainDialog {
protected:
    void SetUp() override {
        MainDialog::SetUp();
        box.owner = nullptr;
        g_boxWatch = &box;
        boxTimer = SetTimer(nullptr, 0, 30, closeBoxes);
    }
    void TearDown() override {
        if (g_slowMember) SetEvent(g_slowMember->release);
        SetEvent(park.release);
        MainDialog::TearDown();
        KillTimer(nullptr, boxTimer);
        g_boxWatch = nullptr;
        g_slowMember = nullptr;
        installMemberResolver();
        if (slow.release) CloseHandle(slow.release);
    }

    void startWith(const std::string& settings = "") {
        if (!settings.empty()) writeSettings(settings);
        start();
        box.owner = window;
    }

    // A WAV file in the scratch folder; its full path.
    std::string makeWav(const std::string& name, uint32_t frames, uint32_t loopStart = 0,
                        uint32_t loopEnd = 0) {
        std::string path = dir / name;
        writeFile(path, wavBytes(frames, loopStart, loopEnd, name));
        return path;
    }

    // Loads files through the loader, appended, and waits for the load's end.
    void load(const std::vector<std::string>& paths) {
        const int before = rows();
        ASSERT_EQ(main->startLoading(paths, 0), 1);
        ASSERT_TRUE(pumpUntil(20000, [&] { return !main->loader().busy(); }));
        settle(50);
        ASSERT_EQ(rows(), before + static_cast<int>(paths.size()));
    }
    void append(const TrackInfo& entry) { main->playlist().appendEntries(&entry, 1); }

    void click(int id) {
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(item(id)));
    }
    void command(uint32_t id) { SendMessageA(window, WM_COMMAND, id, 0); }
    void select(int row) {
        main->selectRow(row);
        main->onSelectionChanged();
    }
    int selected() const { return main->selectedRow(); }

    // A track is playing from the play thread the window holds, and the
    // window has been told (the buttons follow the start).
    bool playing() const {
        return view().road().threadHeld() && view().road().current().state == Playing &&
               !view().road().stopping() && IsWindowEnabled(item(1011)) &&
               IsWindowEnabled(item(1012));
    }
    bool waitPlaying(int row) {
        return pumpUntil(10000, [&] { return playing() && main->playlist().currentIndex == row; });
    }
    bool stoppedForGood() const {
        return !view().road().threadHeld() && main->waveOut().state == Stopped &&
               main->directShow().state == Stopped;
    }
    // Entry i is row i, title by title.
    ::testing::AssertionResult rowsMatchEntries() const {
        if (rows() != main->playlist().count())
            return ::testing::AssertionFailure()
                   << rows() << " rows, " << main->playlist().count() << " entries";
        for (int i = 0; i < rows(); ++i) {
            if (cellText(item(1000), i, 0) != main->playlist().entryAt(i)->title)
                return ::testing::AssertionFailure() << "row " << i;
        }
        return ::testing::AssertionSuccess();
    }

    // A member reference whose extraction waits (see SlowMember).
    std::string slowMemberReference(const std::string& member) {
        g_slowMember = &slow;
        setMemberResolver(slowResolve);
        return winePath("/nowhere/slow.zip") + "|" + member;
    }

    // The worker parked at a seam (parkHere) is held until the window thread
    // stands where the test wants it, then let go from inside its wait.
    bool waitParked() {
        return serveSendsUntil(10000, [&] { return park.parked > 0; });
    }

    BoxWatch box;
    UINT_PTR boxTimer = 0;
    SlowMember slow;
    Park park;
};

}  // namespace tarnuvo::test
