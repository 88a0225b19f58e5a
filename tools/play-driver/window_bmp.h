// A window's part of the screen saved as a 24-bit BMP file: the run's
// screenshot, and the tests' pictures of the window.
#pragma once

#include <windows.h>

#include <cstdio>
#include <vector>

namespace tarnuvo {

// A part of the screen saved as a 24-bit BMP file. The number of distinct
// colours in the picture (counted up to 64, so that an empty capture shows);
// 0 when nothing could be saved.
inline size_t saveScreenBmp(const RECT& r, const char* path) {
    if (r.right <= r.left || r.bottom <= r.top) return 0;
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    std::vector<unsigned char> bits(static_cast<size_t>((width * 3 + 3) / 4 * 4) * height);
    GetDIBits(memory, bitmap, 0, height, bits.data(), reinterpret_cast<BITMAPINFO*>(&header),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(bits.size());
    FILE* out = std::fopen(path, "wb");
    if (!out) return 0;
    bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 &&
              std::fwrite(&header, sizeof header, 1, out) == 1 &&
              std::fwrite(bits.data(), 1, bits.size(), out) == bits.size();
    ok = std::fclose(out) == 0 && ok;
    if (!ok) return 0;
    std::vector<unsigned> colours;
    for (size_t i = 0; i + 2 < bits.size() && colours.size() < 64; i += 3) {
        const unsigned c = bits[i] | (bits[i + 1] << 8) | (bits[i + 2] << 16);
        bool known = false;
        for (unsigned seen : colours) known = known || seen == c;
        if (!known) colours.push_back(c);
    }
    return colours.size();
}

// The window's part of the screen.
inline size_t saveWindowBmp(HWND window, const char* path) {
    RECT r = {};
    if (!GetWindowRect(window, &r)) return 0;
    return saveScreenBmp(r, path);
}

}  // namespace tarnuvo
