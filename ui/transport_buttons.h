// The transport buttons: their icons, their enabled states, and with a
// theme the owner-drawn look with a hot button under the mouse. Owns the
// buttons' handles, icons, theme and hot button; asks the play road whether
// the track is paused.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/visual_styles.h"
#include "base/handles.h"
#include "ui/play_buttons.h"

namespace tarnuvo {

class PlayRoad;
class WindowFrame;

class TransportButtons {
public:
    // The probe tells whether a theme is active; tests give their own.
    TransportButtons(WindowFrame& frame, PlayRoad& road,
                     bool (*themesActive)() = visualStylesActive)
        : frame_(frame), road_(road), themesActive_(themesActive) {}
    TransportButtons(const TransportButtons&) = delete;
    TransportButtons& operator=(const TransportButtons&) = delete;

    void bind(HWND dialog);
    // Icons, and the start's enabled states.
    void setUp();
    HWND handle(int32_t index) const { return buttons_[index]; }
    // Play, previous, next and random need entries.
    void enableForList(bool filled);

    // A visual style is wanted: the system has them and one is active.
    bool themesWanted() const;
    // Owner-drawn with the theme's look, or ordinary buttons again.
    void applyTheme();
    bool themed() const { return static_cast<bool>(theme_); }
    // The pause button looks pressed while the track is paused.
    void showPauseLook();
    void onDrawItem(UINT id, const DRAWITEMSTRUCT& item);
    void onSetCursor(HWND under);

    // Tests.
    HWND hot() const { return hot_; }
    void useThemeProbe(bool (*themesActive)()) { themesActive_ = themesActive; }

private:
    static LRESULT CALLBACK procedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR data);
    void paintButton(int32_t index, HDC dc, const RECT& face, UINT state);
    void drawButton(HWND button, bool hot);
    void clearHotButton();

    WindowFrame& frame_;
    PlayRoad& road_;
    bool (*themesActive_)();
    HWND buttons_[kButtonCount] = {};
    UniqueImageList images_;
    UniqueIcon icons_[kButtonCount];
    HWND hot_ = nullptr;
    // Open while the buttons are drawn with the theme's look.
    UniqueTheme theme_;
};

}  // namespace tarnuvo
