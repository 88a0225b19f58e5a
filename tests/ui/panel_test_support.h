// The real main dialog with a player the test drives, list entries made in
// memory or as small WAV files, the back buffer's pixels and screenshots.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "main_window_support.h"
#include "window_test_support.h"

namespace tarnuvo::test {

constexpr uint32_t kSecond = 176400;

// A player whose state, position and totals the test sets. Its seek acts as
// the native player's does (stopped until started again) unless it is told to
// go on by itself as the graph player does.
class FakePlayer : public Player {
public:
    int32_t play(intptr_t) override {
        state = Playing;
        ++plays;
        return 1;
    }
    int32_t pause(int32_t mode) override {
        if (mode == kPauseOn) state = Paused;
        if (mode == kPauseOff) state = Playing;
        pauses.push_back(mode);
        return 1;
    }
    int32_t seek(uint32_t target) override {
        seeks.push_back(target);
        playPosition = target;
        if (goesOnAfterSeek) {
            state = Playing;
            return 0;
        }
        state = Stopped;
        return 1;
    }
    int32_t stop() override {
        state = Stopped;
        return 1;
    }
    uint32_t position() override { return playPosition; }
    uint32_t elapsedTotal() override { return total; }
    int32_t getVolume(int32_t* level) override {
        *level = static_cast<int32_t>(volume);
        return 0;
    }
    int32_t setVolume(uint32_t level) override {
        volume = level;
        return 1;
    }

    uint32_t playPosition = 0;
    uint32_t total = 0;
    uint32_t volume = 0xFFFFFFFF;
    bool goesOnAfterSeek = false;
    int plays = 0;
    std::vector<uint32_t> seeks;
    std::vector<int32_t> pauses;
};

// Copies a text into a fixed field, cut to fit.
template <size_t N>
void setText(char (&field)[N], const std::string& text) {
    std::snprintf(field, N, "%s", text.c_str());
}

inline TrackInfo entry(const std::string& title, uint32_t length, uint32_t loopStart = 0,
                       uint32_t loopEnd = 0) {
    TrackInfo t;
    setText(t.title, title);
    setText(t.location, "C:\\music\\" + title + ".wav");
    t.length = length;
    t.hasLoop = loopEnd > loopStart ? 1 : 0;
    t.loopStart = loopStart;
    t.loopEnd = loopEnd;
    t.infoKnown = 1;
    return t;
}

// 16-bit stereo 44100 Hz PCM of `frames` quiet frames, a title in its INFO
// list and a loop in its smpl chunk when loopEnd is not 0.
inline std::string wavFile(uint32_t frames, const std::string& title, uint32_t loopStart = 0,
                           uint32_t loopEnd = 0) {
    auto u32 = [](uint32_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8),
                           static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
    };
    auto chunk = [&](const char* id, const std::string& data) {
        std::string c = std::string(id, 4) + u32(static_cast<uint32_t>(data.size())) + data;
        if (data.size() & 1) c += '\0';
        return c;
    };
    const std::string format = u32(0x00020001) + u32(44100) + u32(176400) + u32(0x00100004);
    std::string pcm(frames * 4u, '\0');
    for (size_t i = 0; i < pcm.size(); i += 2) pcm[i] = static_cast<char>((i / 4) % 64);
    std::string body = "WAVE" + chunk("fmt ", format);
    body += chunk("LIST", "INFO" + chunk("INAM", title + '\0'));
    if (loopEnd != 0) {
        std::string smpl(28, '\0');
        smpl += u32(1) + u32(0) + u32(0) + u32(0) + u32(loopStart) + u32(loopEnd) + u32(0) + u32(0);
        body += chunk("smpl", smpl);
    }
    body += chunk("data", pcm);
    return "RIFF" + u32(static_cast<uint32_t>(body.size())) + body;
}

// Pixels of a device context inside a rectangle (right and bottom excluded).
inline int countPixels(HDC dc, const RECT& r, COLORREF colour, bool equal = true) {
    int n = 0;
    for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x)
            if ((GetPixel(dc, x, y) == colour) == equal) ++n;
    return n;
}
inline std::vector<COLORREF> pixelsOf(HDC dc, const RECT& r) {
    std::vector<COLORREF> pixels;
    for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x) pixels.push_back(GetPixel(dc, x, y));
    return pixels;
}
inline int pixelsOtherThan(HDC dc, const RECT& r, COLORREF colour) {
    return countPixels(dc, r, colour, false);
}

// The extent of a text in a font, measured on a DC of our own.
inline SIZE extentIn(HFONT font, const char* text) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return size;
}

