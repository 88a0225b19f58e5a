#include "app/panel_lines.h"

namespace tarnuvo {

PanelLines panelLinesFor(int32_t titleHeight, int32_t timeHeight, int32_t infoHeight,
                         int32_t fileHeight) {
    PanelLines lines;
    lines.titleTop = 2;
    lines.timeLine = titleHeight + 4;
    lines.loopLine = lines.timeLine + timeHeight + 2;
    lines.separatorBase = lines.loopLine + infoHeight + 2;
    lines.fileLine = lines.separatorBase + 6;
    lines.height = lines.fileLine + fileHeight + 4;
    return lines;
}

}  // namespace tarnuvo
