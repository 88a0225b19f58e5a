// What the playlist needs from the window that shows it. Every call comes on
// the window thread: only that thread changes the entries, the rows and the
// list attributes. The main window implements this; tests implement it over a
// list view of their own.
#pragma once

#include <cstdint>

#include "engine/track_info.h"

namespace tarnuvo {

class PlaylistHost {
public:
    // The list view's rows; row i always shows entry i.
    virtual int32_t rowCount() const = 0;
    // Inserts rows for `count` tracks starting at `index`, with redrawing
    // suspended around the batch.
    virtual void insertRows(int32_t index, const TrackInfo* tracks, int32_t count) = 0;
    virtual void updateRow(int32_t index, const TrackInfo& track) = 0;
    virtual void deleteRow(int32_t index) = 0;
    virtual void deleteAllRows() = 0;
    // Makes `index` the one selected and focused row and the selection mark.
    virtual void selectRow(int32_t index) = 0;
    // The selection mark when a row is selected, else -1.
    virtual int32_t selectedRow() const = 0;

    // The window around the list.
    virtual void onSelectionChanged() = 0;
    virtual void updateListControls() = 0;
    virtual void updateWindowTitle() = 0;
    virtual void stopPlayback() = 0;
    // After the list became empty while stopped: the current player forgets the
    // former entry's length and loop range unless its infoKnown is set, the seek
    // slider's selection is cleared and the panel is redrawn.
    virtual void resetPanelAfterClear() = 0;
    // Sets or clears the current player's loading mark and redraws the panel,
    // which then shows that data is being loaded.
    virtual void showLoading(bool on) = 0;
    // The current player's state (Stopped, Playing, Paused).
    virtual int32_t playerState() const = 0;
    // True once the window has begun to close.
    virtual bool closing() const = 0;

protected:
    ~PlaylistHost() = default;
};

}  // namespace tarnuvo
