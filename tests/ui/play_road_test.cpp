// The play road over the real main dialog: stops that really stop, rapid
// track changes, closing while tracks open or play, the end of a track during
// a load, failures reported once, a device that refuses every format, slow
// opens meeting list edits, what an open leaves in its entry for the next
// save, and the temporary file of an archive member.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "engine/waveout_player.h"
#include "play_test_support.h"
#include "base/window_messages.h"
#include "playlist/playlist_file.h"
#include "playlist/track_text.h"
#include "ui/volume_scale.h"

namespace tarnuvo {
namespace {

using test::PlayerWindow;

// While it lives, the device takes none of the formats the native player
// offers: its open succeeds, its play does not.
struct DeviceRefusesEveryFormat {
    static MMRESULT WINAPI refuse(LPHWAVEOUT, UINT, LPCWAVEFORMATEX, DWORD_PTR, DWORD_PTR, DWORD) {
        return WAVERR_BADFORMAT;
    }
    DeviceRefusesEveryFormat() { setWaveOutOpenFunction(&refuse); }
    ~DeviceRefusesEveryFormat() { setWaveOutOpenFunction(nullptr); }
};

// A member whose extraction gives `file` the first time only: the native
// player gets it, the graph player after it does not.
std::string g_onceFile;
std::atomic<int> g_onceCalls{0};
bool resolveOnce(const char*, const char*, WindowHandle, PlayerEnvironment*,
                 char (&fileToOpen)[kTextSize]) {
    if (g_onceCalls++ > 0) return false;
    copyText(fileToOpen, kTextSize, g_onceFile.c_str());
    return true;
}

class PlayRoad : public PlayerWindow {
protected:
    // Closes the window as the user does; how long the close took.
    DWORD closeAndTime() {
        const DWORD start = GetTickCount();
        SendMessageA(window, WM_CLOSE, 0, 0);
        const DWORD took = GetTickCount() - start;
        RecordProperty("close_ms", static_cast<int>(took));
        std::printf("closed in %lu ms\n", took);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_TRUE(test::takeQuit());
        return took;
    }
    void expectNothingRunning() {
        EXPECT_FALSE(main->loader().busy());
        EXPECT_FALSE(main->loader().record().thread);
        EXPECT_FALSE(view().road().threadHeld());
        EXPECT_EQ(main->waveOut().state, Stopped);
        EXPECT_EQ(main->directShow().state, Stopped);
    }
    std::string openFailedText() const { return test::sjis("ファイルが開けませんでした。"); }
};

TEST_F(PlayRoad, StopAfterASeekStopsTheSound200Times) {
    startWith("PlayMode=1\r\n");
    load({makeWav("loop.wav", 88200, 4410, 80000)});
    select(0);
    for (int round = 0; round < 200; ++round) {
        click(1010);
        ASSERT_TRUE(waitPlaying(0)) << "round " << round;
        const uint32_t target = static_cast<uint32_t>((round * 7919) % 300000) & ~3u;
        view().road().restartAt(target);
        ASSERT_EQ(main->waveOut().state, Playing) << "round " << round;
        if (round % 2) test::settle(5);  // some rounds give the play thread time to look
        click(1012);
        ASSERT_TRUE(stoppedForGood()) << "round " << round << ": the sound plays on";
        ASSERT_TRUE(IsWindowEnabled(item(1010)));
        ASSERT_FALSE(IsWindowEnabled(item(1012)));
    }
}

TEST_F(PlayRoad, ThreeNextCommandsAtOnceLeaveOneTrackPlayingAndTheExitClean) {
    startWith("PlayMode=1\r\n");
    std::vector<std::string> files;
    for (int i = 0; i < 5; ++i) files.push_back(makeWav("T" + std::to_string(i) + ".wav", 44100));
    load(files);
    select(0);
    click(1010);
    ASSERT_TRUE(waitPlaying(0));
    for (int round = 0; round < 100; ++round) {
        for (int k = 0; k < 3; ++k)
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(1014, BN_CLICKED),
                         reinterpret_cast<LPARAM>(item(1014)));
        ASSERT_TRUE(test::pumpUntil(10000,
                                    [&] {
                                        MSG waiting;
                                        return playing() && view().commands().kept() == 0 &&
                                               !PeekMessageA(&waiting, window, WM_COMMAND,
                                                             WM_COMMAND, PM_NOREMOVE);
                                    }))
            << "round " << round;
        const int now = main->playlist().currentIndex;
        ASSERT_GE(now, 0);
        ASSERT_LT(now, 5);
        ASSERT_EQ(selected(), now);
        ASSERT_EQ(view().road().current().listIndex, now);
        ASSERT_EQ(std::string(view().road().current().title), "T" + std::to_string(now) + ".wav");
    }
    closeAndTime();
    expectNothingRunning();
}

TEST_F(PlayRoad, ClosingDuringAReplaceLoadWhileATrackPlaysEndsQuicklyWithNothingRunning) {
    startWith("PlayMode=1\r\n");
    load({makeWav("A.wav", 441000)});
    select(0);
    click(1010);
    ASSERT_TRUE(waitPlaying(0));
    // Many files, the first an archive member that takes long to extract.
    std::vector<std::string> paths(200, dir / "A.wav");
    paths.insert(paths.begin(), slowMemberReference("late.wav"));
    main->startLoading(paths, 1);
    ASSERT_TRUE(main->loader().busy());
    ASSERT_TRUE(test::pumpUntil(5000, [&] { return slow.entered > 0; }));
    // The extraction ends once the close is under way.
    SetTimer(nullptr, 0, 300, test::releaseSlowMember);
    const DWORD took = closeAndTime();
    EXPECT_LT(took, 2000u) << "the close took " << took << " ms";
    expectNothingRunning();
}

TEST_F(PlayRoad, ClosingDuringASlowOpenEndsQuicklyWithNothingRunning) {
    startWith();
    const std::string real = makeWav("member.wav", 441000);
    append(test::namedEntry(slowMemberReference("member.wav"), "member.wav"));
    slow.resolveTo = real;
    select(0);
    click(1010);
    ASSERT_TRUE(test::pumpUntil(5000, [&] { return slow.entered > 0; }));
    EXPECT_FALSE(IsWindowEnabled(item(1010))) << "the play button waits for the open";
    SetTimer(nullptr, 0, 300, test::releaseSlowMember);
    const DWORD took = closeAndTime();
    EXPECT_LT(took, 2000u) << "the close took " << took << " ms";
    expectNothingRunning();
}

// A double click on the first row, sent from a thread timer: while the close
// waits for a slow open, it notes whether the open was still held after it.
struct LateDoubleClick {
    HWND window = nullptr;
    MainWindow* main = nullptr;
    bool sent = false;
    bool openHeldAfter = false;
};
LateDoubleClick* g_lateClick = nullptr;

void CALLBACK doubleClickFirstRow(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (!g_lateClick) return;
    LateDoubleClick& c = *g_lateClick;
    NMITEMACTIVATE n = {};
    n.hdr = {GetDlgItem(c.window, 1000), 1000, NM_DBLCLK};
    n.iItem = 0;
    SendMessageA(c.window, WM_NOTIFY, 1000, reinterpret_cast<LPARAM>(&n));
    c.sent = true;
    c.openHeldAfter = mainView(*c.main).road().threadHeld();
}

TEST_F(PlayRoad, ADoubleClickWhileTheWindowClosesLeavesTheStopToTheClose) {
    startWith();
    append(test::namedEntry(slowMemberReference("member.wav"), "member.wav"));
    slow.resolveTo = makeWav("member.wav", 441000);
    select(0);
    click(1010);
    ASSERT_TRUE(test::pumpUntil(5000, [&] { return slow.entered > 0; }));
    LateDoubleClick late{window, main};
    g_lateClick = &late;
    SetTimer(nullptr, 0, 10, doubleClickFirstRow);
    SetTimer(nullptr, 0, 500, test::releaseSlowMember);
    closeAndTime();
    g_lateClick = nullptr;
    ASSERT_TRUE(late.sent) << "the close served no message";
    EXPECT_TRUE(late.openHeldAfter) << "the double click stopped the track itself";
    expectNothingRunning();
}

TEST_F(PlayRoad, RepeatAllReachingTheEndDuringALoadGoesOnWhenTheLoadEnds) {
    startWith("PlayMode=2\r\nLoopCount=0\r\n");
    load({makeWav("first.wav", 44100), makeWav("second.wav", 441000)});
    // Also when the window handles the end message while the loader thread
    // is still on its way out.
    for (bool parked : {false, true}) {
        SCOPED_TRACE(parked ? "the loader parked after its end message" : "plain");
        select(0);
        click(1010);
        ASSERT_TRUE(waitPlaying(0));
        main->loader().record().endSeam = parked ? test::parkHere : nullptr;
        ResetEvent(slow.release);
        main->startLoading({slowMemberReference("late.wav")}, 0);
        ASSERT_TRUE(main->loader().busy());
        // The short track ends; its advance waits for the load.
        ASSERT_TRUE(test::pumpUntil(10000, [&] { return view().commands().kept() == 41020u; }));
        EXPECT_EQ(main->playlist().currentIndex, 0);
        SetEvent(slow.release);
        if (parked) {
            ASSERT_TRUE(waitParked());
            test::releaseParkSoon();
        }
        ASSERT_TRUE(waitPlaying(1));
        EXPECT_EQ(selected(), 1);
        EXPECT_EQ(std::string(view().road().current().title), "second.wav");
        click(1012);
    }
}

// The play thread parked at its end, or inside the device's start, while the
// window thread is driven through the gap.
TEST_F(PlayRoad, ATrackChosenWhileAFailedThreadIsCollectedPlaysWithoutTheOldReport) {
    startWith();
    append(test::namedEntry(test::winePath("/nowhere/missing.wav"), "missing"));
    load({makeWav("good.wav", 441000)});
    view().road().setThreadEndSeam(test::parkHere);
    select(0);
    click(1010);
    // The failed thread has posted its end; the user's next choice is served
    // inside the wait that collects it.
    ASSERT_TRUE(waitParked());
    select(1);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(1010, BN_CLICKED),
                 reinterpret_cast<LPARAM>(item(1010)));
    test::releaseParkSoon();
    ASSERT_TRUE(waitPlaying(1));
    test::settle(300);
    EXPECT_EQ(box.count, 0) << "the failure was reported over the new track";
    EXPECT_TRUE(playing());
    EXPECT_EQ(&view().road().current(), &main->waveOut());
}

