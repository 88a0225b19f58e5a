// The re-read of every entry on the loader thread: real files, a list file's
// stored values and archive members, stored into the entries and their rows.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "playlist/archive_extractor.h"
#include "playlist/playlist.h"
#include "playlist/playlist_loader.h"
#include "test_support.h"
#include "tests/playlist/list_view_window.h"

using namespace tarnuvo;
using tarnuvo::test::ListViewHost;
using tarnuvo::test::ListViewWindow;
using tarnuvo::test::pumpUntil;
using namespace tarnuvo_test;

namespace {

class RereadHost : public ListViewHost {
public:
    using ListViewHost::ListViewHost;
    void stopPlayback() override { ++stops; }
    int stops = 0;
};

struct Rig {
    ScratchDir scratch;
    ScratchDir temp;
    TestEnvironment env{temp.path()};
    ListViewWindow view;
    RereadHost host{view.list()};
    Playlist playlist{host};
    PlaylistLoader loader{playlist, host, env};

    Rig() { loader.setWindow(view.window()); }
    void finish() {
        pumpUntil([&] { return !loader.busy(); });
        loader.collect();
    }
    int32_t load(std::vector<std::string> paths) {
        const int32_t started = loader.startLoading(std::move(paths), 0);
        if (started) finish();
        return started;
    }
    int32_t reread() {
        std::vector<std::string> locations;
        for (const TrackInfo& e : playlist.entries()) locations.emplace_back(e.location);
        const int32_t started = loader.startRereading(std::move(locations));
        if (started) finish();
        return started;
    }
};

// PCM WAV bytes of `frames` frames with one smpl loop when end > start.
std::string wavWithLoop(uint32_t frames, uint32_t start, uint32_t end) {
    std::string b;
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>(v >> (8 * i)));
    };
    auto tag = [&](const char* t) { b.append(t, 4); };
    const uint32_t smpl = end > start ? 8 + 60 : 0;
    tag("RIFF");
    u32(4 + 24 + 8 + frames * 4 + smpl);
    tag("WAVE");
    tag("fmt ");
    u32(16);
    u32(0x00020001);
    u32(44100);
    u32(176400);
    u32(0x00100004);
    tag("data");
    u32(frames * 4);
    b.append(frames * 4, '\x01');
    if (smpl) {
        tag("smpl");
        u32(60);
        for (uint32_t v : {0u, 0u, 22675u, 60u, 0u, 0u, 0u, 1u, 0u, 0u, 0u, start, end, 0u, 0u})
            u32(v);
    }
    return b;
}

std::string listOf(const std::vector<std::string>& files) {
    std::string text = "[Tarnuvolist]\r\nVer=1\r\nTrack=" + std::to_string(files.size()) + "\r\n";
    for (size_t i = 0; i < files.size(); ++i) {
        text += "[Track" + std::string(i < 10 ? "0" : "") + std::to_string(i) + "]\r\n";
        text += "File=" + files[i] + "\r\nTitle=Listed " + std::to_string(i) +
                "\r\nLength=999\r\nLoopStart=10\r\nLoopEnd=20\r\nLoop=1\r\n";
    }
    return text;
}

