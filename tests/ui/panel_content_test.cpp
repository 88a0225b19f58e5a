// The panel's record gathered from the shown track, the player and the
// settings, and the click areas' hit test.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/panel_content.h"

namespace tarnuvo {
namespace {

constexpr uint32_t kSecond = 176400;

TrackInfo looped() {
    TrackInfo t;
    std::strcpy(t.title, "Song");
    std::strcpy(t.artist, "Band");
    std::strcpy(t.location, "C:\\music\\song.wav");
    t.listIndex = 2;
    t.length = 10 * kSecond;
    t.hasLoop = 1;
    t.loopStart = 44100;
    t.loopEnd = 5 * 44100;
    t.loopsDone = 3;
    return t;
}

PanelSource sourceFor(const TrackInfo& shown) {
    PanelSource s;
    s.shown = &shown;
    s.listHasEntries = true;
    s.playerState = Playing;
    s.playerPosition = 4 * kSecond;
    s.shownElapsedTotal = 14 * kSecond;
    s.loopCount = 5;
    return s;
}

TEST(PanelContent, APlayingLoopedTrack) {
    const TrackInfo track = looped();
    PanelContent c;
    gatherPanelContent(sourceFor(track), c);
    EXPECT_STREQ(c.title, "03.Song / Band");
    EXPECT_STREQ(c.time, "00:04.00");
    EXPECT_TRUE(c.timeShown);
    EXPECT_STREQ(c.length, " / 00:10.00");
    EXPECT_STREQ(c.counter, "03/05");
    EXPECT_STREQ(c.loopLine, "LoopTime: 00:01.00-00:05.00");
    EXPECT_STREQ(c.loopTimes, "00:01.00-00:05.00");
    EXPECT_STREQ(c.modeName, "Repeat One");
    EXPECT_FALSE(c.loopBoxGray);
    EXPECT_EQ(c.fileLine, FileLine::Location);
    EXPECT_STREQ(c.location, "C:\\music\\song.wav");
}

TEST(PanelContent, TimeModesAndTheClampedRemainder) {
    TrackInfo track = looped();
    PanelSource s = sourceFor(track);
    PanelContent c;
    s.timeMode = TimeElapsed;
    gatherPanelContent(s, c);
    EXPECT_STREQ(c.time, "+00:14.00");
    s.timeMode = TimeRemaining;
    gatherPanelContent(s, c);
    EXPECT_STREQ(c.time, "-00:06.00");
    track.length = 0;  // a stream stored without its length
    gatherPanelContent(s, c);
    EXPECT_STREQ(c.time, "-00:00.00");
    EXPECT_STREQ(c.length, " / 00:00.00");
}

TEST(PanelContent, WhilePausedTheTimeBlinksAndTheLengthStays) {
    const TrackInfo track = looped();
    PanelSource s = sourceFor(track);
    s.playerState = Paused;
    PanelContent c;
    for (bool visible : {true, false, true}) {
        s.blinkVisible = visible;
        gatherPanelContent(s, c);
        EXPECT_EQ(c.timeShown, visible);
        EXPECT_STREQ(c.time, "00:04.00") << "measured either way";
        EXPECT_STREQ(c.length, " / 00:10.00");
    }
    // The blink flag means nothing while playing.
    s.playerState = Playing;
    s.blinkVisible = false;
    gatherPanelContent(s, c);
    EXPECT_TRUE(c.timeShown);
}

TEST(PanelContent, TheLoopBoxIsGreyWithoutALoopOrWhileLoopsAreIgnored) {
    TrackInfo track = looped();
    PanelSource s = sourceFor(track);
    PanelContent c;
    s.loopIgnore = 1;
    gatherPanelContent(s, c);
    EXPECT_TRUE(c.loopBoxGray);
    EXPECT_STREQ(c.loopLine, "LoopTime: 00:01.00-00:05.00");
    s.loopIgnore = 0;
    track.hasLoop = 0;
    gatherPanelContent(s, c);
    EXPECT_TRUE(c.loopBoxGray);
    EXPECT_STREQ(c.loopLine, "LoopTime: 00:00.00-00:00.00") << "points without the flag count 0";
}

TEST(PanelContent, AnEmptyListLeavesTitleAndFileLinesBlank) {
    const TrackInfo track = looped();
    PanelSource s = sourceFor(track);
    s.listHasEntries = false;
    PanelContent c;
    gatherPanelContent(s, c);
    EXPECT_STREQ(c.title, "");
    EXPECT_EQ(c.fileLine, FileLine::Blank);
    EXPECT_STREQ(c.location, "");
    // Loading wins over the list's state.
    s.playerLoading = 1;
    gatherPanelContent(s, c);
    EXPECT_EQ(c.fileLine, FileLine::Loading);
    s.listHasEntries = true;
    gatherPanelContent(s, c);
    EXPECT_EQ(c.fileLine, FileLine::Loading);
}

TEST(PanelContent, APlayerWithoutAnEntryHasNoTitle) {
    TrackInfo track = looped();
    track.listIndex = -1;
    PanelContent c;
    gatherPanelContent(sourceFor(track), c);
    EXPECT_STREQ(c.title, "");
    track.listIndex = 0;
    gatherPanelContent(sourceFor(track), c);
    EXPECT_STREQ(c.title, "01.Song / Band");
}

TEST(PanelContent, NothingShownReadsAsAnEmptyTrack) {
    PanelSource s;
    PanelContent c;
    gatherPanelContent(s, c);
    EXPECT_STREQ(c.time, "00:00.00");
    EXPECT_STREQ(c.counter, "00/00");
    EXPECT_TRUE(c.loopBoxGray);
}

TEST(PanelAreas, EdgesBelongToTheirArea) {
    PanelAreas a;
    a.time = {4, 20, 80, 40};
    a.counter = {130, 28, 160, 40};
    a.modeBox = {300, 44, 380, 58};
    a.loopBox = {200, 44, 298, 58};
    a.title = {4, 2, 396, 22};
    EXPECT_EQ(hitPanel(a, 4, 20, true), PanelHit::Time);
    EXPECT_EQ(hitPanel(a, 80, 40, true), PanelHit::Time);
    EXPECT_EQ(hitPanel(a, 81, 40, true), PanelHit::None);
    EXPECT_EQ(hitPanel(a, 160, 28, true), PanelHit::Counter);
    EXPECT_EQ(hitPanel(a, 129, 28, true), PanelHit::None);
    EXPECT_EQ(hitPanel(a, 298, 58, true), PanelHit::Loop);
    EXPECT_EQ(hitPanel(a, 299, 50, true), PanelHit::None);
    EXPECT_EQ(hitPanel(a, 300, 44, true), PanelHit::Mode);
    // The title line overlaps the time area's top: the time area wins.
    EXPECT_EQ(hitPanel(a, 10, 21, true), PanelHit::Time);
    EXPECT_EQ(hitPanel(a, 10, 10, true), PanelHit::Title);
    EXPECT_EQ(hitPanel(a, 10, 10, false), PanelHit::None);
    // Areas not drawn yet hold nothing.
    EXPECT_EQ(hitPanel(PanelAreas{}, 0, 0, true), PanelHit::None);
}

}  // namespace
}  // namespace tarnuvo
