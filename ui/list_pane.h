// The playlist pane: the list view with its rows, selection, columns and
// notifications, the toolbar above it, and the list commands. Owns the list
// view's and the toolbar's handles, the toolbar's images and height, and the
// list view's former procedure. It calls the play road (state, play, stop,
// renumbering), the panel, the seek slider and the transport buttons.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/handles.h"
#include "engine/track_info.h"
#include "ui/subclassed_control.h"

namespace tarnuvo {

class WindowFrame;
class TransportButtons;
class PlayRoad;
class InfoPanel;
class SeekBar;

class ListPane {
public:
    ListPane(WindowFrame& frame, PlayRoad& road, InfoPanel& panel, SeekBar& seek,
             TransportButtons& buttons)
        : frame_(frame), road_(road), panel_(panel), seek_(seek), buttons_(buttons) {}
    ListPane(const ListPane&) = delete;
    ListPane& operator=(const ListPane&) = delete;

    void bind(HWND dialog);
    // The toolbar above the list; its height takes in the etched line below it.
    void createToolbar();
    // Styles, columns in their stored order and widths, the font.
    void setUp();
    // Keyboard moves of the selection reach onSelectionChanged.
    void subclass();

    // The playlist host's rows.
    int32_t rowCount() const;
    void insertRows(int32_t index, const TrackInfo* tracks, int32_t count);
    void updateRow(int32_t index, const TrackInfo& track);
    void deleteRow(int32_t index);
    void deleteAllRows();
    void selectRow(int32_t index);
    int32_t selectedRow() const;
    // The toolbar's row commands follow the selection; while stopped the
    // panel and the seek slider show the selected entry.
    void onSelectionChanged();
    // The emptied list leaves a panel without a track.
    void resetPanelAfterClear();
    // The toolbar's and the transport buttons' states that need entries.
    void updateListControls();
    INT_PTR onNotify(const NMHDR& header);

    // The list commands.
    void deleteSelected();
    void moveSelected(bool up);
    void rereadEntries();

    void setGridLines(bool on);
    // The list with its toolbar; a hidden list gives up the focus.
    void show(bool shown);
    void placeToolbar(int32_t width);
    int32_t toolbarHeight() const { return toolbarHeight_; }
    // The columns' order and widths into the settings.
    void saveColumns();

private:
    static LRESULT CALLBACK procedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    void moveFocusOffHiddenList();

    WindowFrame& frame_;
    PlayRoad& road_;
    InfoPanel& panel_;
    SeekBar& seek_;
    TransportButtons& buttons_;
    HWND listView_ = nullptr;
    HWND toolbar_ = nullptr;
    UniqueImageList toolbarImages_;
    int32_t toolbarHeight_ = 0;
    SubclassedControl former_;
};

}  // namespace tarnuvo
