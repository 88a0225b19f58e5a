// The seek slider: its range in sample frames for the track shown, seeking
// by drag, keys and presses on the channel (its window procedure is this
// part's), and the thumb that follows the playing track. Owns the slider's
// handle and the drag's pause; drives the play road (seek, pause) and shows
// the pause on the transport buttons.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/subclassed_control.h"

namespace tarnuvo {

class PlayRoad;
class TransportButtons;
class WindowFrame;
struct TrackInfo;

class SeekBar {
public:
    SeekBar(WindowFrame& frame, PlayRoad& road, TransportButtons& buttons)
        : frame_(frame), road_(road), buttons_(buttons) {}
    SeekBar(const SeekBar&) = delete;
    SeekBar& operator=(const SeekBar&) = delete;

    void bind(HWND dialog);
    void subclass();
    HWND handle() const { return slider_; }

    void setUpFor(const TrackInfo& track);
    // A WM_HSCROLL of the slider.
    void onScroll(int32_t code);
    // Seeks the current track to the thumb's place (later, while it starts).
    void seekToSlider();
    // The thumb at a play position, in sample frames of the player's rate.
    void showPosition(uint32_t samplePosition);
    void reset();
    void enable(bool on);
    void clearSelection();
    // The classic look shows the loop's selection, which themes do not.
    void useClassicLook();

private:
    static LRESULT CALLBACK procedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    // A press on the channel jumps there; true when the press is used up.
    bool takesPress(LPARAM point);

    WindowFrame& frame_;
    PlayRoad& road_;
    TransportButtons& buttons_;
    HWND slider_ = nullptr;
    SubclassedControl subclassed_;
    bool dragPaused_ = false;  // the thumb's drag paused the track
};

}  // namespace tarnuvo
