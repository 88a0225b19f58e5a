// The playlist's list view: the rows the playlist asks for, the selection
// and the view's notifications.
#include <windows.h>
#include <commctrl.h>

#include "app/main_window.h"
#include "app/window_helpers.h"
#include "resources/resource_ids.h"
#include "ui/list_rows.h"

namespace tarnuvo {

int32_t MainWindow::rowCount() const {
    return tarnuvo::rowCount(listView);
}

void MainWindow::insertRows(int32_t index, const TrackInfo* tracks, int32_t count) {
    tarnuvo::insertRows(listView, index, tracks, count);
}

void MainWindow::updateRow(int32_t index, const TrackInfo& track) {
    tarnuvo::updateRow(listView, index, track);
}

void MainWindow::deleteRow(int32_t index) {
    tarnuvo::deleteRow(listView, index);
}

void MainWindow::deleteAllRows() {
    tarnuvo::deleteAllRows(listView);
}

void MainWindow::selectRow(int32_t index) {
    tarnuvo::selectRow(listView, index);
}

int32_t MainWindow::selectedRow() const {
    return tarnuvo::selectedRow(listView);
}

void MainWindow::onSelectionChanged() {
    int32_t selected = selectedRow();
    if (toolbar) {
        for (int command : {IDM_MOVE_UP, IDM_MOVE_DOWN, IDM_DELETE})
            SendMessageA(toolbar, TB_ENABLEBUTTON, command, selected != -1);
    }
    const TrackInfo* entry = playlist_.entryAt(selected);
    if (!entry || playbackState() != Stopped) return;
    TrackInfo shown = *entry;
    shown.listIndex = selected;
    setupSeekSlider(shown);
    redrawInfoPanel(true, true, &shown);
}

void MainWindow::resetPanelAfterClear() {
    Player& player = *currentPlayer;
    if (!starting && !player.infoKnown) {
        player.length = 0;
        player.hasLoop = 0;
        player.loopStart = player.loopEnd = 0;
    }
    clearSeekSelection();
    redrawInfoPanel(true, true);
}

void MainWindow::showLoading(bool on) {
    markPanelLoading(on);
    redrawInfoPanel(true, true);
}

INT_PTR MainWindow::onNotify(const NMHDR& header) {
    if (header.idFrom != IDC_PLAYLIST) return 0;
    switch (header.code) {
        case NM_CLICK:
            onSelectionChanged();
            return 0;
        case NM_RCLICK: {
            onSelectionChanged();
            const int32_t items[] = {IDM_DELETE, IDM_CLEAR, -1, IDM_PROPERTIES};
            popupFromMenuItems(window_, nullptr, items, 4);
            return 0;
        }
        case NM_DBLCLK:
            if (closing_ || reinterpret_cast<const NMITEMACTIVATE&>(header).iItem == -1 ||
                loader_.busy())
                return 0;
            stopPlayback();
            playSelected();
            return 0;
        default:
            return 0;
    }
}

}  // namespace tarnuvo
