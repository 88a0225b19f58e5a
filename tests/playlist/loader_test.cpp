// The background loader driven with real files, list files and archives (the
// stand-in archiver beside this program) into a real list view. Entries and
// rows are compared with what each test expects, never with what the loader
// says about itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "playlist/playlist.h"
#include "playlist/playlist_loader.h"
#include "test_support.h"
#include "tests/playlist/list_view_window.h"
#include "tests/worker_park.h"

using namespace tarnuvo;
using tarnuvo::test::ListViewHost;
using tarnuvo::test::ListViewWindow;
using tarnuvo::test::pumpUntil;
using tarnuvo::test::sjis;
using namespace tarnuvo_test;

namespace {

// The host with the window's side counted and settable.
class LoaderHost : public ListViewHost {
public:
    explicit LoaderHost(HWND list) : ListViewHost(list) {}
    void stopPlayback() override { ++stops; }
    void updateWindowTitle() override { ++titles; }
    void onSelectionChanged() override { ++selectionChanges; }
    void updateListControls() override { ++controlUpdates; }
    void showLoading(bool on) override { loadingMarks.push_back(on); }
    int32_t playerState() const override { return state; }
    bool closing() const override { return isClosing; }

    int stops = 0, titles = 0, selectionChanges = 0, controlUpdates = 0;
    std::vector<bool> loadingMarks;
    int32_t state = Stopped;
    bool isClosing = false;
};

struct Rig {
    ScratchDir scratch;
    ScratchDir temp;  // the players' temporary directory
    TestEnvironment env{temp.path()};
    ListViewWindow view;
    LoaderHost host{view.list()};
    Playlist playlist{host};
    PlaylistLoader loader{playlist, host, env};

    Rig() { loader.setWindow(view.window()); }

    // Starts a load and serves the window until it has ended.
    int32_t load(std::vector<std::string> paths, int32_t replace) {
        const int32_t started = loader.startLoading(std::move(paths), replace);
        if (started) finish();
        return started;
    }
    void finish() {
        pumpUntil([&] { return !loader.busy(); });
        loader.collect();
    }
    std::vector<std::string> titles() const {
        std::vector<std::string> out;
        for (const TrackInfo& e : playlist.entries()) out.emplace_back(e.title);
        return out;
    }
    // Entries and rows hold the same tracks in the same order.
    ::testing::AssertionResult inStep() const {
        if (rowCount(view.list()) != playlist.count())
            return ::testing::AssertionFailure()
                   << playlist.count() << " entries, " << rowCount(view.list()) << " rows";
        for (int32_t i = 0; i < playlist.count(); ++i) {
            if (view.cell(i, 0) != playlist.entryAt(i)->title)
                return ::testing::AssertionFailure() << "row " << i << " shows " << view.cell(i, 0);
        }
        return ::testing::AssertionSuccess();
    }
    std::string wav(const char* name, const char* fixtureName = "pcm-titled.wav") {
        const std::string to = scratch.path() + name;
        copyFile(fixture(fixtureName), to);
        return to;
    }
};

std::string listFile(const std::vector<std::string>& files, const char* album) {
    std::string text = "[Tarnuvolist]\r\nVer=1\r\nAlbum=" + std::string(album) +
                       "\r\nComment=c\r\nPath=0\r\nTrack=" + std::to_string(files.size()) + "\r\n";
    for (size_t i = 0; i < files.size(); ++i) {
        char section[32];
        std::snprintf(section, sizeof section, "[Track%02zu]\r\n", i);
        text += section;
        text += "File=" + files[i] + "\r\nTitle=T" + std::to_string(i) +
                "\r\nLength=176400\r\nLoopStart=10\r\nLoopEnd=20\r\nLoop=1\r\n";
    }
    return text;
}

}  // namespace

