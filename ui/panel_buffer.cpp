// The information panel's size and back buffer: measured from its fonts at
// set-up, rebuilt at every resize, copied to the screen when it paints.
#include "ui/info_panel.h"

#include "app/window_parts.h"
#include "ui/layout.h"
#include "ui/list_pane.h"

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

void InfoPanel::measure() {
    const AppEnvironment& env = frame_.environment();
    buffer_.rebuild(frame_.window(), 1, 1, env.colorBack, penColour(env.colorText));
    buffer_.selectFont(env.titleFont.get());
    int32_t title = spaceHeight(buffer_, env.titleFont.get());
    int32_t time = spaceHeight(buffer_, env.timeFont.get());
    int32_t info = spaceHeight(buffer_, env.infoFont.get());
    int32_t file = spaceHeight(buffer_, env.fileFont.get());
    lines_ = panelLinesFor(title, time, info, file);
}

void InfoPanel::fitToLines() {
    if (!control_) return;
    RECT client = {};
    GetClientRect(control_, &client);
    int32_t d = lines_.height - (client.bottom - client.top);
    layout_.move(LayoutPanel, 0, 0, 0, d, false);
    for (int32_t slot = LayoutSeek; slot < kLayoutEntries; ++slot)
        layout_.move(slot, 0, d, 0, 0, false);
    const HWND window = frame_.window();
    RECT outer = {};
    GetWindowRect(window, &outer);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left,
                 outer.bottom - outer.top + list_.toolbarHeight() + d,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void InfoPanel::rebuild() {
    if (!control_) return;
    const AppEnvironment& env = frame_.environment();
    GetClientRect(control_, &client_);
    buffer_.rebuild(frame_.window(), client_.right - client_.left, client_.bottom - client_.top,
                    env.colorBack, penColour(env.colorText));
    buffer_.selectFont(env.titleFont.get());
    buffer_.fill();
}

void InfoPanel::paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(control_, &paint);
    if (dc) buffer_.copyTo(dc, paint.rcPaint);
    paintState_ = PaintPainted;
    EndPaint(control_, &paint);
}

}  // namespace tarnuvo
