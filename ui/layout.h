// The window's layout: where each control sits, how the controls follow a
// resize, and the playlist's hiding and showing with the window's height
// locked meanwhile. Owns the layout records, the etched line, the client
// size before the last resize, the collapse flag and the locked size. It
// calls the list pane (toolbar, showing) and the panel (redraw after a
// resize).
#pragma once

#include <windows.h>

#include <cstdint>

namespace tarnuvo {

class WindowFrame;
class ListPane;
class InfoPanel;

// A control's rectangle in its parent's client coordinates.
struct LayoutEntry {
    HWND control = nullptr;
    HWND parent = nullptr;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

enum LayoutSlot : int32_t {
    LayoutList = 0,
    LayoutPanel = 1,
    LayoutSeek = 2,
    LayoutVolume = 3,
    LayoutVolumeLabel = 4,
    LayoutFirstButton = 5,
    kLayoutEntries = 12,
};

// The window's outer rectangle while the playlist is hidden; width 0: none.
struct LockedSize {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

class Layout {
public:
    Layout(WindowFrame& frame, ListPane& list, InfoPanel& panel)
        : frame_(frame), list_(list), panel_(panel) {}
    Layout(const Layout&) = delete;
    Layout& operator=(const Layout&) = delete;

    // The controls' records as the template placed them.
    void bind(HWND dialog);
    // Every control down by dy, below the toolbar.
    void placeAll(int32_t dy);
    void move(int32_t slot, int32_t dx, int32_t dy, int32_t dWidth, int32_t dHeight, bool repaint);
    // Set-up has placed the controls: resizes move them from now on.
    void notePlaced();
    void onSize(uint32_t type, int32_t width, int32_t height);
    void onGetMinMaxInfo(MINMAXINFO& info) const;
    void togglePlaylist();
    // The stored settings: a hidden playlist, then the window's place.
    void restoreListHidden();
    void restorePlacement();

    // Tests.
    const LayoutEntry& entry(int32_t slot) const { return table_[slot]; }

private:
    void refresh(int32_t slot);
    void redrawWholeWindow();

    WindowFrame& frame_;
    ListPane& list_;
    InfoPanel& panel_;
    HWND etchedLine_ = nullptr;
    LayoutEntry table_[kLayoutEntries];
    // The client size before the last WM_SIZE (0 until set-up has
    // finished), the collapse flag and the size locked while the playlist
    // is hidden (width 0: no lock).
    int32_t previousWidth_ = 0;
    int32_t previousHeight_ = 0;
    bool collapsePending_ = false;
    LockedSize locked_;
};

}  // namespace tarnuvo
