// Files named on the command line at start, and files handed over by a
// second start to the running window.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "app/single_instance.h"
#include "main_window_support.h"

namespace tarnuvo {
namespace {

using test::MainDialog;

// A message box of another thread: its text and owner, read before it is
// closed with OK.
struct ThreadBox {
    bool found = false;
    HWND owner = reinterpret_cast<HWND>(1);
    std::string text;

    bool takeFrom(DWORD thread) {
        EnumThreadWindows(thread, take, reinterpret_cast<LPARAM>(this));
        return found;
    }
    static BOOL CALLBACK take(HWND candidate, LPARAM self) {
        auto& box = *reinterpret_cast<ThreadBox*>(self);
        char name[16] = {};
        GetClassNameA(candidate, name, sizeof name);
        if (std::string(name) != "#32770" || !IsWindowVisible(candidate)) return TRUE;
        char text[1024] = {};
        GetDlgItemTextA(candidate, 0xFFFF, text, sizeof text);
        box.text = text;
        box.owner = GetWindow(candidate, GW_OWNER);
        box.found = true;
        PostMessageA(candidate, WM_COMMAND, IDOK, 0);
        return FALSE;
    }
};

class CommandLine : public MainDialog {
protected:
    void SetUp() override {
        MainDialog::SetUp();
        ASSERT_TRUE(CopyFileA(test::demoWav().c_str(), (dir / "a.wav").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(test::demoWav().c_str(), (dir / "b.wav").c_str(), FALSE));
    }
    // The location of the one loaded entry, once the loader has added it.
    std::string loaded() {
        if (!waitForRows(1)) return "";
        test::settle();
        EXPECT_EQ(rows(), 1);
        const TrackInfo* entry = main->playlist().entryAt(0);
        return entry ? entry->location : "";
    }
};

TEST_F(CommandLine, QuotesAndOptions) {
    start("Tarnuvo.exe /x -y \"" + (dir / "a.wav") + "\" " + (dir / "b.wav"));
    EXPECT_EQ(loaded(), dir / "a.wav");
    EXPECT_EQ(test::cellText(item(1000), 0, 2), "Loop");
}

TEST_F(CommandLine, TwoSpacesAfterAQuotedProgram) {
    start("\"" + modulePath + "\"  \"" + (dir / "a.wav") + "\"");
    EXPECT_EQ(loaded(), dir / "a.wav");
}

TEST_F(CommandLine, ARelativePathIsMadeFull) {
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(dir.path().c_str());
    start("Tarnuvo.exe b.wav");
    std::string location = loaded();
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(location, dir / "b.wav");
}

TEST_F(CommandLine, APathOf300BytesIsSkippedNotCut) {
    // Cut to 259 bytes, this name would be another, existing file.
    std::string longName = dir / "a.wav";
    while (longName.size() < 300) longName += ".bak";
    start("Tarnuvo.exe \"" + longName + "\"");
    test::settle(300);
    EXPECT_EQ(rows(), 0);
    finish();
    start("Tarnuvo.exe \"" + longName + "\" \"" + (dir / "b.wav") + "\"");
    EXPECT_EQ(loaded(), dir / "b.wav");
}

TEST_F(CommandLine, APathEndingInADoubleByteCharacterWithATrailBackslash) {
    std::string folder = dir / test::sjis("音楽");
    std::string file = folder + "\\" + test::sjis("表");
    ASSERT_EQ(file.back(), '\\');
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(test::demoWav().c_str(), file.c_str(), FALSE));
    start("Tarnuvo.exe \"" + file + "\"");
    EXPECT_EQ(loaded(), file);
}

TEST_F(CommandLine, ASecondStartHandsItsFileOverAndBringsTheWindowBack) {
    start();
    InstanceClaim first;
    std::string name = "Tarnuvo.Test." + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(first.claim(name.c_str()));
    SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_FALSE(IsWindowVisible(window));

    // The second start runs on a thread of its own, so that its send waits
    // for this thread's window as another process's would.
    auto secondStart = [&](const std::string& file) {
        bool handedOver = false;
        std::thread second([&] {
            InstanceClaim claim;
            if (claim.claim(name.c_str())) return;
            handedOver = handOverToRunningInstance(claim, file, 5000);
        });
        test::pumpUntil(10000, [&] { return handedOver; });
        second.join();
        return handedOver;
    };
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(dir.path().c_str());
    EXPECT_TRUE(secondStart("a.wav"));
    SetCurrentDirectoryA(previous);
    ASSERT_TRUE(waitForRows(1));
    EXPECT_EQ(std::string(main->playlist().entryAt(0)->location), dir / "a.wav");
    EXPECT_TRUE(IsWindowVisible(window)) << "the window comes back from the tray";

    // Explorer starts one process per selected file: each is appended.
    EXPECT_TRUE(secondStart(dir / "b.wav"));
    ASSERT_TRUE(waitForRows(2));
    EXPECT_EQ(std::string(main->playlist().entryAt(1)->location), dir / "b.wav");

    // Without a file the second start only brings the window to the front.
    SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(secondStart(""));
    test::settle(300);
    EXPECT_EQ(rows(), 2);
    EXPECT_TRUE(IsWindowVisible(window));

    // A window that is closing takes nothing and cannot be found any more.
    SendMessageA(window, WM_ENDSESSION, TRUE, 0);
    test::takeQuit();
    EXPECT_EQ(findRunningWindow(), nullptr);
    EXPECT_FALSE(sendHandOver(window, (dir / "a.wav").c_str(), 1000));

    // A second start whose file nobody took says so in a box of its own,
    // owned by no window, and ends.
    std::atomic<DWORD> secondId{0};
    bool ended = false;
    std::thread second([&] {
        secondId = GetCurrentThreadId();
        InstanceClaim claim;
        if (claim.claim(name.c_str())) return;
        ended = handOverToRunningInstance(claim, dir / "a.wav", 500);
    });
    ThreadBox box;
    test::pumpUntil(10000, [&] { return secondId && box.takeFrom(secondId); });
    second.join();
    EXPECT_TRUE(ended);
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.text,
              test::sjis("起動中のTarnuvoにファイルを渡せませんでした。") + "\n" + (dir / "a.wav"));
}

TEST_F(CommandLine, ASecondStartTakesOverWhenTheFirstEnds) {
    std::string name = "Tarnuvo.Test.End." + std::to_string(GetCurrentProcessId());
    bool claimedAtOnce = true;
    bool ownedLater = false;
    bool handedOver = true;
    auto first = std::make_unique<InstanceClaim>();
    ASSERT_TRUE(first->claim(name.c_str()));
    std::thread second([&] {
        InstanceClaim claim;
        claimedAtOnce = claim.claim(name.c_str());
        // No window anywhere: the second start waits for the first to end.
        handedOver = handOverToRunningInstance(claim, "", 10000);
        ownedLater = claim.owned();
    });
    Sleep(300);
    first.reset();  // the first instance ends
    second.join();
    EXPECT_FALSE(claimedAtOnce);
    EXPECT_FALSE(handedOver);
    EXPECT_TRUE(ownedLater);
}

TEST(HandOverData, OnlyWholeTerminatedPathsWithTheTagAreTaken) {
    char path[kTextSize];
    const char text[] = "C:\\a.wav";
    COPYDATASTRUCT data = {kHandOverTag, sizeof text, const_cast<char*>(text)};
    ASSERT_TRUE(readHandOver(data, path));
    EXPECT_STREQ(path, "C:\\a.wav");
    data.dwData = 1;
    EXPECT_FALSE(readHandOver(data, path));
    data.dwData = kHandOverTag;
    data.cbData = sizeof text - 1;  // no terminator
    EXPECT_FALSE(readHandOver(data, path));
    std::string tooLong(300, 'x');
    data = {kHandOverTag, 301, tooLong.data()};
    EXPECT_FALSE(readHandOver(data, path));
    data = {kHandOverTag, 0, nullptr};
    EXPECT_TRUE(readHandOver(data, path));
    EXPECT_STREQ(path, "");
}

}  // namespace
}  // namespace tarnuvo
