// The volume slider, its label and the window's tooltips: the level of the
// player in use (each player keeps its own), the decibel tip while the thumb
// is dragged, and the texts every tooltip asks for. Owns the slider, the
// label, the tooltips and the player the slider drives; while a track starts
// the level waits for the play road. The buttons' tips name their handles.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tarnuvo {

class PlayRoad;
class TransportButtons;
class WindowFrame;
class Player;

class VolumeControl {
public:
    VolumeControl(WindowFrame& frame, PlayRoad& road, TransportButtons& buttons);
    VolumeControl(const VolumeControl&) = delete;
    VolumeControl& operator=(const VolumeControl&) = delete;

    void bind(HWND dialog);
    // The tooltips of the transport buttons and the volume slider.
    void createTooltips();
    // The slider's range and the output's level at start.
    void setUp();
    HWND handle() const { return slider_; }

    // The player the slider drives from now on, and the label that names it.
    void setTarget(bool isDirectShow);
    // The slider's level to the player (later, while a track starts).
    void apply();
    // A WM_HSCROLL of the slider.
    void onScroll(int32_t code);
    // False when the notification is no tooltip's question about our tools.
    bool onToolTipText(NMHDR& header);

    // For tests.
    Player& target() const { return *target_; }
    void driveFor(Player& player) { target_ = &player; }
    HWND tooltips() const { return tooltips_; }

private:
    void showTip(bool show);

    WindowFrame& frame_;
    PlayRoad& road_;
    TransportButtons& buttons_;
    HWND slider_ = nullptr;
    HWND label_ = nullptr;
    HWND tooltips_ = nullptr;
    Player* target_;
    int32_t savedVolume_ = 0;
    bool available_ = false;
};

}  // namespace tarnuvo