TEST(Loader, PlainFilesAreProbedAppendedAndTheFirstNewRowSelected) {
    Rig r;
    ASSERT_EQ(r.load({r.wav("one.wav")}, 0), 1);
    const std::string txt = r.scratch.path() + "notes.txt";
    writeFile(txt, "not a track");
    ASSERT_EQ(r.load({r.wav("two.wav", "pcm-no-title.wav"), txt, r.wav("three.wav")}, 0), 1);
    ASSERT_EQ(r.playlist.count(), 3);
    EXPECT_TRUE(r.inStep());
    EXPECT_EQ(r.playlist.entryAt(0)->title, sjis("波の音"));
    EXPECT_STREQ(r.playlist.entryAt(1)->location, (r.scratch.path() + "two.wav").c_str());
    EXPECT_EQ(r.playlist.entryAt(1)->length, 4410u * 4);
    EXPECT_EQ(selectedRow(r.view.list()), 1);  // the first row of the second load
    EXPECT_EQ(r.host.stops, 0);                // appending never stops playback
    EXPECT_EQ(r.host.titles, 0);               // plain files leave the title alone
    EXPECT_GE(r.host.controlUpdates, 2);
}

TEST(Loader, AReplaceThatAddsNothingKeepsTheListButStopsPlayback) {
    Rig r;
    const std::string list = r.scratch.path() + "kept.pll";
    writeFile(list, listFile({r.wav("a.wav"), r.wav("b.wav")}, "Kept"));
    ASSERT_EQ(r.load({list}, 1), 1);
    ASSERT_EQ(r.playlist.count(), 2);
    const std::string txt = r.scratch.path() + "readme.txt";
    writeFile(txt, "text");
    const std::string damaged = r.scratch.path() + "damaged.pll";
    writeFile(damaged, "[Tarnuvolist]\r\nVer=1\r\nTrack=0\r\n");
    for (const std::string& nothing :
         {txt, damaged, fixture("plain.zip"), fixture("notarchive.rar"),
          r.scratch.path() + "missing.wav"}) {
        const int stopsBefore = r.host.stops;
        ASSERT_EQ(r.load({nothing}, 1), 1) << nothing;
        EXPECT_EQ(r.host.stops, stopsBefore + 1) << nothing;
        EXPECT_EQ(r.titles(), (std::vector<std::string>{"T0", "T1"})) << nothing;
        EXPECT_STREQ(r.playlist.album, "Kept") << nothing;
        EXPECT_EQ(selectedRow(r.view.list()), 1) << nothing;  // the last row
    }
    EXPECT_TRUE(r.inStep());
}

TEST(Loader, AListFileReplacesTheListAndItsAttributesInOneStep) {
    Rig r;
    ASSERT_EQ(r.load({r.wav("old.wav")}, 0), 1);
    std::strcpy(r.playlist.album, "Old album");
    const std::string list = r.scratch.path() + "new.pll";
    writeFile(list, listFile({r.wav("x.wav"), r.scratch.path() + "gone.wav"}, "New album"));
    ASSERT_EQ(r.load({list}, 1), 1);
    EXPECT_EQ(r.titles(), (std::vector<std::string>{"T0", "T1"}));  // the missing file too
    EXPECT_STREQ(r.playlist.album, "New album");
    EXPECT_STREQ(r.playlist.comment, "c");
    EXPECT_GE(r.host.titles, 1);
    EXPECT_EQ(selectedRow(r.view.list()), 0);
    EXPECT_TRUE(r.inStep());

    // Appended to a list with an album, a list keeps that album.
    ASSERT_EQ(r.load({list}, 0), 1);
    EXPECT_EQ(r.playlist.count(), 4);
    EXPECT_STREQ(r.playlist.album, "New album");
    EXPECT_EQ(selectedRow(r.view.list()), 2);
}

TEST(Loader, SeveralListsOrAListOfAnotherVersionAreProbedAsSoundFiles) {
    Rig r;
    ASSERT_EQ(r.load({r.wav("a.wav")}, 0), 1);
    const std::string v1 = r.scratch.path() + "v1.pll";
    writeFile(v1, listFile({r.wav("b.wav")}, "A"));
    std::string text = listFile({r.wav("c.wav")}, "B");
    text.replace(text.find("Ver=1"), 5, "Ver=3");
    const std::string v3 = r.scratch.path() + "v3.pll";
    writeFile(v3, text);
    ASSERT_EQ(r.load({v1, v1, v1}, 0), 1);
    EXPECT_EQ(r.playlist.count(), 1);
    ASSERT_EQ(r.load({v3}, 0), 1);
    EXPECT_EQ(r.playlist.count(), 1);
    EXPECT_EQ(selectedRow(r.view.list()), 0);
    EXPECT_EQ(r.playlist.album[0], '\0');
}

