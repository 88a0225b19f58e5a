// Where the information panel's lines sit, from the line heights of its fonts.
// Platform-free.
#pragma once

#include <cstdint>

namespace tarnuvo {

struct PanelLines {
    int32_t titleTop = 0;
    int32_t timeLine = 0;
    int32_t loopLine = 0;
    int32_t separatorBase = 0;  // the separator is drawn 2 pixels below
    int32_t fileLine = 0;
    int32_t height = 0;  // the panel's client height that holds them all
};

// The height of a single space in the title, time, info and file fonts.
PanelLines panelLinesFor(int32_t titleHeight, int32_t timeHeight, int32_t infoHeight,
                         int32_t fileHeight);

}  // namespace tarnuvo
