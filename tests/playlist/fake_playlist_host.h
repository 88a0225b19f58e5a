// A playlist host that keeps its own rows, for the platform-free model tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "playlist/playlist.h"
#include "playlist/playlist_host.h"

namespace tarnuvo::test {

// What a row shows, taken from the record at the time the row was written.
struct FakeRow {
    std::string title;
    std::string artist;
    uint32_t length = 0;
    int32_t hasLoop = 0;
    bool rewritten = false;  // by updateRow rather than an insert
};

class FakePlaylistHost : public PlaylistHost {
public:
    int32_t rowCount() const override { return static_cast<int32_t>(rows.size()); }
    void insertRows(int32_t index, const TrackInfo* tracks, int32_t count) override {
        ++insertCalls;
        insertIndices.push_back(index);
        for (int32_t k = 0; k < count && rowCount() < capacity; ++k)
            rows.insert(rows.begin() + index + k, rowOf(tracks[k], false));
    }
    void updateRow(int32_t index, const TrackInfo& track) override {
        ++updateCalls;
        rows.at(static_cast<size_t>(index)) = rowOf(track, true);
    }
    void deleteRow(int32_t index) override {
        ++deleteCalls;
        rows.erase(rows.begin() + index);
    }
    void deleteAllRows() override {
        ++deleteAllCalls;
        rows.clear();
    }
    void selectRow(int32_t index) override { selected = index; }
    int32_t selectedRow() const override { return selected; }
    void onSelectionChanged() override { ++selectionChanges; }
    void updateListControls() override { ++listControlUpdates; }
    void updateWindowTitle() override {
        ++titleUpdates;
        if (observed) titleAlbum = observed->album;
    }
    void stopPlayback() override { ++stops; }
    void resetPanelAfterClear() override { ++panelResets; }
    void showLoading(bool on) override { loading = on; }
    int32_t playerState() const override { return state; }
    bool closing() const override { return false; }

    static FakeRow rowOf(const TrackInfo& t, bool rewritten) {
        return FakeRow{t.title, t.artist, t.length, t.hasLoop, rewritten};
    }

    std::vector<FakeRow> rows;
    int32_t capacity = INT32_MAX;  // the view refuses rows beyond this
    int32_t selected = -1;
    int32_t state = Stopped;
    bool loading = false;
    const Playlist* observed = nullptr;  // whose album the title shows
    std::string titleAlbum;
    int insertCalls = 0, updateCalls = 0, deleteCalls = 0, deleteAllCalls = 0;
    int selectionChanges = 0, listControlUpdates = 0, titleUpdates = 0, stops = 0;
    int panelResets = 0;
    std::vector<int32_t> insertIndices;
};

}  // namespace tarnuvo::test