TEST(Loader, RelativeAndOverlongPathsAreMadeFullOrSkipped) {
    Rig r;
    r.wav("here.wav");
    ScopedCurrentDirectory cd(r.scratch.path());
    const std::string longName = r.scratch.path() + std::string(300, 'x') + ".wav";
    ASSERT_EQ(r.load({"here.wav", longName}, 0), 1);
    ASSERT_EQ(r.playlist.count(), 1);
    EXPECT_STREQ(r.playlist.entryAt(0)->location, (r.scratch.path() + "here.wav").c_str());
    EXPECT_EQ(r.loader.startLoading({longName}, 0), 0);  // nothing left to load
}

TEST(Loader, BusyFromTheStartUntilTheThreadHasFinished) {
    Rig r;
    std::vector<std::string> many;
    for (int i = 0; i < 200; ++i) many.push_back(r.wav(("m" + std::to_string(i) + ".wav").c_str()));
    bool busyWhileStopping = false;
    struct Reentering : LoaderHost {
        using LoaderHost::LoaderHost;
        PlaylistLoader* loader = nullptr;
        bool* sawBusy = nullptr;
        void stopPlayback() override {
            ++stops;
            // A drop served while playback stops must find the loader busy.
            *sawBusy = loader->busy() && loader->startLoading({"x.wav"}, 0) == 0;
        }
    } host(r.view.list());
    Playlist playlist(host);
    PlaylistLoader loader(playlist, host, r.env);
    loader.setWindow(r.view.window());
    host.loader = &loader;
    host.sawBusy = &busyWhileStopping;
    ASSERT_EQ(loader.startLoading(many, 1), 1);
    EXPECT_TRUE(busyWhileStopping);
    EXPECT_TRUE(loader.busy());
    EXPECT_EQ(loader.startLoading({many[0]}, 0), 0);
    pumpUntil([&] { return !loader.busy(); });
    loader.collect();
    EXPECT_EQ(playlist.count(), 200);

    host.isClosing = true;  // once closing has begun nothing starts
    EXPECT_EQ(loader.startLoading({many[0]}, 0), 0);
    EXPECT_FALSE(loader.busy());
}

// A drop served while a start collects the loader before it: its own start
// must find the loader busy.
PlaylistLoader* g_loader = nullptr;
std::string g_dropped;
int32_t g_droppedStarted = -1;
void CALLBACK dropDuringTheCollection(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    SetEvent(tarnuvo::test::g_park->release);
    g_droppedStarted = g_loader->startLoading({g_dropped}, 0);
}

TEST(Loader, AStartServedWhileTheLastLoaderIsCollectedIsRefused) {
    Rig r;
    tarnuvo::test::Park park;
    g_loader = &r.loader;
    g_dropped = r.wav("dropped.wav");
    const std::string first = r.wav("first.wav"), second = r.wav("second.wav");
    const std::function<int32_t()> starts[] = {
        [&] { return r.loader.startLoading({second}, 0); },
        [&] { return r.loader.startRereading({first}); },
    };
    r.loader.record().endSeam = tarnuvo::test::parkHere;
    for (const auto& start : starts) {
        park.parked = 0;
        ResetEvent(park.release);
        ASSERT_EQ(r.loader.startLoading({first}, 0), 1);
        // The last loader has finished but holds on to its thread.
        ASSERT_TRUE(tarnuvo::test::serveSendsUntil(10000, [&] { return park.parked > 0; }));
        ASSERT_FALSE(r.loader.busy());
        g_droppedStarted = -1;
        SetTimer(nullptr, 0, 0, dropDuringTheCollection);
        EXPECT_EQ(start(), 1);
        EXPECT_EQ(g_droppedStarted, 0) << "a second loader thread was started";
        r.finish();
    }
    EXPECT_EQ(r.titles().size(), 3u) << "first, second, first";
}

