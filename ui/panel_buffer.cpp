// The information panel's size and back buffer: measured from its fonts at
// set-up, rebuilt at every resize, copied to the screen when it paints.
#include "app/main_window.h"
#include "ui/layout.h"

namespace tarnuvo {
namespace {

int32_t spaceHeight(BackBuffer& buffer, HFONT font) {
    buffer.selectFont(font);
    SIZE extent = {};
    if (!buffer.dc() || !GetTextExtentPoint32A(buffer.dc(), " ", 1, &extent)) return 0;
    return extent.cy;
}

COLORREF penColour(COLORREF text) {
    return text == 0xFFFFFFFF ? kNoPen : text;
}

}  // namespace

void MainWindow::measurePanel() {
    panelBuffer.rebuild(window_, 1, 1, env_.colorBack, penColour(env_.colorText));
    panelBuffer.selectFont(env_.titleFont.get());
    int32_t title = spaceHeight(panelBuffer, env_.titleFont.get());
    int32_t time = spaceHeight(panelBuffer, env_.timeFont.get());
    int32_t info = spaceHeight(panelBuffer, env_.infoFont.get());
    int32_t file = spaceHeight(panelBuffer, env_.fileFont.get());
    panelLines = panelLinesFor(title, time, info, file);
}

void MainWindow::fitPanelToLines() {
    if (!infoPanel) return;
    RECT client = {};
    GetClientRect(infoPanel, &client);
    int32_t d = panelLines.height - (client.bottom - client.top);
    moveLayoutEntry(LayoutPanel, 0, 0, 0, d, false);
    for (int32_t slot = LayoutSeek; slot < kLayoutEntries; ++slot)
        moveLayoutEntry(slot, 0, d, 0, 0, false);
    RECT outer = {};
    GetWindowRect(window_, &outer);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left,
                 outer.bottom - outer.top + toolbarHeight() + d,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void MainWindow::rebuildPanelBuffer() {
    if (!infoPanel) return;
    GetClientRect(infoPanel, &panelClient);
    panelBuffer.rebuild(window_, panelClient.right - panelClient.left,
                        panelClient.bottom - panelClient.top, env_.colorBack,
                        penColour(env_.colorText));
    panelBuffer.selectFont(env_.titleFont.get());
    panelBuffer.fill();
}

void MainWindow::paintInfoPanel() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(infoPanel, &paint);
    if (dc) panelBuffer.copyTo(dc, paint.rcPaint);
    paintState = PaintPainted;
    EndPaint(infoPanel, &paint);
}

}  // namespace tarnuvo
