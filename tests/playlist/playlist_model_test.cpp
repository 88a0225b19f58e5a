// The playlist model over a host that keeps its own rows: entry i is row i
// after every operation, and the playing entry keeps its number through edits.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "playlist/playlist.h"
#include "tests/playlist/fake_playlist_host.h"

using namespace tarnuvo;
using tarnuvo::test::FakePlaylistHost;

namespace {

TrackInfo track(const std::string& title, uint32_t length = 1764, int32_t hasLoop = 0) {
    TrackInfo t;
    std::snprintf(t.title, sizeof t.title, "%s", title.c_str());
    std::snprintf(t.artist, sizeof t.artist, "by %s", title.c_str());
    std::snprintf(t.path, sizeof t.path, "C:\\music\\%s.wav", title.c_str());
    std::snprintf(t.location, sizeof t.location, "%s", t.path);
    t.length = length;
    t.hasLoop = hasLoop;
    return t;
}

std::vector<std::string> titlesOf(const Playlist& list) {
    std::vector<std::string> out;
    for (const TrackInfo& t : list.entries()) out.push_back(t.title);
    return out;
}

// Entries and rows agree in number and in every shown field.
void expectInStep(const Playlist& list, const FakePlaylistHost& host) {
    ASSERT_EQ(list.count(), host.rowCount());
    for (int32_t i = 0; i < list.count(); ++i) {
        const TrackInfo& e = *list.entryAt(i);
        const auto& r = host.rows[static_cast<size_t>(i)];
        EXPECT_EQ(r.title, e.title) << "row " << i;
        EXPECT_EQ(r.artist, e.artist) << "row " << i;
        EXPECT_EQ(r.length, e.length) << "row " << i;
        EXPECT_EQ(r.hasLoop, e.hasLoop) << "row " << i;
    }
}

struct Fixture : ::testing::Test {
    FakePlaylistHost host;
    Playlist list{host};
    void fill(std::initializer_list<const char*> titles) {
        std::vector<TrackInfo> records;
        for (const char* t : titles) records.push_back(track(t));
        list.appendEntries(records.data(), static_cast<int32_t>(records.size()));
    }
};

using PlaylistAppend = Fixture;
using PlaylistCurrentIndex = Fixture;
using PlaylistSwap = Fixture;
using PlaylistClear = Fixture;
using PlaylistAttributes = Fixture;

TEST_F(PlaylistAppend, RowsAndEntriesGrowTogetherAtTheEnd) {
    fill({"A", "B", "C"});
    fill({"D", "E"});
    EXPECT_EQ(titlesOf(list), (std::vector<std::string>{"A", "B", "C", "D", "E"}));
    EXPECT_EQ(host.insertIndices, (std::vector<int32_t>{0, 3}));
    EXPECT_EQ(host.insertCalls, 2);  // one call per batch
    expectInStep(list, host);
}

TEST_F(PlaylistAppend, EntriesAreCopiesOfTheRecords) {
    TrackInfo source = track("Original", 17640, 1);
    source.loopStart = 10;
    source.loopEnd = 20;
    source.infoKnown = 1;
    list.appendEntries(&source, 1);
    std::strcpy(source.title, "Changed");
    source.length = 0;
    const TrackInfo& e = *list.entryAt(0);
    EXPECT_STREQ(e.title, "Original");
    EXPECT_STREQ(e.path, "C:\\music\\Original.wav");
    EXPECT_EQ(e.length, 17640u);
    EXPECT_EQ(e.loopStart, 10u);
    EXPECT_EQ(e.loopEnd, 20u);
    EXPECT_EQ(e.infoKnown, 1);
}

TEST_F(PlaylistAppend, RowsTheViewRefusesAddNoEntries) {
    host.capacity = 4;
    fill({"A", "B", "C", "D", "E", "F"});
    EXPECT_EQ(list.count(), 4);
    expectInStep(list, host);
    fill({"G"});
    EXPECT_EQ(list.count(), 4);
    expectInStep(list, host);
}

TEST_F(PlaylistAppend, AListNeverHoldsMoreThanAListFileGivesBack) {
    std::vector<TrackInfo> many(kMaxListEntries - 1, track("X"));
    list.appendEntries(many.data(), static_cast<int32_t>(many.size()));
    fill({"Last", "Refused"});
    EXPECT_EQ(list.count(), kMaxListEntries);
    EXPECT_STREQ(list.entryAt(kMaxListEntries - 1)->title, "Last");
    fill({"More"});
    EXPECT_EQ(list.count(), kMaxListEntries);
    EXPECT_EQ(host.rowCount(), kMaxListEntries);
}

TEST_F(PlaylistAppend, ItsOwnEntriesCanBeAppendedAgain) {
    fill({"A", "B", "C"});
    list.appendEntries(list.entries().data(), list.count());
    EXPECT_EQ(titlesOf(list), (std::vector<std::string>{"A", "B", "C", "A", "B", "C"}));
    expectInStep(list, host);
}

TEST_F(PlaylistAppend, NothingToAppendTouchesNothing) {
    TrackInfo one = track("A");
    list.appendEntries(nullptr, 3);
    list.appendEntries(&one, 0);
    list.appendEntries(&one, -5);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(host.insertCalls, 0);
}

TEST_F(PlaylistAppend, UpdateEntryRewritesProbedFieldsAndItsRow) {
    fill({"A", "B"});
    TrackInfo probed = track("Probed", 352800, 1);
    probed.loopStart = 5;
    probed.loopEnd = 99;
    probed.infoKnown = 1;
    std::strcpy(probed.path, "C:\\elsewhere.wav");
    list.updateEntry(1, probed);
    const TrackInfo& e = *list.entryAt(1);
    EXPECT_STREQ(e.title, "Probed");
    EXPECT_STREQ(e.artist, "by Probed");
    EXPECT_EQ(e.length, 352800u);
    EXPECT_EQ(e.hasLoop, 1);
    EXPECT_EQ(e.loopStart, 5u);
    EXPECT_EQ(e.loopEnd, 99u);
    EXPECT_EQ(e.infoKnown, 1);
    EXPECT_STREQ(e.path, "C:\\music\\B.wav");  // names stay as the list has them
    EXPECT_EQ(host.updateCalls, 1);
    EXPECT_TRUE(host.rows[1].rewritten);
    expectInStep(list, host);

    list.updateEntry(2, probed);
    list.updateEntry(-1, probed);
    EXPECT_EQ(host.updateCalls, 1);
}

// Five entries A to E; which entry the number names after one removal.
TEST_F(PlaylistCurrentIndex, StaysOnItsEntryWhenARowIsRemoved) {
    struct Case {
        int32_t current, removed, expected;
        const char* next;  // what "next" plays afterwards
    } cases[] = {
        {3, 1, 2, "E"},    // a row above: the number follows D down
        {1, 3, 1, "C"},    // a row below: unchanged
        {2, 2, 1, "D"},    // the playing row: just before its place
        {0, 0, -1, "B"},   // the first row playing: before the first
        {-1, 0, -1, "B"},  // nothing playing stays nothing
        {4, 4, 3, ""},     // the last row playing: "next" finds no entry
    };
    for (const Case& c : cases) {
        FakePlaylistHost h;
        Playlist l(h);
        for (const char* t : {"A", "B", "C", "D", "E"}) {
            TrackInfo r = track(t);
            l.appendEntries(&r, 1);
        }
        l.currentIndex = c.current;
        l.removeEntry(c.removed);
        EXPECT_EQ(l.currentIndex, c.expected) << c.current << " " << c.removed;
        const TrackInfo* next = l.entryAt(l.currentIndex + 1);
        EXPECT_EQ(next ? next->title : "", std::string(c.next)) << c.current << " " << c.removed;
        expectInStep(l, h);
    }
}

TEST_F(PlaylistCurrentIndex, RemovingNoEntryIsIgnored) {
    list.removeEntry(0);
    fill({"A", "B"});
    list.currentIndex = 1;
    list.removeEntry(-1);
    list.removeEntry(2);
    list.removeEntry(INT32_MIN);
    EXPECT_EQ(host.deleteCalls, 0);
    EXPECT_EQ(list.currentIndex, 1);
    EXPECT_EQ(titlesOf(list), (std::vector<std::string>{"A", "B"}));
}

// Random edits against a reference that follows the playing entry by identity.
TEST_F(PlaylistCurrentIndex, FollowsItsEntryThroughRandomEdits) {
    std::mt19937 random(20260611);
    std::vector<int> ids;  // the reference order
    int next = 0;
    auto add = [&](int n) {
        std::vector<TrackInfo> records;
        for (int k = 0; k < n; ++k) {
            records.push_back(track("t" + std::to_string(next)));
            ids.push_back(next++);
        }
        list.appendEntries(records.data(), n);
    };
    add(8);
    int playing = -1;  // id of the entry currentIndex should name; -1 none
    for (int step = 0; step < 3000; ++step) {
        const int size = static_cast<int>(ids.size());
        const int op = static_cast<int>(random() % 10);
        if (size == 0 || op == 0) {
            add(1 + static_cast<int>(random() % 3));
        } else if (op == 1) {
            const int at = static_cast<int>(random() % static_cast<unsigned>(size));
            list.currentIndex = at;
            playing = ids[static_cast<size_t>(at)];
        } else if (op <= 5) {
            const int at = static_cast<int>(random() % static_cast<unsigned>(size));
            if (ids[static_cast<size_t>(at)] == playing) playing = at > 0 ? ids[at - 1] : -1;
            ids.erase(ids.begin() + at);
            list.removeEntry(at);
        } else {
            const int at = static_cast<int>(random() % static_cast<unsigned>(size + 1)) - 1;
            const bool valid = at >= 0 && at + 1 < size;
            if (valid) std::swap(ids[static_cast<size_t>(at)], ids[static_cast<size_t>(at) + 1]);
            ASSERT_EQ(list.swapEntries(at), valid) << "step " << step;
        }
        int expected = -1;
        for (size_t k = 0; k < ids.size(); ++k)
            if (ids[k] == playing) expected = static_cast<int>(k);
        ASSERT_EQ(list.currentIndex, expected) << "step " << step;
        std::vector<std::string> names;
        for (int id : ids) names.push_back("t" + std::to_string(id));
        ASSERT_EQ(titlesOf(list), names) << "step " << step;
        ASSERT_NO_FATAL_FAILURE(expectInStep(list, host)) << "step " << step;
    }
}

TEST_F(PlaylistSwap, ExchangesNeighboursAndRefreshesTheirRowsOnce) {
    fill({"A", "B", "C", "D"});
    const int inserts = host.insertCalls;
    EXPECT_TRUE(list.swapEntries(1));
    EXPECT_EQ(titlesOf(list), (std::vector<std::string>{"A", "C", "B", "D"}));
    EXPECT_EQ(host.deleteCalls, 1);
    EXPECT_EQ(host.insertCalls - inserts, 1);
    EXPECT_EQ(host.updateCalls, 0);
    expectInStep(list, host);
}

TEST_F(PlaylistSwap, CurrentIndexMovesWithItsEntry) {
    fill({"A", "B", "C", "D"});
    list.currentIndex = 1;
    list.swapEntries(1);  // B moves down
    EXPECT_EQ(list.currentIndex, 2);
    list.swapEntries(1);  // B moves back up
    EXPECT_EQ(list.currentIndex, 1);
    list.swapEntries(0);  // A moves down past B
    EXPECT_EQ(list.currentIndex, 0);
    list.swapEntries(2);  // elsewhere
    EXPECT_EQ(list.currentIndex, 0);
    EXPECT_STREQ(list.entryAt(list.currentIndex)->title, "B");
}

TEST_F(PlaylistSwap, RefusedAtTheEdges) {
    EXPECT_FALSE(list.swapEntries(0));
    fill({"A"});
    EXPECT_FALSE(list.swapEntries(0));
    fill({"B", "C"});
    list.currentIndex = 2;
    EXPECT_FALSE(list.swapEntries(-1));  // first row up
    EXPECT_FALSE(list.swapEntries(2));   // last row down
    EXPECT_FALSE(list.swapEntries(INT32_MAX));
    EXPECT_EQ(titlesOf(list), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(list.currentIndex, 2);
    EXPECT_EQ(host.deleteCalls, 0);
    EXPECT_TRUE(list.swapEntries(0));  // first row down
    EXPECT_TRUE(list.swapEntries(1));  // last row up
    EXPECT_EQ(titlesOf(list), (std::vector<std::string>{"B", "C", "A"}));
    expectInStep(list, host);
}

TEST_F(PlaylistSwap, AMovedRowIsShownAsANewRow) {
    fill({"A"});
    TrackInfo unknown = track("Unknown", 0);
    list.appendEntries(&unknown, 1);
    list.swapEntries(0);
    EXPECT_FALSE(host.rows[0].rewritten);
    EXPECT_FALSE(host.rows[1].rewritten);
    EXPECT_EQ(host.rows[0].length, 0u);
    expectInStep(list, host);
}

TEST_F(PlaylistClear, RemovesEverythingAndResetsTheAttributes) {
    host.observed = &list;
    fill({"A", "B", "C"});
    std::strcpy(list.album, "Album");
    std::strcpy(list.comment, "Comment");
    list.relativePaths = 1;
    list.currentIndex = 2;
    list.clearList();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(host.rowCount(), 0);
    EXPECT_EQ(host.deleteAllCalls, 1);
    EXPECT_EQ(list.currentIndex, -1);
    EXPECT_STREQ(list.album, "");
    EXPECT_STREQ(list.comment, "");
    EXPECT_EQ(list.relativePaths, 0);
    EXPECT_EQ(host.panelResets, 1);
    EXPECT_EQ(host.listControlUpdates, 1);
    EXPECT_EQ(host.titleUpdates, 1);
    EXPECT_EQ(host.titleAlbum, "");  // the title is set from the emptied album
}

TEST_F(PlaylistClear, AListEmptiedByHandStillForgetsItsAttributes) {
    host.observed = &list;
    fill({"A", "B"});
    std::strcpy(list.album, "Old album");
    std::strcpy(list.comment, "Old comment");
    list.relativePaths = 1;
    list.currentIndex = 1;
    list.removeEntry(1);
    list.removeEntry(0);
    ASSERT_EQ(host.rowCount(), 0);
    list.clearList();
    EXPECT_EQ(host.deleteAllCalls, 0);  // no rows to delete
    EXPECT_EQ(list.currentIndex, -1);
    EXPECT_STREQ(list.album, "");
    EXPECT_STREQ(list.comment, "");
    EXPECT_EQ(list.relativePaths, 0);
    EXPECT_EQ(host.listControlUpdates, 1);
    EXPECT_EQ(host.titleUpdates, 1);
    EXPECT_EQ(host.titleAlbum, "");
}

TEST_F(PlaylistClear, ThePanelIsResetOnlyWhileStopped) {
    fill({"A"});
    host.state = Playing;
    list.clearList();
    EXPECT_EQ(host.panelResets, 0);
    host.state = Paused;
    list.clearList();
    EXPECT_EQ(host.panelResets, 0);
    host.state = Stopped;
    list.clearList();
    EXPECT_EQ(host.panelResets, 1);
    EXPECT_EQ(host.stops, 0);  // clearing never stops playback itself
}

TEST_F(PlaylistClear, TheListCanBeFilledAgain) {
    fill({"A", "B"});
    list.clearList();
    fill({"C"});
    EXPECT_EQ(titlesOf(list), (std::vector<std::string>{"C"}));
    EXPECT_EQ(host.insertIndices.back(), 0);
    expectInStep(list, host);
}

TEST_F(PlaylistAttributes, AlbumAndCommentComeOnlyIntoAListWithoutAnAlbum) {
    std::strcpy(list.comment, "stale");
    list.applyListAttributes("", "First comment", 1);
    EXPECT_STREQ(list.album, "");
    EXPECT_STREQ(list.comment, "First comment");
    EXPECT_EQ(list.relativePaths, 1);
    list.applyListAttributes("File album", "File comment", 0);
    EXPECT_STREQ(list.album, "File album");
    EXPECT_STREQ(list.comment, "File comment");
    EXPECT_EQ(list.relativePaths, 0);
    // Now the list has an album: a further list keeps both, and only the
    // path flag is that of the list read last.
    list.applyListAttributes("Other album", "Other comment", 7);
    EXPECT_STREQ(list.album, "File album");
    EXPECT_STREQ(list.comment, "File comment");
    EXPECT_EQ(list.relativePaths, 1);
}

TEST_F(PlaylistAttributes, MissingTextsAreEmptyAndLongOnesAreCut) {
    list.applyListAttributes(nullptr, nullptr, 0);
    EXPECT_STREQ(list.album, "");
    EXPECT_STREQ(list.comment, "");
    const std::string longText(400, 'x');
    list.applyListAttributes(longText.c_str(), longText.c_str(), 0);
    EXPECT_EQ(std::string(list.album), longText.substr(0, kTextSize - 1));
    EXPECT_EQ(std::string(list.comment), longText.substr(0, kTextSize - 1));
}

}  // namespace