// A part of the screen as a 24-bit BMP file in the screenshot folder.
inline void saveScreen(const RECT& r, const std::string& name) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return;
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
    std::string bits(static_cast<size_t>(stride) * height, '\0');
    GetDIBits(memory, bitmap, 0, height, bits.data(), reinterpret_cast<BITMAPINFO*>(&header),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(bits.size());
    std::string bytes(reinterpret_cast<char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<char*>(&header), sizeof header);
    bytes += bits;
    const std::string folder = winePath(TARNUVO_SCREENSHOT_DIR);
    CreateDirectoryA(folder.c_str(), nullptr);
    writeFile(folder + "\\" + name + ".bmp", bytes);
}

class PanelDialog : public MainDialog {
protected:
    void TearDown() override {
        // The fake goes before the window closes: closing stops the real players.
        if (main) main->currentPlayer = &main->waveOut;
        MainDialog::TearDown();
    }

    void useFake(const TrackInfo& track, int32_t state = Playing) {
        static_cast<TrackInfo&>(fake) = track;
        if (fake.listIndex < 0) fake.listIndex = 0;  // a player opened an entry
        fake.state = state;
        fake.attach(window, &main->env);
        fake.applyLoopRange();
        main->currentPlayer = &fake;
        main->volumeTarget = &fake;
    }
    void addEntries(const std::vector<TrackInfo>& tracks) {
        main->playlist.appendEntries(tracks.data(), static_cast<int32_t>(tracks.size()));
    }
    std::vector<TrackInfo> numbered(int n, uint32_t length = 3 * kSecond) {
        std::vector<TrackInfo> tracks;
        for (int i = 1; i <= n; ++i) tracks.push_back(entry("Track " + std::to_string(i), length));
        return tracks;
    }

    HWND panel() const { return item(1001); }
    HWND seek() const { return item(1002); }
    HWND volume() const { return item(1020); }
    HDC buffer() const { return main->panelBuffer.dc(); }
    LONG panelWidth() const { return main->panelBuffer.width(); }
    const PanelLines& lines() const { return main->panelLines; }
    COLORREF back() const { return main->env.colorBack; }
    COLORREF text() const { return main->env.colorText; }

    void press(UINT message, int x, int y) {
        SendMessageA(panel(), message, message == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON,
                     MAKELPARAM(x, y));
    }
    // Presses the panel at a point while a popup may open; what it showed.
    MenuVisit pressForMenu(int x, int y, UINT message = WM_LBUTTONDOWN) {
        return whileMenuOpen(MenuVisit::Close, [&] { press(message, x, y); });
    }
    void scroll(HWND slider, int code, int highWord = 0) {
        SendMessageA(window, WM_HSCROLL, MAKEWPARAM(code, highWord),
                     reinterpret_cast<LPARAM>(slider));
    }
    LRESULT sliderValue(HWND slider, UINT message) const {
        return SendMessageA(slider, message, 0, 0);
    }
    void timer(UINT id) { SendMessageA(window, WM_TIMER, id, 0); }

    // The panel's geometry as the fonts give it, worked out here.
    LONG timeLine() const { return lines().timeLine; }
    LONG loopLine() const { return lines().loopLine; }
    RECT modeBoxFromFonts() const {
        SIZE space = extentIn(main->env.infoBoldFont.get(), " ");
        SIZE repeat = extentIn(main->env.infoBoldFont.get(), "Repeat One");
        LONG right = panelWidth() - 4;
        return {right - repeat.cx - 2 * space.cx, loopLine(), right, loopLine() + space.cy};
    }
    RECT loopBoxFromFonts() const {
        RECT mode = modeBoxFromFonts();
        SIZE space = extentIn(main->env.infoBoldFont.get(), " ");
        return {mode.left - 12 * space.cx - 2, mode.top, mode.left - 2, mode.bottom};
    }
    RECT timeFromFonts(const char* time) const {
        SIZE size = extentIn(main->env.timeFont.get(), time);
        return {4, timeLine(), 4 + size.cx, timeLine() + size.cy};
    }
    RECT counterFromFonts(const char* time, const char* length, const char* counter) const {
        RECT t = timeFromFonts(time);
        SIZE l = extentIn(main->env.timeFont.get(), length);
        SIZE space = extentIn(main->env.infoFont.get(), " ");
        SIZE c = extentIn(main->env.infoFont.get(), counter);
        LONG x = t.right + l.cx + space.cx, bottom = timeLine() + l.cy;
        return {x, bottom - c.cy, x + c.cx, bottom};
    }
    static POINT middle(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

    FakePlayer fake;
};

}  // namespace tarnuvo::test
