#include "app/back_buffer.h"

namespace tarnuvo {

bool BackBuffer::rebuild(HWND window, int32_t width, int32_t height, COLORREF back, COLORREF text) {
    release();
    HDC screen = GetDC(window);
    if (!screen) return false;
    dc_.reset(CreateCompatibleDC(screen));
    if (dc_) bitmap_.reset(CreateCompatibleBitmap(screen, width, height));
    ReleaseDC(window, screen);
    if (!dc_ || !bitmap_) {
        release();
        return false;
    }
    width_ = width;
    height_ = height;
    oldBitmap_ = SelectObject(dc_.get(), bitmap_.get());
    brush_.reset(CreateSolidBrush(back));
    if (brush_) oldBrush_ = SelectObject(dc_.get(), brush_.get());
    if (text != kNoPen) {
        pen_.reset(CreatePen(PS_SOLID, 1, text));
        if (pen_) oldPen_ = SelectObject(dc_.get(), pen_.get());
    }
    SetBkMode(dc_.get(), TRANSPARENT);
    return true;
}

void BackBuffer::release() {
    if (dc_) {
        // The DC's own objects go back in before ours are deleted.
        if (oldFont_) SelectObject(dc_.get(), oldFont_);
        if (oldPen_) SelectObject(dc_.get(), oldPen_);
        if (oldBrush_) SelectObject(dc_.get(), oldBrush_);
        if (oldBitmap_) SelectObject(dc_.get(), oldBitmap_);
    }
    oldFont_ = oldPen_ = oldBrush_ = oldBitmap_ = nullptr;
    font_ = nullptr;
    pen_.reset();
    brush_.reset();
    bitmap_.reset();
    dc_.reset();
    width_ = height_ = 0;
}

void BackBuffer::selectFont(HFONT font) {
    if (!dc_ || !font || font == font_) return;
    HGDIOBJ previous = SelectObject(dc_.get(), font);
    if (!previous || previous == HGDI_ERROR) return;
    if (!oldFont_) oldFont_ = previous;
    font_ = font;
}

void BackBuffer::fill() {
    if (!dc_ || !brush_) return;
    RECT all = {0, 0, width_, height_};
    FillRect(dc_.get(), &all, brush_.get());
}

void BackBuffer::copyTo(HDC target, const RECT& area) const {
    if (!dc_) return;
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_.get(),
           area.left, area.top, SRCCOPY);
}

}  // namespace tarnuvo
