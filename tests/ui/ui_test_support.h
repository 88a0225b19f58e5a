// Helpers of the window tests of the views: message boxes read and closed
// while they are up, files dropped as the shell drops them, a file dialog
// that answers as the user would, and screenshots saved as PNG.
#pragma once

#include <windows.h>
#include <cderr.h>
#include <commdlg.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "main_window_support.h"

namespace tarnuvo::test {

// The message boxes the thread showed while a BoxReader was alive: each is
// read and closed with OK.
struct BoxSeen {
    std::string text;
    std::string caption;
};

class BoxReader {
public:
    BoxReader() {
        current() = this;
        timer_ = SetTimer(nullptr, 0, 30, onTimer);
    }
    ~BoxReader() {
        KillTimer(nullptr, timer_);
        current() = nullptr;
    }
    BoxReader(const BoxReader&) = delete;
    BoxReader& operator=(const BoxReader&) = delete;

    std::vector<BoxSeen> boxes;

private:
    static BoxReader*& current() {
        static BoxReader* reader = nullptr;
        return reader;
    }
    static BOOL CALLBACK readBox(HWND candidate, LPARAM) {
        char name[16] = {};
        GetClassNameA(candidate, name, sizeof name);
        if (std::string(name) != "#32770" || !IsWindowVisible(candidate)) return TRUE;
        // A box has its text in the static 0xFFFF; other dialogs are not ours to close.
        HWND text = GetDlgItem(candidate, 0xFFFF);
        if (!text) return TRUE;
        BoxSeen seen;
        char buffer[1024] = {};
        GetWindowTextA(text, buffer, sizeof buffer);
        seen.text = buffer;
        GetWindowTextA(candidate, buffer, sizeof buffer);
        seen.caption = buffer;
        current()->boxes.push_back(seen);
        PostMessageA(candidate, WM_COMMAND, IDOK, 0);
        return FALSE;
    }
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (current()) EnumThreadWindows(GetCurrentThreadId(), readBox, 0);
    }
    UINT_PTR timer_ = 0;
};

// A drop as the shell hands it over: the paths in the ANSI code page, or
// wide (then DragQueryFileA gives "?" for what the code page lacks).
inline HDROP makeDrop(const std::vector<std::string>& paths) {
    size_t bytes = sizeof(DROPFILES) + 1;
    for (const std::string& p : paths) bytes += p.size() + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    char* at = reinterpret_cast<char*>(header + 1);
    for (const std::string& p : paths) {
        memcpy(at, p.c_str(), p.size() + 1);
        at += p.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}
inline HDROP makeWideDrop(const std::vector<std::wstring>& paths) {
    size_t bytes = sizeof(DROPFILES) + sizeof(wchar_t);
    for (const std::wstring& p : paths) bytes += (p.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* at = reinterpret_cast<wchar_t*>(header + 1);
    for (const std::wstring& p : paths) {
        memcpy(at, p.c_str(), (p.size() + 1) * sizeof(wchar_t));
        at += p.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

inline std::wstring wide(const std::string& ansi) {
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, w.data(), n);
    w.resize(w.size() - 1);
    return w;
}

// A file dialog that answers as the user would: it notes the request and
// puts `result` into the buffer (with the dialog's offset of the first name).
struct FakeDialog {
    int calls = 0;
    OPENFILENAMEA request = {};
    std::string title;
    std::string filter;  // the NUL-separated pairs, NULs shown as '|'
    std::string result;
    WORD fileOffset = 0;
    BOOL answer = TRUE;
    DWORD error = 0;
};
inline FakeDialog g_dialog;

inline BOOL WINAPI fakeFileDialog(LPOPENFILENAMEA request) {
    FakeDialog& d = g_dialog;
    ++d.calls;
    d.request = *request;
    d.title = request->lpstrTitle ? request->lpstrTitle : "";
    d.filter.clear();
    for (const char* p = request->lpstrFilter; p && *p; p += strlen(p) + 1)
        d.filter += p + std::string("|");
    if (!d.answer) return FALSE;
    if (d.result.size() > request->nMaxFile) {
        d.error = FNERR_BUFFERTOOSMALL;
        return FALSE;
    }
    memcpy(request->lpstrFile, d.result.data(), d.result.size());
    request->nFileOffset = d.fileOffset;
    return TRUE;
}
inline DWORD WINAPI fakeDialogError() {
    return g_dialog.error;
}

// A window's part of the screen, as a 24-bit PNG (stored, uncompressed).
inline uint32_t crc32(const unsigned char* data, size_t n, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline void putBig32(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

inline void pngChunk(std::string& out, const char* type, const std::string& data) {
    putBig32(out, static_cast<uint32_t>(data.size()));
    std::string body = std::string(type, 4) + data;
    out += body;
    putBig32(out, crc32(reinterpret_cast<const unsigned char*>(body.data()), body.size()));
}

inline bool saveScreenshot(HWND window, const std::string& path) {
    RECT r = {};
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = -height;  // top row first, as PNG wants
    header.biPlanes = 1;
    header.biBitCount = 24;
    const size_t stride = ((static_cast<size_t>(width) * 3 + 3) / 4) * 4;
    std::vector<unsigned char> bits(stride * static_cast<size_t>(height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), bits.data(),
              reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    std::string raw;  // filter byte 0, then RGB
    for (int y = 0; y < height; ++y) {
        raw += '\0';
        const unsigned char* row = bits.data() + stride * static_cast<size_t>(y);
        for (int x = 0; x < width; ++x) {
            raw += static_cast<char>(row[x * 3 + 2]);
            raw += static_cast<char>(row[x * 3 + 1]);
            raw += static_cast<char>(row[x * 3]);
        }
    }
    std::string zlib = "\x78\x01";
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        zlib += static_cast<char>(at + n >= raw.size() ? 1 : 0);
        zlib += static_cast<char>(n & 0xFF);
        zlib += static_cast<char>(n >> 8);
        zlib += static_cast<char>(~n & 0xFF);
        zlib += static_cast<char>((~n >> 8) & 0xFF);
        zlib.append(raw, at, n);
    }
    putBig32(zlib, (b << 16) | a);
    std::string png = "\x89PNG\r\n\x1A\n";
    std::string ihdr;
    putBig32(ihdr, static_cast<uint32_t>(width));
    putBig32(ihdr, static_cast<uint32_t>(height));
    ihdr += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
    pngChunk(png, "IHDR", ihdr);
    pngChunk(png, "IDAT", zlib);
    pngChunk(png, "IEND", "");
    writeFile(path, png);
    return true;
}

// The folder the test run leaves its screenshots in.
inline std::string screenshotPath(const std::string& name) {
    std::string dir = winePath(TARNUVO_SCREENSHOT_DIR);
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir + "\\" + name;
}

}  // namespace tarnuvo::test
