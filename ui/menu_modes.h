// The toggles and modes of the menus: their checks at set-up and on each
// change, and the settings they stand for. Owns no state of its own (the
// settings live in the environment); asks the play road to take a changed
// range and the panel or the list to show the new mode.
#pragma once

#include <cstdint>

#include "app/app_environment.h"
#include "app/window_parts.h"
#include "playlist/playlist.h"

namespace tarnuvo {

class WindowFrame;
class PlayRoad;
class ListPane;
class InfoPanel;

class MenuModes {
public:
    MenuModes(WindowFrame& frame, PlayRoad& road, ListPane& list, InfoPanel& panel)
        : frame_(frame),
          env_(frame.environment()),
          playlist_(frame.playlist()),
          road_(road),
          list_(list),
          panel_(panel) {}

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

    WindowFrame& frame_;
    AppEnvironment& env_;
    Playlist& playlist_;
    PlayRoad& road_;
    ListPane& list_;
    InfoPanel& panel_;
};

}  // namespace tarnuvo
