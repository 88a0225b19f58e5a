// The playlist's host over a real list view, for tests and benchmarks: the
// rows are real, the window around them does nothing.
#pragma once

#include <windows.h>

#include "playlist/playlist_host.h"
#include "ui/list_rows.h"

namespace tarnuvo::test {

class ListViewHost : public PlaylistHost {
public:
    // `batched` false inserts row by row with the view redrawing, as a host
    // without batches would.
    explicit ListViewHost(HWND list, bool batched = true) : list_(list), batched_(batched) {}
    int32_t rowCount() const override { return tarnuvo::rowCount(list_); }
    void insertRows(int32_t index, const TrackInfo* tracks, int32_t count) override {
        if (batched_) {
            tarnuvo::insertRows(list_, index, tracks, count);
            return;
        }
        for (int32_t k = 0; k < count; ++k) index = insertRow(list_, index, tracks[k]);
    }
    void updateRow(int32_t index, const TrackInfo& track) override {
        tarnuvo::updateRow(list_, index, track);
    }
    void deleteRow(int32_t index) override { tarnuvo::deleteRow(list_, index); }
    void deleteAllRows() override { tarnuvo::deleteAllRows(list_); }
    void selectRow(int32_t index) override { tarnuvo::selectRow(list_, index); }
    int32_t selectedRow() const override { return tarnuvo::selectedRow(list_); }
    void onSelectionChanged() override {}
    void updateListControls() override {}
    void updateWindowTitle() override {}
    void stopPlayback() override {}
    void resetPanelAfterClear() override {}
    void showLoading(bool) override {}
    int32_t playerState() const override { return Stopped; }
    bool closing() const override { return false; }

private:
    HWND list_;
    bool batched_;
};

}  // namespace tarnuvo::test
