// What a re-read stores into an entry, and which entry it reaches when the
// list changed after the locations were taken.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "playlist/reread_values.h"
#include "tests/playlist/fake_playlist_host.h"

using namespace tarnuvo;
using tarnuvo::test::FakePlaylistHost;

namespace {

TrackInfo entry(const std::string& name, uint32_t length, int32_t hasLoop, uint32_t start,
                uint32_t end) {
    TrackInfo t;
    std::snprintf(t.title, sizeof t.title, "%s", name.c_str());
    std::snprintf(t.artist, sizeof t.artist, "by %s", name.c_str());
    std::snprintf(t.location, sizeof t.location, "C:\\music\\%s.mp3", name.c_str());
    std::snprintf(t.path, sizeof t.path, "%s", t.location);
    t.length = length;
    t.hasLoop = hasLoop;
    t.loopStart = start;
    t.loopEnd = end;
    return t;
}

TEST(RereadRecord, TheFileGivesTheLengthAndALoopOnlyWhenItCarriesOne) {
    const TrackInfo listed = entry("a", 999, 1, 100, 200);
    TrackInfo probed = entry("probed title", 44100 * 4, 0, 0, 0);
    TrackInfo kept = rereadRecord(listed, probed);
    EXPECT_EQ(kept.length, 44100u * 4);
    EXPECT_EQ(kept.hasLoop, 1) << "a loop only the list held survives";
    EXPECT_EQ(kept.loopStart, 100u);
    EXPECT_EQ(kept.loopEnd, 200u);
    EXPECT_EQ(kept.infoKnown, 1);
    EXPECT_STREQ(kept.title, "a") << "the names are not the re-read's";
    EXPECT_STREQ(kept.artist, "by a");
    EXPECT_STREQ(kept.location, listed.location);

    probed.hasLoop = 1;
    probed.loopStart = 7;
    probed.loopEnd = 9;
    TrackInfo own = rereadRecord(listed, probed);
    EXPECT_EQ(own.loopStart, 7u) << "the file's own loop wins";
    EXPECT_EQ(own.loopEnd, 9u);

    const TrackInfo plain = rereadRecord(entry("b", 5, 0, 0, 0), entry("x", 8, 0, 0, 0));
    EXPECT_EQ(plain.hasLoop, 0);
    EXPECT_EQ(plain.length, 8u);
}

TEST(RereadRecord, ALoopOnlyTheListHeldMovesToTheFilesRate) {
    // The entry's rate and loop, the probe's rate: the loop kept, and the rate
    // and frame count taken.
    const struct {
        uint32_t rate, start, end, probedRate, keptStart, keptEnd;
    } cases[] = {
        {0, 88200, 1323000, 48000, 96000, 1440000},  // a list saved before the rate was known
        {48000, 96000, 1440000, 48000, 96000, 1440000},
        {48000, 96000, 1440000, 0, 88200, 1323000},  // now a file the graph plays
    };
    for (const auto& c : cases) {
        TrackInfo listed = entry("a", 999, 1, c.start, c.end);
        listed.sampleRate = c.rate;
        TrackInfo probed = entry("a", 5512952, 0, 0, 0);
        probed.sampleRate = c.probedRate;
        probed.frameCount = 1500123;
        const TrackInfo kept = rereadRecord(listed, probed);
        EXPECT_EQ(kept.sampleRate, c.probedRate);
        EXPECT_EQ(kept.frameCount, 1500123u);
        EXPECT_EQ(kept.hasLoop, 1);
        EXPECT_EQ(kept.loopStart, c.keptStart) << c.rate << " to " << c.probedRate;
        EXPECT_EQ(kept.loopEnd, c.keptEnd) << c.rate << " to " << c.probedRate;
    }
}

TEST(StoreOpened, AnEntryWithKnownValuesTakesWhatTheOpenFound) {
    FakePlaylistHost host;
    Playlist list(host);
    // An entry saved while the graph played the file: its length, no loop.
    TrackInfo known = entry("known", 5513000, 0, 0, 0);
    known.infoKnown = 1;
    const TrackInfo unknown = entry("unknown", 0, 0, 0, 0);
    const TrackInfo tracks[] = {known, unknown};
    list.appendEntries(tracks, 2);
    TrackInfo opened = entry("the file's title", 5512952, 1, 96000, 1440000);
    opened.sampleRate = 48000;
    opened.frameCount = 1500123;

    storeOpened(list, 0, opened);
    const TrackInfo& stored = *list.entryAt(0);
    EXPECT_EQ(std::to_string(stored.length) + " " + std::to_string(stored.sampleRate) + "/" +
                  std::to_string(stored.frameCount) + " " + std::to_string(stored.hasLoop) + ":" +
                  std::to_string(stored.loopStart) + "-" + std::to_string(stored.loopEnd),
              "5512952 48000/1500123 1:96000-1440000");
    EXPECT_STREQ(stored.title, "known") << "the names stay the entry's";
    EXPECT_EQ(host.rows[0].length, 5512952u) << "its row shows it";

    // Without known values the entry stays as it was: it is probed when played.
    storeOpened(list, 1, opened);
    EXPECT_EQ(list.entryAt(1)->sampleRate, 0u);
    EXPECT_FALSE(host.rows[1].rewritten);
    storeOpened(list, 2, opened);  // no such entry
    EXPECT_EQ(list.count(), 2);
}

TEST(RereadRecord, StoredByLocationIntoTheEntryItWasTakenFor) {
    FakePlaylistHost host;
    Playlist list(host);
    const TrackInfo tracks[] = {entry("a", 1, 0, 0, 0), entry("b", 2, 0, 0, 0),
                                entry("c", 3, 0, 0, 0)};
    list.appendEntries(tracks, 3);
    const std::string bLocation = list.entryAt(1)->location;
    const TrackInfo probed = entry("ignored", 4000, 0, 0, 0);

    EXPECT_TRUE(storeReread(list, 1, bLocation.c_str(), probed));
    EXPECT_EQ(list.entryAt(1)->length, 4000u);
    EXPECT_EQ(host.rows[1].length, 4000u) << "its row shows it";
    EXPECT_TRUE(host.rows[1].rewritten);
    EXPECT_FALSE(host.rows[0].rewritten);

    // a went: b now sits at 0, and index 1 names c.
    list.removeEntry(0);
    TrackInfo later = probed;
    later.length = 5000;
    EXPECT_TRUE(storeReread(list, 1, bLocation.c_str(), later));
    EXPECT_EQ(list.entryAt(0)->length, 5000u);
    EXPECT_EQ(list.entryAt(1)->length, 3u) << "c is left alone";

    list.removeEntry(0);
    EXPECT_FALSE(storeReread(list, 0, bLocation.c_str(), later)) << "b is gone";
    EXPECT_EQ(list.entryAt(0)->length, 3u);
    EXPECT_FALSE(storeReread(list, 7, "", later));
}

}  // namespace