TEST_F(PlayRoad, AFailedMemberCollectedByAStopOrANextLeavesNoExtractedFile) {
    startWith("PlayMode=1\r\n");
    append(test::namedEntry(slowMemberReference("bad.wav"), "bad"));
    load({makeWav("good.wav", 441000)});
    SetEvent(slow.release);
    const std::string broken = main->environment().tempDir + std::string("bad.wav");
    for (int collector : {1012, 1014}) {
        test::writeFile(broken, "not a sound");
        slow.resolveTo = broken;
        select(0);
        click(1010);
        // The thread has failed and ended; its report is still queued.
        ASSERT_TRUE(test::serveSendsUntil(10000, [&] { return view().road().threadFinished(); }));
        click(collector);
        test::settle(200);
        EXPECT_FALSE(test::isFile(broken)) << collector;
        EXPECT_EQ(box.count, 0) << collector;
    }
    EXPECT_TRUE(waitPlaying(1));
}

TEST_F(PlayRoad, ACloseServedInsideAStopLeavesNoExtractedFile) {
    startWith();
    const std::string member = main->environment().tempDir + std::string("one.wav");
    ASSERT_TRUE(CopyFileA(makeWav("first.wav", 441000).c_str(), member.c_str(), FALSE));
    append(test::namedEntry(slowMemberReference("one.wav"), "one"));
    slow.resolveTo = member;
    SetEvent(slow.release);
    select(0);
    click(1010);
    ASSERT_TRUE(waitPlaying(0));
    ASSERT_STREQ(main->environment().tempFile, member.c_str());
    // The stop's wait serves the close.
    view().road().setThreadEndSeam(test::parkHere);
    PostMessageA(window, WM_CLOSE, 0, 0);
    test::releaseParkSoon();
    click(1012);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(test::takeQuit());
    EXPECT_FALSE(test::isFile(member)) << "the member's file stayed behind";
}

