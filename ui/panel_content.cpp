#include "ui/panel_content.h"

#include "engine/text.h"

namespace tarnuvo {

PanelHit hitPanel(const PanelAreas& areas, int32_t x, int32_t y, bool listHasEntries) {
    if (areas.modeBox.contains(x, y)) return PanelHit::Mode;
    if (areas.loopBox.contains(x, y)) return PanelHit::Loop;
    if (areas.time.contains(x, y)) return PanelHit::Time;
    if (areas.counter.contains(x, y)) return PanelHit::Counter;
    if (listHasEntries && areas.title.contains(x, y)) return PanelHit::Title;
    return PanelHit::None;
}

void gatherPanelContent(const PanelSource& source, PanelContent& out) {
    static const TrackInfo kNothing;
    const TrackInfo& shown = source.shown ? *source.shown : kNothing;
    out.title[0] = '\0';
    // A player that never had an entry has no title to show.
    if (source.listHasEntries && shown.listIndex >= 0)
        titleLineText(shown.listIndex + 1, shown.title, shown.artist, out.title, sizeof out.title);
    timeValueText(source.timeMode, source.shownElapsedTotal, source.playerPosition, shown.length,
                  source.fadeRemaining, out.time, sizeof out.time);
    out.timeShown = source.playerState != Paused || source.blinkVisible;
    lengthText(shown.length, out.length, sizeof out.length);
    counterText(shown.loopsDone, source.loopCount, out.counter, sizeof out.counter);
    const bool hasLoop = shown.hasLoop != 0;
    loopLineText(hasLoop ? shown.loopStart : 0, hasLoop ? shown.loopEnd : 0, shown.sampleRate,
                 out.loopLine, sizeof out.loopLine);
    copyText(out.loopTimes, sizeof out.loopTimes, out.loopLine + kLoopLabelLength);
    out.modeName = playModeName(source.playMode);
    out.loopBoxName = source.fadeApplies ? "Fade" : "Loop";
    out.loopBoxGray = source.loopIgnore != 0 || !hasLoop;
    out.location[0] = '\0';
    if (source.listHasEntries && !source.playerLoading) {
        out.fileLine = FileLine::Location;
        copyText(out.location, sizeof out.location, shown.location, kTextSize - 1);
    } else {
        out.fileLine = source.playerLoading ? FileLine::Loading : FileLine::Blank;
    }
}

}  // namespace tarnuvo
