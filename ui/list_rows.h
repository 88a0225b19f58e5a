// The playlist's rows in the real list view: thin calls, one per operation.
// Row i shows entry i; these functions only carry out what the playlist asks.
#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/track_info.h"

namespace tarnuvo {

// Inserts a row for the track at `index` (title, artist, "Loop" or nothing,
// and the time only when the length is known). Returns the row the view used
// plus one, the index for the next insertion; 0 when the view refused.
int32_t insertRow(HWND listView, int32_t index, const TrackInfo& track);
// Inserts rows for `count` tracks from `index` on with redrawing suspended,
// then invalidates the view once; a hidden view stays hidden. Returns the
// number of rows inserted.
int32_t insertRows(HWND listView, int32_t index, const TrackInfo* tracks, int32_t count);
// Rewrites the four cells of a row; the time is shown also when it is 0.
void updateRow(HWND listView, int32_t index, const TrackInfo& track);
// Makes `index` the one selected and focused row and the selection mark,
// without scrolling.
void selectRow(HWND listView, int32_t index);
// The selection mark when a row is selected, else -1.
int32_t selectedRow(HWND listView);
int32_t rowCount(HWND listView);
void deleteRow(HWND listView, int32_t index);
void deleteAllRows(HWND listView);

}  // namespace tarnuvo
