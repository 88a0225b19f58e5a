// Helpers of the window tests of the views: message boxes read and closed
// while they are up, files dropped as the shell drops them, a file dialog
// that answers as the user would, and screenshots saved as PNG.
#pragma once

#include <windows.h>
#include <cderr.h>
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "main_window_support.h"

namespace tarnuvo::test {

// Reads and closes (OK) every message box of the thread while it lives.
class BoxReader {
public:
    BoxReader() : timer_(SetTimer(nullptr, 0, 30, onTimer)) { current() = this; }
    ~BoxReader() {
        KillTimer(nullptr, timer_);
        current() = nullptr;
    }
    std::vector<std::string> texts;
    std::vector<std::string> captions;

private:
    static BoxReader*& current() {
        static BoxReader* reader = nullptr;
        return reader;
    }
    static BOOL CALLBACK readBox(HWND box, LPARAM) {
        char text[1024] = {}, caption[256] = {};
        // A box has its text in the static 0xFFFF; other dialogs are not ours.
        if (!IsWindowVisible(box) || !GetDlgItem(box, 0xFFFF)) return TRUE;
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        GetWindowTextA(box, caption, sizeof caption);
        current()->texts.push_back(text);
        current()->captions.push_back(caption);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return FALSE;
    }
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (current()) EnumThreadWindows(GetCurrentThreadId(), readBox, 0);
    }
    UINT_PTR timer_;
};

inline std::wstring wide(const std::string& ansi) {
    std::wstring w(ansi.size(), L'\0');
    w.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, ansi.data(),
                                                     static_cast<int>(ansi.size()), w.data(),
                                                     static_cast<int>(w.size()))));
    return w;
}

// A drop as the shell hands it over, in UTF-16: DragQueryFileA gives the
// paths in the code page, with "?" for what it lacks.
inline HDROP makeDrop(const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const std::wstring& p : paths) list += p + L'\0';
    list += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    memcpy(header + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// A file dialog that answers as the user would: it notes the request and
// puts `result` into the buffer with the offset of the first name.
struct FakeDialog {
    int calls = 0;
    OPENFILENAMEA request = {};
    std::string title;
    std::string result;
    WORD fileOffset = 0;
    BOOL answer = TRUE;
    DWORD error = 0;
    std::function<void()> whileOpen;  // what happens while the user looks
};
inline FakeDialog g_dialog;

inline BOOL WINAPI fakeFileDialog(LPOPENFILENAMEA request) {
    FakeDialog& d = g_dialog;
    ++d.calls;
    d.request = *request;
    d.title = request->lpstrTitle ? request->lpstrTitle : "";
    if (d.whileOpen) d.whileOpen();
    d.error = d.answer && d.result.size() > request->nMaxFile ? FNERR_BUFFERTOOSMALL : 0;
    if (!d.answer || d.error) return FALSE;
    memcpy(request->lpstrFile, d.result.data(), d.result.size());
    request->nFileOffset = d.fileOffset;
    return TRUE;
}
inline DWORD WINAPI fakeDialogError() {
    return g_dialog.error;
}

// The window's part of the screen as an 8-bit RGB PNG with stored blocks.
inline void putBig32(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(v >> shift);
}
inline void pngChunk(std::string& out, const char* type, const std::string& data) {
    putBig32(out, static_cast<uint32_t>(data.size()));
    const std::string body = type + data;
    uint32_t crc = ~0u;
    for (unsigned char c : body) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    putBig32(out += body, ~crc);
}
inline void saveScreenshot(HWND window, const std::string& name) {
    RECT r = {};
    GetWindowRect(window, &r);
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
    header.biHeight = -height;  // top row first
    header.biPlanes = 1;
    header.biBitCount = 32;
    std::vector<uint8_t> bgra(static_cast<size_t>(width) * height * 4);
    GetDIBits(memory, bitmap, 0, height, bgra.data(), reinterpret_cast<BITMAPINFO*>(&header),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    std::string raw;
    for (size_t i = 0; i < bgra.size(); i += 4) {
        if (i % (static_cast<size_t>(width) * 4) == 0) raw += '\0';  // no filter
        raw += {static_cast<char>(bgra[i + 2]), static_cast<char>(bgra[i + 1]),
                static_cast<char>(bgra[i])};
    }
    std::string zlib = "\x78\x01";
    for (size_t at = 0; at < raw.size(); at += 65535) {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        zlib += {static_cast<char>(at + n == raw.size()), static_cast<char>(n),
                 static_cast<char>(n >> 8), static_cast<char>(~n), static_cast<char>(~n >> 8)};
        zlib.append(raw, at, n);
    }
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) b = (b + (a = (a + c) % 65521)) % 65521;
    putBig32(zlib, (b << 16) | a);
    std::string png = "\x89PNG\r\n\x1A\n", ihdr;
    putBig32(ihdr, static_cast<uint32_t>(width));
    putBig32(ihdr, static_cast<uint32_t>(height));
    pngChunk(png, "IHDR", ihdr + std::string("\x08\x02\0\0\0", 5));
    pngChunk(png, "IDAT", zlib);
    pngChunk(png, "IEND", "");
    const std::string dir = winePath(TARNUVO_SCREENSHOT_DIR);
    CreateDirectoryA(dir.c_str(), nullptr);
    writeFile(dir + "\\" + name, png);
}

}  // namespace tarnuvo::test