TEST(Loader, CancelStopsAfterTheItemInHandAndKeepsTheRows) {
    Rig r;
    // Every other file is no sound: the native player refuses it and a
    // DirectShow graph is built for it, so the load takes far longer than the
    // first hand-over however fast the machine.
    std::vector<std::string> many, sounds;
    for (int i = 0; i < 200; ++i) {
        sounds.push_back(r.wav(("c" + std::to_string(i) + ".wav").c_str()));
        many.push_back(sounds.back());
        many.push_back(r.scratch.path() + "n" + std::to_string(i) + ".txt");
        writeFile(many.back(), "no sound");
    }
    ASSERT_EQ(r.loader.startLoading(many, 0), 1);
    pumpUntil([&] { return r.playlist.count() > 0; });
    r.loader.collect();
    EXPECT_FALSE(r.loader.busy());
    EXPECT_GT(r.playlist.count(), 0);
    EXPECT_LT(r.playlist.count(), 200);
    EXPECT_TRUE(r.inStep());
    for (int32_t i = 0; i < r.playlist.count(); ++i)
        EXPECT_STREQ(r.playlist.entryAt(i)->location, sounds[static_cast<size_t>(i)].c_str());
}

TEST(Loader, RowsClickedDuringALongListLoadStayInStep) {
    Rig r;
    std::vector<std::string> files;
    for (int i = 0; i < 5000; ++i) files.push_back("C:\\music\\" + std::to_string(i) + ".ogg");
    const std::string list = r.scratch.path() + "big.pll";
    writeFile(list, listFile(files, "Big"));
    int checks = 0;
    bool allInStep = true;
    ASSERT_EQ(r.loader.startLoading({list}, 1), 1);
    // Each batch arrives as a sent message, served inside the wait below;
    // in between, a user clicks rows.
    const int callsBefore = r.view.calls;
    int seenCalls = callsBefore;
    while (r.loader.busy()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (r.view.calls != seenCalls) {
            seenCalls = r.view.calls;
            allInStep = allInStep && r.inStep();
            ++checks;
        }
        if (r.playlist.count() > 0) selectRow(r.view.list(), checks % r.playlist.count());
    }
    r.loader.collect();
    EXPECT_TRUE(allInStep);
    EXPECT_GT(checks, 0);
    EXPECT_EQ(r.playlist.count(), 5000);
    EXPECT_TRUE(r.inStep());
}

TEST(Loader, ArchiveMusicMembersAreProbedAndNamedInArchiveOrder) {
    Rig r;
    CallLog log(r.scratch);
    ASSERT_EQ(r.load({fixture("intake.zip")}, 1), 1);
    std::vector<std::string> paths;
    for (const TrackInfo& e : r.playlist.entries()) paths.emplace_back(e.path);
    // d.mp3 is no sound; -o.mp3 and @list.mp3 would reach the DLL as a switch
    // or a response file. b.ogg holds WAV data, which the player takes.
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(paths[0], "a.mp3");
    EXPECT_EQ(paths[1], "b.ogg");
    EXPECT_TRUE(paths[2] == "sub/c.MP3" || paths[2] == "sub\\c.MP3") << paths[2];
    const TrackInfo& a = *r.playlist.entryAt(0);
    EXPECT_EQ(std::string(a.location), fixture("intake.zip") + "|a.mp3");
    EXPECT_STREQ(a.title, "Alpha");
    EXPECT_EQ(a.length, 2205u * 4);
    EXPECT_EQ(a.infoKnown, 1);
    EXPECT_STREQ(r.playlist.album, "intake");
    EXPECT_EQ(r.host.loadingMarks, (std::vector<bool>{true, false}));
    for (const std::string& line : log.linesWith("command")) {
        EXPECT_EQ(line.find("-o.mp3"), std::string::npos) << line;
        EXPECT_EQ(line.find("@list.mp3"), std::string::npos) << line;
    }
    EXPECT_TRUE(r.temp.contents().empty());  // no probe copy and no probe folder left
    EXPECT_TRUE(r.inStep());
}