TEST(Reread, TheFilesGiveLengthAndTheirOwnLoopWhileAListOnlyLoopIsKept) {
    Rig r;
    const std::string plain = r.scratch.path() + "plain.wav";
    writeFile(plain, wavWithLoop(4410, 0, 0));
    const std::string looped = r.scratch.path() + "looped.wav";
    writeFile(looped, wavWithLoop(8820, 100, 4000));
    const std::string gone = r.scratch.path() + "gone.wav";
    const std::string list = r.scratch.path() + "list.pll";
    writeFile(list, listOf({plain, looped, gone}));
    ASSERT_EQ(r.load({list}), 1);
    ASSERT_EQ(r.playlist.count(), 3);
    EXPECT_EQ(r.view.cell(0, 1), "00:00.00") << "the stored length, 999 bytes";

    ASSERT_EQ(r.reread(), 1);
    const TrackInfo& a = *r.playlist.entryAt(0);
    EXPECT_EQ(a.length, 4410u * 4);
    EXPECT_EQ(a.hasLoop, 1);
    EXPECT_EQ(a.loopStart, 10u) << "the list's loop stays: the file has none";
    EXPECT_EQ(a.loopEnd, 20u);
    EXPECT_EQ(a.infoKnown, 1);
    EXPECT_STREQ(a.title, "Listed 0");
    EXPECT_EQ(r.view.cell(0, 1), "00:00.10") << "the row shows the new length";
    const TrackInfo& b = *r.playlist.entryAt(1);
    EXPECT_EQ(b.length, 8820u * 4);
    EXPECT_EQ(b.loopStart, 100u) << "the file's own loop wins";
    EXPECT_EQ(b.loopEnd, 4000u);
    EXPECT_EQ(r.view.cell(1, 1), "00:00.20");
    const TrackInfo& c = *r.playlist.entryAt(2);
    EXPECT_EQ(c.length, 999u) << "an unreadable file leaves its entry alone";
    EXPECT_EQ(c.loopStart, 10u);
    EXPECT_EQ(r.host.stops, 0) << "a re-read never stops playback";
    EXPECT_STREQ(r.playlist.entryAt(0)->location, plain.c_str());
}

TEST(Reread, ARelativeEntryIsReadFromItsLocationNotFromTheCurrentFolder) {
    Rig r;
    const std::string sub = r.scratch.folder("sub");
    writeFile(sub + "song.wav", wavWithLoop(4410, 0, 0));
    // A file of the same name where the current folder points.
    writeFile(r.scratch.path() + "song.wav", wavWithLoop(44100, 0, 0));
    writeFile(sub + "list.pll",
              "[Tarnuvolist]\r\nVer=1\r\nPath=1\r\nTrack=1\r\n[Track00]\r\nFile=song.wav\r\n"
              "Title=t\r\nLength=5\r\n");
    ASSERT_EQ(r.load({sub + "list.pll"}), 1);
    ASSERT_EQ(r.playlist.count(), 1);
    ScopedCurrentDirectory cd(r.scratch.path());
    ASSERT_EQ(r.reread(), 1);
    EXPECT_EQ(r.playlist.entryAt(0)->length, 4410u * 4);
}

TEST(Reread, ArchiveMembersAreReadAgainAndLeaveNoExtractedFile) {
    installMemberResolver();  // as the program does at start
    Rig r;
    ASSERT_EQ(r.load({fixture("intake.zip")}), 1);
    ASSERT_GE(r.playlist.count(), 1);
    TrackInfo changed = *r.playlist.entryAt(0);
    changed.length = 4;
    r.playlist.updateEntry(0, changed);
    ASSERT_EQ(r.playlist.entryAt(0)->length, 4u);
    ASSERT_EQ(r.reread(), 1);
    EXPECT_EQ(r.playlist.entryAt(0)->length, 2205u * 4);
    EXPECT_TRUE(r.temp.contents().empty()) << "no probe copy and no probe folder left";
}

TEST(Reread, RefusedWhileALoadRunsAndWithNothingToRead) {
    Rig r;
    EXPECT_EQ(r.loader.startRereading({}), 0);
    std::vector<std::string> many;
    const std::string file = r.scratch.path() + "m.wav";
    writeFile(file, wavWithLoop(441, 0, 0));
    for (int i = 0; i < 300; ++i) many.push_back(file);
    ASSERT_EQ(r.loader.startLoading(many, 0), 1);
    EXPECT_EQ(r.loader.startRereading({file}), 0);
    r.finish();
    EXPECT_EQ(r.playlist.count(), 300);
    EXPECT_EQ(r.loader.startRereading({file}), 1);
    EXPECT_TRUE(r.loader.busy());
    EXPECT_EQ(r.loader.startLoading({file}, 0), 0) << "a re-read counts as a load";
    r.finish();
}

}  // namespace
