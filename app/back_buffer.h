// The information panel's off-screen image: a memory device context holding a
// bitmap of the panel's size, a background brush, a text pen and the font
// last selected. Every object goes through the counted GDI owners.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/handles.h"

namespace tarnuvo {

// Pen colour that means "no pen".
constexpr COLORREF kNoPen = 0xFFFFFFFF;

class BackBuffer {
public:
    BackBuffer() = default;
    ~BackBuffer() { release(); }
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    // Releases the old DC, bitmap, brush and pen first, then makes a DC
    // compatible with `window`'s, a width x height bitmap, a solid brush of
    // `back` and a one-pixel pen of `text` (none for kNoPen), with a
    // transparent text background. False when the DC or the bitmap could not
    // be made (the buffer is then empty).
    bool rebuild(HWND window, int32_t width, int32_t height, COLORREF back, COLORREF text);
    // Puts the DC's own objects back and deletes everything; forgets the font.
    void release();

    HDC dc() const { return dc_.get(); }
    HBRUSH brush() const { return brush_.get(); }
    HPEN pen() const { return pen_.get(); }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

    // Selects `font` unless it is the one selected last.
    void selectFont(HFONT font);
    HFONT selectedFont() const { return font_; }
    // Fills the whole image with the brush.
    void fill();
    // Copies `area` to the same place on `target`.
    void copyTo(HDC target, const RECT& area) const;

private:
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    UniqueBrush brush_;
    UniquePen pen_;
    HGDIOBJ oldBitmap_ = nullptr;
    HGDIOBJ oldBrush_ = nullptr;
    HGDIOBJ oldPen_ = nullptr;
    HGDIOBJ oldFont_ = nullptr;
    HFONT font_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

}  // namespace tarnuvo
