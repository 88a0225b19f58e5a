// A window's part of the screen saved as a 24-bit BMP file, for people to
// look at; the test run converts these to PNG afterwards.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tarnuvo::test {

// The number of distinct colours seen (up to 64), so that an empty capture
// shows; 0 when nothing could be saved.
inline size_t saveWindowBmp(HWND window, const std::string& path) {
    RECT r = {};
    if (!GetWindowRect(window, &r)) return 0;
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return 0;
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
    const int stride = ((width * 3 + 3) / 4) * 4;
    std::vector<unsigned char> bits(static_cast<size_t>(stride) * height);
    GetDIBits(memory, bitmap, 0, height, bits.data(), reinterpret_cast<BITMAPINFO*>(&header),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(bits.size());
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 0;
    DWORD written = 0;
    WriteFile(out, &file, sizeof file, &written, nullptr);
    WriteFile(out, &header, sizeof header, &written, nullptr);
    WriteFile(out, bits.data(), static_cast<DWORD>(bits.size()), &written, nullptr);
    CloseHandle(out);
    std::vector<uint32_t> colours;
    for (size_t i = 0; i + 2 < bits.size() && colours.size() < 64; i += 3) {
        const uint32_t c = bits[i] | (bits[i + 1] << 8) | (bits[i + 2] << 16);
        bool known = false;
        for (uint32_t seen : colours) known = known || seen == c;
        if (!known) colours.push_back(c);
    }
    return colours.size();
}

}  // namespace tarnuvo::test