TEST_F(PlayRoad, PauseSeekAndVolumeWhileATrackStartsTakeEffectOnceItPlays) {
    startWith("PlayMode=1\r\n");
    load({makeWav("long.wav", 441000 * 2)});
    const HWND seek = item(1002), volume = item(1020);
    constexpr int32_t kSeekFrames = 441000;
    const int32_t volumePlace =
        static_cast<int32_t>(SendMessageA(volume, TBM_GETRANGEMAX, 0, 0)) / 4;
    auto scroll = [&](HWND slider, int32_t place) {
        SendMessageA(slider, TBM_SETPOS, TRUE, place);
        SendMessageA(window, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 0),
                     reinterpret_cast<LPARAM>(slider));
    };
    struct Case {
        const char* name;
        std::function<void()> act;
        std::function<void()> check;
    };
    const Case cases[] = {
        {"pause", [&] { command(41011); },
         [&] {
             EXPECT_EQ(view().road().current().state, Paused);
             const uint32_t heard = view().road().current().position();
             test::settle(500);
             EXPECT_EQ(view().road().current().position(), heard) << "the sound plays on";
         }},
        {"seek", [&] { scroll(seek, kSeekFrames); },
         [&] {
             EXPECT_EQ(view().road().current().state, Playing);
             EXPECT_GE(view().road().current().position(), 4u * kSeekFrames);
         }},
        {"volume", [&] { scroll(volume, volumePlace); },
         [&] {
             int32_t level = 0;
             main->waveOut().getVolume(&level);
             EXPECT_EQ(static_cast<uint32_t>(level) & 0xFFFF, volumeForSlider(volumePlace));
         }},
    };
    main->waveOut().streamBegunSeam = test::parkHere;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        park.parked = 0;
        ResetEvent(park.release);
        select(0);
        click(1010);
        // Held between the stream's start and the device's.
        ASSERT_TRUE(waitParked());
        c.act();
        test::releaseParkSoon();
        ASSERT_TRUE(test::pumpUntil(10000, [&] { return IsWindowEnabled(item(1012)) != FALSE; }));
        c.check();
        click(1012);
    }
}

