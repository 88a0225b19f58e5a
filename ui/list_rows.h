// The playlist's rows in the list view: row i shows entry i.
#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/track_info.h"

namespace tarnuvo {

// Inserts a row for `entry` at `index`; returns the inserted row's index + 1.
int32_t insertRow(HWND listView, int32_t index, const TrackInfo& entry);
// Inserts rows for `count` tracks from `index`, with redrawing suspended.
void insertRows(HWND listView, int32_t index, const TrackInfo* tracks, int32_t count);
// Rewrites the four cells of row `index` from a track.
void updateRow(HWND listView, int32_t index, const TrackInfo& track);
// Makes `index` the one selected and focused row and the selection mark.
void selectRow(HWND listView, int32_t index);
// The selection mark when a row is selected, else -1.
int32_t selectedRow(HWND listView);
int32_t rowCount(HWND listView);
void deleteRow(HWND listView, int32_t index);
void deleteAllRows(HWND listView);

}  // namespace tarnuvo
