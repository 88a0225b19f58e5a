// The information panel's click areas, found while it is drawn. Platform-free.
#pragma once

#include <cstdint>

namespace tarnuvo {

// A rectangle in panel pixels; all four edges belong to it.
struct PanelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = -1;
    int32_t bottom = -1;

    bool contains(int32_t x, int32_t y) const {
        return x >= left && x <= right && y >= top && y <= bottom;
    }
};

struct PanelAreas {
    PanelRect time;
    PanelRect counter;
    PanelRect loopBox;
    PanelRect modeBox;
    PanelRect title;
};

}  // namespace tarnuvo