// Play refused after a successful open, as by a device that will not open:
// once the window has handled the open, the player keeps its track's length
// but has no source left to play. The graph player that the play road tries
// next is refused the same way, so the chain of fallbacks ends in a failure.
MainView* g_refusingPlay = nullptr;
LRESULT CALLBACK refusePlayAfterTheOpen(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && g_refusingPlay && sent->message == kPlayUpdateMessage &&
        sent->wParam == PlayStageOpened) {
        Player& player = g_refusingPlay->road().current();
        const uint32_t length = player.length;
        player.reset();
        player.length = length;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(PlayRoad, ATrackThatCannotBeStartedIsReportedOnceAndThePlayButtonWorksAgain) {
    startWith();
    TrackInfo missing = test::namedEntry(test::winePath("/nowhere/missing.wav"), "missing");
    // A length from the list: the graph player takes it before it fails.
    missing.length = 176400;
    missing.infoKnown = 1;
    append(missing);
    load({makeWav("good.wav", 441000), makeWav("refused.wav", 441000)});
    struct Case {
        const char* name;
        int row;
        Player* lastTried;
        MainView* refusing;
    };
    const Case cases[] = {
        {"no player opens it", 0, &main->directShow(), nullptr},
        {"play refused after the open", 2, &main->directShow(), &view()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        box.count = 0;
        g_refusingPlay = c.refusing;
        HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, refusePlayAfterTheOpen, nullptr,
                                       GetCurrentThreadId());
        select(c.row);
        click(1010);
        ASSERT_TRUE(test::pumpUntil(10000, [&] { return box.count > 0; }));
        EXPECT_EQ(box.text, openFailedText());
        for (int tick = 0; tick < 3; ++tick) SendMessageA(window, WM_TIMER, 3, 0);
        test::settle(200);
        UnhookWindowsHookEx(hook);
        g_refusingPlay = nullptr;
        EXPECT_EQ(box.count, 1) << "reported once";
        EXPECT_TRUE(IsWindowEnabled(item(1010)));
        EXPECT_FALSE(IsWindowEnabled(item(1002)));
        EXPECT_FALSE(view().road().threadHeld()) << "the thread was collected";
        EXPECT_EQ(&view().road().current(), c.lastTried) << "the last player tried stays current";
        EXPECT_EQ(view().road().current().state, Stopped);
        EXPECT_EQ(view().road().current().length, 0u) << "a length of a track that never started";
        // The play button works again.
        select(1);
        click(1010);
        EXPECT_TRUE(waitPlaying(1));
        EXPECT_EQ(box.count, 1);
        click(1012);
    }
}

TEST_F(PlayRoad, AnEntryOfLengthZeroTakesTheFilesOwnUnlessTheListGaveItAndThenCannotSeek) {
    startWith();
    // As a list file gives an entry without a length: not known at all.
    append(test::namedEntry(makeWav("unknown.wav", 441000), "stored title"));
    TrackInfo given = test::namedEntry(makeWav("given.wav", 441000), "given");
    given.infoKnown = 1;  // a length of 0 the list insists on
    append(given);
    EXPECT_EQ(test::cellText(item(1000), 0, kTimeColumn), "");
    select(0);
    click(1010);
    ASSERT_TRUE(waitPlaying(0));
    EXPECT_EQ(view().road().current().length, 441000u * 4) << "the file's own length";
    EXPECT_NE(test::cellText(item(1000), 0, kTimeColumn), "") << "the row shows it now";
    EXPECT_TRUE(IsWindowEnabled(item(1002)));
    select(1);
    click(1010);
    ASSERT_TRUE(waitPlaying(1));
    EXPECT_EQ(view().road().current().length, 0u);
    EXPECT_FALSE(IsWindowEnabled(item(1002))) << "no seeking in a track of length 0";
}

TEST_F(PlayRoad, WhenTheDeviceRefusesEveryFormatTheGraphPlaysAndOnlyItsFailureIsReported) {
    startWith("PlayMode=1\r\n");
    const std::string file = makeWav("A.wav", 441000, 4410, 400000);
    load({file});
    g_onceFile = file;
    g_onceCalls = 0;
    setMemberResolver(resolveOnce);
    append(test::namedEntry(test::winePath("/nowhere/a.zip") + "|A.wav", "member"));
    DeviceRefusesEveryFormat refused;
    select(0);
    click(1010);
    ASSERT_TRUE(waitPlaying(0));
    EXPECT_EQ(&view().road().current(), &main->directShow());
    EXPECT_EQ(main->waveOut().state, Stopped);
    EXPECT_EQ(test::cellText(item(1000), 0, 0), "A.wav");
    EXPECT_EQ(box.count, 0);

    // The graph cannot open the member a second time: one report.
    click(1012);
    select(1);
    click(1010);
    ASSERT_TRUE(test::pumpUntil(10000, [&] { return box.count > 0; }));
    EXPECT_EQ(g_onceCalls, 2) << "both players were asked";
    test::settle(300);
    EXPECT_EQ(box.count, 1);
    EXPECT_EQ(box.text, openFailedText());
    EXPECT_TRUE(stoppedForGood());
    EXPECT_TRUE(IsWindowEnabled(item(1010)));
}

TEST_F(PlayRoad, AnOpenStoresTheTracksRateFramesAndLoopIntoItsEntryForTheNextSave) {
    startWith("PlayMode=1\r\n");
    // An entry saved when the graph played the 48 kHz file: its length, no
    // loop. The 44,100 Hz entry has a loop of the list's own.
    const std::string at44k = makeWav("A.wav", 44100, 4410, 40000);
    const std::string at48k = dir / "B.wav";
    using namespace testing_support;
    const Bytes b = WavBuilder()
                        .fmt(1, 2, 48000, 4, 16)
                        .chunk("data", countingPcm(48000))
                        .smpl(4800, 40000)
                        .build();
    test::writeFile(at48k, std::string(b.begin(), b.end()));
    TrackInfo listed[2] = {test::namedEntry(at44k, "A"), test::namedEntry(at48k, "B")};
    listed[0].length = 176400;
    listed[0].hasLoop = 1;
    listed[0].loopStart = 100;
    listed[0].loopEnd = 30000;
    listed[1].length = 176407;
    const std::string listPath = dir / "old.pll";
    const std::string saved =
        formatPlaylistFile({listed[0], listed[1]}, "", "", 0, listPath.c_str());
    test::writeFile(listPath, saved);
    ASSERT_EQ(main->startLoading({listPath}, 0), 1);
    ASSERT_TRUE(test::pumpUntil(20000, [&] { return !main->loader().busy() && rows() == 2; }));

    for (int row : {0, 1}) {
        select(row);
        click(1010);
        ASSERT_TRUE(waitPlaying(row));
    }
    EXPECT_EQ(&view().road().current(), &main->waveOut()) << "the 48 kHz file plays natively";
    const std::string again =
        formatPlaylistFile(main->playlist().entries(), "", "", 0, listPath.c_str());
    const size_t track01 = saved.find("[Track01]");
    EXPECT_EQ(again.substr(0, track01), saved.substr(0, track01))
        << "the 44,100 Hz entry is as it was";
    EXPECT_EQ(again.substr(again.find("Length=", track01)),
              "Length=176400\r\nLoop=1\r\nLoopStart=4410\r\nLoopEnd=36750\r\nRate=48000\r\n"
              "Frames=48000\r\nLoopStartFrames=4800\r\nLoopEndFrames=40000\r\n");
}

TEST_F(PlayRoad, AnEntryWithoutALocationIsReportedLikeAFailedOpen) {
    startWith();
    append(test::namedEntry("", "nothing"));
    select(0);
    click(1010);
    ASSERT_TRUE(test::pumpUntil(5000, [&] { return box.count > 0; }));
    EXPECT_EQ(box.text, openFailedText());
    EXPECT_TRUE(IsWindowEnabled(item(1010)));
    EXPECT_FALSE(view().road().threadHeld());
}

TEST_F(PlayRoad, AnAdvanceSkipsTracksThatCannotBePlayedAndAFullCycleReportsOnce) {
    startWith("PlayMode=2\r\nLoopCount=0\r\n");
    load({makeWav("first.wav", 8820)});
    append(test::namedEntry(test::winePath("/nowhere/one.wav"), "one"));
    append(test::namedEntry(test::winePath("/nowhere/two.wav"), "two"));
    load({makeWav("last.wav", 441000)});
    select(0);
    click(1010);
    // first ends, one and two fail unseen, last plays.
    ASSERT_TRUE(waitPlaying(3));
    EXPECT_EQ(box.count, 0);
    EXPECT_EQ(selected(), 3);

    // A list where nothing can be played: one report after a full cycle.
    command(40006);
    for (const char* name : {"a", "b", "c"})
        append(test::namedEntry(test::winePath(std::string("/nowhere/") + name), name));
    command(41020);
    ASSERT_TRUE(test::pumpUntil(20000, [&] { return box.count > 0; }));
    test::settle(300);
    EXPECT_EQ(box.count, 1);
    EXPECT_TRUE(stoppedForGood());
    EXPECT_TRUE(IsWindowEnabled(item(1010)));
    // A track the user picks is reported at once, even in RepeatAll.
    select(1);
    click(1010);
    ASSERT_TRUE(test::pumpUntil(10000, [&] { return box.count > 1; }));
    EXPECT_EQ(main->playlist().currentIndex, 1) << "no skipping after the user's own choice";
}

TEST_F(PlayRoad, ASlowOpenRewritesItsRowOnlyWhileTheRowStillShowsItsFile) {
    startWith();
    const std::string real = makeWav("member.wav", 441000);
    load({makeWav("A.wav", 44100)});
    append(test::namedEntry(slowMemberReference("member.wav"), "stored title"));
    load({makeWav("C.wav", 44100)});
    slow.resolveTo = real;
    select(1);
    click(1010);
    ASSERT_TRUE(test::pumpUntil(5000, [&] { return slow.entered > 0; }));
    select(0);
    command(40005);  // A goes while the member is extracted
    SetEvent(slow.release);
    ASSERT_TRUE(waitPlaying(0));
    EXPECT_EQ(test::cellText(item(1000), 0, 0), "member.wav") << "the file's own title";
    EXPECT_EQ(test::cellText(item(1000), 1, 0), "C.wav");
    EXPECT_EQ(view().road().current().listIndex, 0);

    // The same again, but the member's own row goes during the open.
    click(1012);
    ResetEvent(slow.release);
    slow.entered = 0;
    select(0);
    click(1010);
    ASSERT_TRUE(test::pumpUntil(5000, [&] { return slow.entered > 0; }));
    select(0);
    command(40005);
    SetEvent(slow.release);
    ASSERT_TRUE(test::pumpUntil(10000, [&] { return playing(); }));
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(test::cellText(item(1000), 0, 0), "C.wav") << "another entry's row was rewritten";
    EXPECT_EQ(view().road().current().listIndex, 0) << "the number it was started with";
}

TEST_F(PlayRoad, TheLastMemberPlayedKeepsItsExtractedFileAndAFailedOneLeavesNone) {
    startWith();
    const std::string first = makeWav("first.wav", 441000);
    const std::string second = makeWav("second.wav", 441000);
    const std::string temp = main->environment().tempDir;
    ASSERT_FALSE(temp.empty());
    // The stand-in extraction copies the file the test names into the
    // temporary folder, as an archiver would.
    append(test::namedEntry(slowMemberReference("dir\\one.wav"), "one"));
    append(test::namedEntry(slowMemberReference("two.wav"), "two"));
    SetEvent(slow.release);
    auto extractTo = [&](const std::string& source, const std::string& name) {
        const std::string target = temp + name;
        CopyFileA(source.c_str(), target.c_str(), FALSE);
        slow.resolveTo = target;
        return target;
    };
    const std::string one = extractTo(first, "one.wav");
    select(0);
    click(1010);
    ASSERT_TRUE(waitPlaying(0));
    EXPECT_STREQ(main->environment().tempFile, one.c_str());
    // The same member again: its file is the one just opened and stays.
    click(1010);
    ASSERT_TRUE(waitPlaying(0));
    EXPECT_TRUE(test::isFile(one));
    // The next member: the previous one's file goes.
    const std::string two = extractTo(second, "two.wav");
    select(1);
    click(1010);
    ASSERT_TRUE(waitPlaying(1));
    EXPECT_FALSE(test::isFile(one));
    EXPECT_TRUE(test::isFile(two));
    EXPECT_STREQ(main->environment().tempFile, two.c_str());
    // A member whose extraction gives no playable file leaves nothing behind.
    click(1012);
    const std::string broken = temp + "one.wav";
    test::writeFile(broken, "not a sound");
    slow.resolveTo = broken;
    select(0);
    click(1010);
    ASSERT_TRUE(test::pumpUntil(10000, [&] { return box.count > 0; }));
    EXPECT_FALSE(test::isFile(broken));
    EXPECT_TRUE(test::isFile(two)) << "the remembered file stays";
}

TEST_F(PlayRoad, ABarInsideADoubleByteCharacterIsNoMemberReference) {
    startWith();
    // ポ is 0x83 0x7C in code page 932: its trail byte is "|".
    const std::string name = test::sjis("ポ.wav");
    const std::string path = dir / name;
    test::writeFile(path, test::wavBytes(44100, 0, 0, "po"));
    const std::string kept = main->environment().tempDir + std::string("kept.wav");
    test::writeFile(kept, "x");
    main->environment().rememberTempFile(kept.c_str());
    load({path});
    select(0);
    click(1010);
    ASSERT_TRUE(waitPlaying(0));
    EXPECT_STREQ(main->environment().tempFile, kept.c_str()) << "no member was opened";
    EXPECT_TRUE(test::isFile(kept));
}

TEST_F(PlayRoad, ASeekAfterTheListWasClearedKeepsThePlayingNumber) {
    startWith("PlayMode=1\r\n");
    load({makeWav("A.wav", 44100), makeWav("B.wav", 441000, 100, 90000)});
    select(1);
    click(1010);
    ASSERT_TRUE(waitPlaying(1));
    command(40006);
    ASSERT_EQ(main->playlist().currentIndex, -1);
    view().road().restartAt(4000);
    EXPECT_TRUE(playing());
    EXPECT_EQ(view().road().current().listIndex, 1) << "the number of the track that plays";
    EXPECT_EQ(std::string(view().tray().record().szTip), "02.B.wav");
    EXPECT_TRUE(IsWindowEnabled(item(1002))) << "the seek slider stays usable";
}

TEST_F(PlayRoad, TheTitleAndTrayTipFollowTheAlbumAndTheTrack) {
    startWith();
    load({makeWav("A.wav", 441000)});
    copyText(main->playlist().album, kTextSize, "Album");
    main->updateWindowTitle();
    char title[300] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Tarnuvo - Album");
    EXPECT_STREQ(view().tray().record().szTip, "Tarnuvo - Album");
    select(0);
    click(1010);
    ASSERT_TRUE(waitPlaying(0));
    EXPECT_STREQ(view().tray().record().szTip, "01.A.wav");
    // A long album is cut to 259 bytes, on a character boundary.
    std::string album;
    for (int i = 0; i < 200; ++i) album += test::sjis("表");
    copyText(main->playlist().album, kTextSize, album.c_str());
    main->updateWindowTitle();
    GetWindowTextA(window, title, sizeof title);
    const std::string expected = "Tarnuvo - " + album.substr(0, 248);
    EXPECT_EQ(std::string(title), expected);
    click(1012);
    EXPECT_EQ(std::string(view().tray().record().szTip), expected.substr(0, 62));
}

}  // namespace
}  // namespace tarnuvo
