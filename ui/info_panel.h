// The information panel: its back buffer and the lines measured from the
// fonts, what it shows (gathered from the play road, the playlist and the
// settings), the blink of a paused time, the refresh that alternates with
// the seek thumb, and the presses on its boxes. It owns the panel control's
// window procedure. It calls the play road (state, loop range), the list
// pane (selection, toolbar height), the layout (its own growth) and the
// seek bar (the thumb).
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/back_buffer.h"
#include "app/panel_areas.h"
#include "app/panel_lines.h"
#include "base/handles.h"
#include "ui/subclassed_control.h"

namespace tarnuvo {

class WindowFrame;
class SeekBar;
class PlayRoad;
class ListPane;
class Layout;
struct TrackInfo;

// Where the refresh timer's turn stands: the time line asked to paint, then
// painted, then the thumb moves.
enum PaintState : int32_t { PaintIdle = 0, PaintRequested = 1, PaintPainted = 2 };

class InfoPanel {
public:
    InfoPanel(WindowFrame& frame, PlayRoad& road, ListPane& list, Layout& layout, SeekBar& seek)
        : frame_(frame), road_(road), list_(list), layout_(layout), seek_(seek) {}
    InfoPanel(const InfoPanel&) = delete;
    InfoPanel& operator=(const InfoPanel&) = delete;

    void bind(HWND dialog);
    // Set-up: the lines from the fonts, the control resized to them, its
    // window procedure, the back buffer at the control's size.
    void measure();
    void fitToLines();
    void subclass();
    void rebuild();

    void redraw(bool full, bool present, const TrackInfo* entry = nullptr);
    // Redraws whatever the panel shows now: the current player while a track
    // plays or the list is empty, else the selected entry, else (nothing
    // selected) the current player.
    void refresh(bool full);
    // The loader's mark on the file line; shown at the next redraw.
    void markLoading(bool on) { loadingShown_ = on; }

    void onRefreshTimer();
    void onBlinkTimer();
    // The time a pause shows, and whether its blink shows it now.
    void notePausedAt(uint32_t position) { pausedPosition_ = position; }
    void setBlink(bool visible) { blinkVisible_ = visible; }

    // For tests.
    const BackBuffer& buffer() const { return buffer_; }
    const PanelLines& lines() const { return lines_; }
    void setPaintState(PaintState state) { paintState_ = state; }
    bool blinkVisible() const { return blinkVisible_; }

private:
    static LRESULT CALLBACK procedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    // Presses and double clicks of either button.
    void onPress(UINT message, int32_t x, int32_t y);
    void stepLoopCount(int32_t step);
    UniqueMenu trackPopupMenu() const;

    WindowFrame& frame_;
    PlayRoad& road_;
    ListPane& list_;
    Layout& layout_;
    SeekBar& seek_;
    HWND control_ = nullptr;
    SubclassedControl subclassed_;
    PanelLines lines_;
    RECT client_ = {};
    BackBuffer buffer_;
    int32_t paintState_ = PaintIdle;
    uint32_t pausedPosition_ = 0;
    bool blinkVisible_ = true;
    PanelAreas areas_;
    bool loadingShown_ = false;
};

}  // namespace tarnuvo