TEST(Loader, ArchiveAlbumOnlyNamesAListWithoutOneAndOnlyWhenAMemberCame) {
    Rig r;
    ASSERT_EQ(r.load({r.wav("a.wav")}, 0), 1);
    std::strcpy(r.playlist.album, "Mine");
    r.playlist.relativePaths = 1;
    ASSERT_EQ(r.load({fixture("intake.zip")}, 0), 1);
    EXPECT_STREQ(r.playlist.album, "Mine");
    EXPECT_EQ(r.playlist.relativePaths, 1);  // members never clear the list's flag
    r.playlist.album[0] = '\0';
    ASSERT_EQ(r.load({fixture("plain.zip")}, 0), 1);  // members that are no sound
    EXPECT_EQ(r.playlist.album[0], '\0');
    EXPECT_TRUE(r.temp.contents().empty());
}

TEST(Loader, NoArchiveIntakeWithoutATemporaryDirectory) {
    ScratchDir scratch;
    TestEnvironment noTemp("");
    ListViewWindow view;
    LoaderHost host(view.list());
    Playlist playlist(host);
    PlaylistLoader loader(playlist, host, noTemp);
    loader.setWindow(view.window());
    ScopedCurrentDirectory cd(scratch.path());
    writeFile(scratch.path() + "a.mp3", "the user's own file");
    ASSERT_EQ(loader.startLoading({fixture("intake.zip")}, 0), 1);
    pumpUntil([&] { return !loader.busy(); });
    loader.collect();
    EXPECT_EQ(playlist.count(), 0);
    EXPECT_EQ(readFile(scratch.path() + "a.mp3"), "the user's own file");
}

TEST(Loader, ProbingAMemberNeverTouchesAPlayingFileOfTheSameName) {
    Rig r;
    const std::string playing = r.temp.path() + "a.mp3";
    writeFile(playing, "playing");
    HANDLE held = CreateFileA(playing.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ASSERT_EQ(r.load({fixture("intake.zip")}, 0), 1);
    CloseHandle(held);
    ASSERT_GE(r.playlist.count(), 1);
    EXPECT_STREQ(r.playlist.entryAt(0)->title, "Alpha");
    EXPECT_EQ(readFile(playing), "playing");
    EXPECT_EQ(r.temp.contents(), (std::vector<std::string>{"a.mp3"}));
}

TEST(Loader, ALongArchivePathLeavesOutReferencesThatWouldNotFit) {
    Rig r;
    // 258 bytes of archive path: no member reference fits in 259.
    const std::string first(100, 'd');
    std::string folder = r.scratch.folder(first);
    ASSERT_LT(folder.size(), 200u);
    folder = r.scratch.folder(first + "\\" + std::string(230 - folder.size(), 'e'));
    const std::string archive = folder + std::string(258 - folder.size() - 4, 'z') + ".zip";
    ASSERT_EQ(archive.size(), 258u);
    ASSERT_TRUE(copyFile(fixture("intake.zip"), archive));
    ASSERT_EQ(r.load({archive}, 0), 1);
    EXPECT_EQ(r.playlist.count(), 0);
    EXPECT_TRUE(r.temp.contents().empty());
}

TEST(Loader, ClosingDuringALongIntakeEndsSoon) {
    Rig r;
    ASSERT_EQ(r.loader.startLoading({fixture("many.zip")}, 0), 1);
    pumpUntil([&] { return r.playlist.count() > 0; });
    const DWORD begun = GetTickCount();
    r.loader.collect();
    EXPECT_LT(GetTickCount() - begun, 2000u);
    EXPECT_LT(r.playlist.count(), 300);
    EXPECT_TRUE(r.inStep());
    EXPECT_TRUE(r.temp.contents().empty());
}

TEST(Loader, AFileWithoutExtensionIsNeverOfferedToAnArchiver) {
    Rig r;
    CallLog log(r.scratch);
    ASSERT_EQ(r.load({fixture("music")}, 0), 1);  // a zip archive by content
    EXPECT_EQ(r.playlist.count(), 0);
    EXPECT_TRUE(log.linesWith("CheckArchive").empty());
    ASSERT_EQ(r.load({fixture("plain.zip")}, 0), 1);
    EXPECT_FALSE(log.linesWith("CheckArchive").empty());  // the log does see archivers
}
