// A strip of 16-pixel images from the program's bitmaps, for a toolbar, the
// transport buttons or the tray.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace tarnuvo {

inline HIMAGELIST loadImageStrip(HINSTANCE module, int id, COLORREF mask) {
    constexpr int kImageSize = 16;
    constexpr int kImageGrowth = 10;
    return ImageList_LoadImageA(module, MAKEINTRESOURCEA(id), kImageSize, kImageGrowth, mask,
                                IMAGE_BITMAP, LR_CREATEDIBSECTION);
}

}  // namespace tarnuvo
