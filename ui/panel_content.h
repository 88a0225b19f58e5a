// What the information panel shows, as a plain record gathered from the
// window's state, and the click areas its drawing leaves. Platform-free: the
// painter turns the record into pixels.
#pragma once

#include <cstdint>

#include "app/panel_areas.h"
#include "engine/track_info.h"
#include "ui/panel_text.h"

namespace tarnuvo {

enum class PanelHit { None, Mode, Loop, Time, Counter, Title };

// The area under a point, tested in the order mode box, loop box, time,
// counter, title; the title counts only while the list has entries.
PanelHit hitPanel(const PanelAreas& areas, int32_t x, int32_t y, bool listHasEntries);

enum class FileLine { Blank, Location, Loading };

struct PanelContent {
    // Empty while the list is empty or the track is no list entry: the title
    // line stays blank.
    char title[kTitleLineSize] = {};
    char time[kTimeTextSize] = {};
    bool timeShown = true;  // measured either way: its box is a click area
    char length[kLengthTextSize] = {};
    char counter[kCounterTextSize] = {};
    char loopLine[kLoopLineSize] = {};
    char loopTimes[kLoopLineSize] = {};  // the loop line without its label
    const char* modeName = "";
    const char* loopBoxName = "Loop";  // "Fade" when a fade replaces the tail
    bool loopBoxGray = true;
    FileLine fileLine = FileLine::Blank;
    char location[kTextSize] = {};
};

// Everything the panel is made from: the shown track (a list entry or the
// current player), the current player's state and the settings.
struct PanelSource {
    const TrackInfo* shown = nullptr;
    uint32_t shownElapsedTotal = 0;
    int32_t playerState = Stopped;
    uint32_t playerPosition = 0;  // the paused position while paused
    int32_t playerLoading = 0;
    bool listHasEntries = false;
    bool blinkVisible = true;
    int32_t timeMode = TimeSeek;
    int32_t playMode = RepeatOne;
    int32_t loopCount = 0;
    int32_t loopIgnore = 0;
    bool fadeApplies = false;    // to the shown track
    int64_t fadeRemaining = -1;  // time units to the fade's end; -1 without one
};

void gatherPanelContent(const PanelSource& source, PanelContent& out);

}  // namespace tarnuvo
