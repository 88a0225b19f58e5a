// The information panel's image: what it shows is gathered from the window's
// state into a record, which the painter draws into the back buffer.
#include "app/main_window.h"
#include "resources/resource_ids.h"
#include "ui/info_panel_painter.h"
#include "ui/play_road.h"

namespace tarnuvo {

void MainWindow::redrawInfoPanel(bool full, bool present, const TrackInfo* entry) {
    if (!panelBuffer.dc()) return;
    Player& player = road().current();
    PanelSource source;
    if (road().starting()) {
        // The entry being opened, as it stands in the list.
        if (!entry) entry = &road().entry();
        source.shown = entry;
        source.shownElapsedTotal = entry->elapsed;
    } else {
        source.shown = entry ? entry : &player.info();
        source.shownElapsedTotal = entry ? entry->elapsed : player.elapsedTotal();
        source.playerState = player.state;
        source.playerPosition = player.state == Paused ? pausedPosition : player.position();
    }
    // A file still being opened (or extracted) counts as loading, as the
    // player's own flag would say.
    source.playerLoading = (loadingShown || (road().starting() && !road().opened())) ? 1 : 0;
    source.listHasEntries = !playlist_.empty();
    source.blinkVisible = blinkVisible;
    source.timeMode = env_.timeMode;
    source.playMode = env_.playMode;
    source.loopCount = env_.loopCount;
    source.loopIgnore = env_.loopIgnore;
    source.fadeApplies = entry ? fadeAppliesTo(*entry, env_) : player.fadeApplies();
    // Asked only where it shows: a stopped player has nothing left to fade,
    // and the DirectShow player answers under its graph's lock.
    const bool countsToFade = !entry && player.state != Stopped && env_.timeMode == TimeRemaining;
    source.fadeRemaining = countsToFade ? player.fadeRemaining() : -1;
    PanelContent content;
    gatherPanelContent(source, content);

    char loading[128] = {};
    if (content.fileLine == FileLine::Loading)
        LoadStringA(instance_, IDS_LOADING, loading, sizeof loading);
    PanelLook look;
    look.text = env_.colorText;
    look.gray = env_.colorGray;
    look.back = env_.colorBack;
    look.titleFont = env_.titleFont.get();
    look.timeFont = env_.timeFont.get();
    look.infoFont = env_.infoFont.get();
    look.infoBoldFont = env_.infoBoldFont.get();
    look.fileFont = env_.fileFont.get();
    look.lines = panelLines;
    look.loadingText = loading;
    panelAreas = paintPanel(panelBuffer, content, look, full, panelAreas);

    if (!present || !infoPanel) return;
    RECT band = {0, panelLines.timeLine, panelBuffer.width(), panelLines.loopLine};
    InvalidateRect(infoPanel, full ? nullptr : &band, FALSE);
    UpdateWindow(infoPanel);
}

void MainWindow::refreshInfoPanel(bool full) {
    if (playbackState() != Stopped || playlist_.empty()) {
        redrawInfoPanel(full, true);
        return;
    }
    // Stopped: the selected entry, or with nothing selected the track last played.
    const int32_t selected = selectedRow();
    const TrackInfo* entry = playlist_.entryAt(selected);
    if (!entry) {
        redrawInfoPanel(true, true);
        return;
    }
    TrackInfo shown = *entry;
    shown.listIndex = selected;
    redrawInfoPanel(true, true, &shown);
}

}  // namespace tarnuvo
