#include "ui/info_panel_painter.h"

#include <cstring>

#include "base/handles.h"

namespace tarnuvo {
namespace {

constexpr int32_t kMargin = 4;

SIZE extentOf(HDC dc, const char* text) {
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    return size;
}

void drawAt(HDC dc, int32_t x, int32_t y, const char* text) {
    TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
}

// Fills an area whose edges all belong to it. The brush lives for this call only.
void fillArea(HDC dc, const PanelRect& area, COLORREF colour) {
    UniqueBrush brush(CreateSolidBrush(colour));
    RECT r = {area.left, area.top, area.right + 1, area.bottom + 1};
    if (brush) FillRect(dc, &r, brush.get());
}

void drawCentred(HDC dc, const PanelRect& box, const char* text) {
    const SIZE size = extentOf(dc, text);
    drawAt(dc, (box.left + box.right) / 2 - size.cx / 2, box.top, text);
}

void paintTimeLine(BackBuffer& buffer, const PanelContent& content, const PanelLook& look,
                   PanelAreas& areas) {
    HDC dc = buffer.dc();
    const int32_t y = look.lines.timeLine;
    buffer.selectFont(look.timeFont);
    // Measured while hidden too: the blink must not move the click area.
    const SIZE time = extentOf(dc, content.time);
    if (content.timeShown) drawAt(dc, kMargin, y, content.time);
    areas.time = {kMargin, y, kMargin + time.cx, y + time.cy};
    const SIZE length = extentOf(dc, content.length);
    drawAt(dc, areas.time.right, y, content.length);

    buffer.selectFont(look.infoFont);
    const SIZE space = extentOf(dc, " ");
    const SIZE counter = extentOf(dc, content.counter);
    const int32_t x = areas.time.right + length.cx + space.cx;
    const int32_t bottom = y + length.cy;
    drawAt(dc, x, bottom - counter.cy, content.counter);
    areas.counter = {x, bottom - counter.cy, x + counter.cx, bottom};
}

void paintBoxes(BackBuffer& buffer, const PanelContent& content, const PanelLook& look,
                PanelAreas& areas) {
    HDC dc = buffer.dc();
    const int32_t y = look.lines.loopLine;
    buffer.selectFont(look.infoBoldFont);
    const SIZE space = extentOf(dc, " ");
    const int32_t w = extentOf(dc, "Repeat One").cx + 2 * space.cx;
    const int32_t right = buffer.width() - kMargin;
    areas.modeBox = {right - w, y, right, y + space.cy};
    areas.loopBox = {areas.modeBox.left - 12 * space.cx - 2, y, areas.modeBox.left - 2,
                     areas.modeBox.bottom};
    SetTextColor(dc, look.back);
    fillArea(dc, areas.modeBox, look.text);
    drawCentred(dc, areas.modeBox, content.modeName);
    fillArea(dc, areas.loopBox, content.loopBoxGray ? look.gray : look.text);
    drawCentred(dc, areas.loopBox, content.loopBoxName);
    SetTextColor(dc, look.text);
}

// A narrow panel has no room for the label before the boxes: the times
// matter more. Whatever is drawn never runs under the loop box.
void paintLoopLine(BackBuffer& buffer, const PanelContent& content, const PanelLook& look,
                   int32_t boxLeft) {
    HDC dc = buffer.dc();
    buffer.selectFont(look.infoFont);
    const int32_t room = boxLeft - extentOf(dc, " ").cx - kMargin;
    const char* text =
        extentOf(dc, content.loopLine).cx <= room ? content.loopLine : content.loopTimes;
    RECT line = {kMargin, look.lines.loopLine, boxLeft - 2, look.lines.separatorBase};
    DrawTextA(dc, text, -1, &line, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
}

void paintFileLine(BackBuffer& buffer, const PanelContent& content, const PanelLook& look) {
    if (content.fileLine == FileLine::Blank) return;
    HDC dc = buffer.dc();
    buffer.selectFont(look.fileFont);
    const int32_t y = look.lines.fileLine;
    RECT line = {kMargin, y, buffer.width() - kMargin, y + extentOf(dc, " ").cy};
    if (content.fileLine == FileLine::Location)
        DrawTextA(dc, content.location, -1, &line,
                  DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS);
    else
        DrawTextA(dc, look.loadingText, -1, &line, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace

PanelAreas paintPanel(BackBuffer& buffer, const PanelContent& content, const PanelLook& look,
                      bool full, PanelAreas areas) {
    HDC dc = buffer.dc();
    if (!dc) return areas;
    const PanelLines& lines = look.lines;
    const int32_t width = buffer.width();
    SetTextColor(dc, look.text);
    SetBkColor(dc, look.back);
    if (full) {
        buffer.fill();
        areas.title = {kMargin, lines.titleTop, width - kMargin, lines.titleTop + lines.timeLine};
        if (content.title[0] != '\0') {
            buffer.selectFont(look.titleFont);
            RECT line = {areas.title.left, areas.title.top, areas.title.right, areas.title.bottom};
            DrawTextA(dc, content.title, -1, &line, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        }
    } else if (buffer.brush()) {
        // The buffer's own brush: the time line is redrawn ten times a second.
        RECT band = {0, lines.timeLine, width, lines.loopLine - 1};
        FillRect(dc, &band, buffer.brush());
    }
    paintTimeLine(buffer, content, look, areas);
    if (!full) return areas;

    paintBoxes(buffer, content, look, areas);
    paintLoopLine(buffer, content, look, areas.loopBox.left);
    if (buffer.pen()) {
        const int32_t y = lines.separatorBase + 2;
        MoveToEx(dc, kMargin, y, nullptr);
        LineTo(dc, width - kMargin, y);
    }
    paintFileLine(buffer, content, look);
    return areas;
}

}  // namespace tarnuvo
