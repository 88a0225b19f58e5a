// The toggles and modes of the menus: their checks at set-up and on each
// change, and the settings they stand for. Owns no state of its own (the
// settings live in the environment); asks the play road to take a changed
// range and the panel or the list to show the new mode.
#pragma once

#include <cstdint>

#include "app/app_environment.h"
#include "playlist/playlist.h"

namespace tarnuvo {

class MainWindow;
class PlayRoad;

class MenuModes {
public:
    MenuModes(MainWindow& legacy, AppEnvironment& environment, Playlist& playlist, PlayRoad& road)
        : legacy_(legacy), env_(environment), playlist_(playlist), road_(road) {}

    void setUp();
    void toggleAlwaysOnTop();
    // Set-up: the stored setting takes effect.
    void restoreAlwaysOnTop();
    void toggleGridLines();
    void setTimeMode(uint32_t id);
    void setPlayMode(uint32_t id);
    void toggleLoopIgnore();
    void toggleFadeOut();
    void setFadeLength(uint32_t id);

private:
    // The fade items' checks from the settings.
    void checkFadeItems();
    void applyFadeSettings();
    void refreshPanel();

    MainWindow& legacy_;
    AppEnvironment& env_;
    Playlist& playlist_;
    PlayRoad& road_;
};

}  // namespace tarnuvo
