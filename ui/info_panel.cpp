// The information panel's image: what it shows is gathered from the window's
// state into a record, which the painter draws into the back buffer.
#include "ui/info_panel.h"

#include "app/window_parts.h"
#include "resources/resource_ids.h"
#include "ui/info_panel_painter.h"
#include "ui/play_road.h"
#include "ui/list_pane.h"

namespace tarnuvo {

void InfoPanel::redraw(bool full, bool present, const TrackInfo* entry) {
    if (!buffer_.dc()) return;
    Player& player = road_.current();
    const AppEnvironment& env = frame_.environment();
    PanelSource source;
    if (road_.starting()) {
        // The entry being opened, as it stands in the list.
        if (!entry) entry = &road_.entry();
        source.shown = entry;
        source.shownElapsedTotal = entry->elapsed;
    } else {
        source.shown = entry ? entry : &player.info();
        source.shownElapsedTotal = entry ? entry->elapsed : player.elapsedTotal();
        source.playerState = player.state;
        source.playerPosition = player.state == Paused ? pausedPosition_ : player.position();
    }
    // A file still being opened (or extracted) counts as loading, as the
    // player's own flag would say.
    source.playerLoading = (loadingShown_ || (road_.starting() && !road_.opened())) ? 1 : 0;
    source.listHasEntries = !frame_.playlist().empty();
    source.blinkVisible = blinkVisible_;
    source.timeMode = env.timeMode;
    source.playMode = env.playMode;
    source.loopCount = env.loopCount;
    source.loopIgnore = env.loopIgnore;
    source.fadeApplies = entry ? fadeAppliesTo(*entry, env) : player.fadeApplies();
    // Asked only where it shows: a stopped player has nothing left to fade,
    // and the DirectShow player answers under its graph's lock.
    const bool countsToFade = !entry && player.state != Stopped && env.timeMode == TimeRemaining;
    source.fadeRemaining = countsToFade ? player.fadeRemaining() : -1;
    PanelContent content;
    gatherPanelContent(source, content);

    char loading[128] = {};
    if (content.fileLine == FileLine::Loading)
        LoadStringA(frame_.instance(), IDS_LOADING, loading, sizeof loading);
    PanelLook look;
    look.text = env.colorText;
    look.gray = env.colorGray;
    look.back = env.colorBack;
    look.titleFont = env.titleFont.get();
    look.timeFont = env.timeFont.get();
    look.infoFont = env.infoFont.get();
    look.infoBoldFont = env.infoBoldFont.get();
    look.fileFont = env.fileFont.get();
    look.lines = lines_;
    look.loadingText = loading;
    areas_ = paintPanel(buffer_, content, look, full, areas_);

    if (!present || !control_) return;
    RECT band = {0, lines_.timeLine, buffer_.width(), lines_.loopLine};
    InvalidateRect(control_, full ? nullptr : &band, FALSE);
    UpdateWindow(control_);
}

void InfoPanel::refresh(bool full) {
    if (road_.state() != Stopped || frame_.playlist().empty()) {
        redraw(full, true);
        return;
    }
    // Stopped: the selected entry, or with nothing selected the track last played.
    const int32_t selected = list_.selectedRow();
    const TrackInfo* entry = frame_.playlist().entryAt(selected);
    if (!entry) {
        redraw(true, true);
        return;
    }
    TrackInfo shown = *entry;
    shown.listIndex = selected;
    redraw(true, true, &shown);
}

}  // namespace tarnuvo
