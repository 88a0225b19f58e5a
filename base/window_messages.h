// The main window's private messages. Worker threads reach the window thread
// only through these; WM_APP itself is the thread message that wakes a worker.
#pragma once

#include <windows.h>

namespace tarnuvo {

// Sent by a worker: lParam points to a std::function<void()> that the window
// thread runs (see window_call.h).
constexpr UINT kWindowCallMessage = WM_APP + 1;
// Posted by the loader as its last act, so that the window collects it.
constexpr UINT kLoadFinishedMessage = WM_APP + 2;
// Posted by the play thread when the window should bring itself in line with
// the current player (row, panel, slider, title, tray tip).
constexpr UINT kPlayUpdateMessage = WM_APP + 3;
// Posted to itself by the window that received a second start's path.
constexpr UINT kHandOverMessage = WM_APP + 4;

}  // namespace tarnuvo
