// The real main dialog with a player the test drives, the back buffer's
// pixels, the panel's geometry worked out from its fonts, and screenshots.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "main_window_support.h"
#include "tools/play-driver/window_bmp.h"
#include "window_test_support.h"

namespace tarnuvo::test {

constexpr uint32_t kSecond = 176400;

// Seeks as the native player does: stopped until started again.
class FakePlayer : public Player {
public:
    int32_t play(intptr_t) override {
        state = Playing;
        return 1;
    }
    int32_t pause(int32_t mode) override {
        pauses.push_back(mode);
        state = mode == kPauseOn ? Paused : Playing;
        return 1;
    }
    int32_t seek(uint32_t target) override {
        seeks.push_back(target);
        state = Stopped;
        return 1;
    }
    uint32_t position() override { return playPosition; }
    uint32_t elapsedTotal() override { return total; }
    void applyLoopRange() override {
        ++rangeUpdates;
        Player::applyLoopRange();
    }
    int64_t fadeRemaining() override { return fadeLeft; }
    uint32_t playPosition = 0, total = 0;
    int rangeUpdates = 0;
    int64_t fadeLeft = -1;
    std::vector<uint32_t> seeks;
    std::vector<int32_t> pauses;
};

inline TrackInfo entry(const std::string& title, uint32_t length, uint32_t loopEnd = 0) {
    TrackInfo t;
    std::snprintf(t.title, sizeof t.title, "%s", title.c_str());
    std::snprintf(t.location, sizeof t.location, "C:\\music\\%s.wav", title.c_str());
    t.length = length;
    t.hasLoop = loopEnd != 0;
    t.loopStart = 44100;  // 1 s
    t.loopEnd = loopEnd;
    return t;
}

inline int countPixels(HDC dc, const RECT& r, COLORREF colour) {
    int n = 0;
    for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x) n += GetPixel(dc, x, y) == colour;
    return n;
}

inline SIZE extentIn(HFONT font, const char* text) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    return size;
}

// A part of the screen as a BMP file in the screenshot folder.
inline void saveScreen(const RECT& r, const std::string& name) {
    const std::string folder = winePath(TARNUVO_SCREENSHOT_DIR);
    CreateDirectoryA(folder.c_str(), nullptr);
    saveScreenBmp(r, (folder + "\\" + name + ".bmp").c_str());
}

class PanelDialog : public MainDialog {
protected:
    void TearDown() override {
        if (main) view().road().makeCurrent(main->waveOut());  // closing stops the real players
        MainDialog::TearDown();
    }
    void useFake(const TrackInfo& track, int32_t state = Playing) {
        static_cast<TrackInfo&>(fake) = track;
        fake.listIndex = 0;
        fake.state = state;
        fake.attach(window, &main->environment());
        fake.applyLoopRange();
        view().road().makeCurrent(fake);
        view().volume().driveFor(fake);
        view().seek().setUpFor(fake);
    }
    void addEntries(const std::vector<TrackInfo>& tracks) {
        main->playlist().appendEntries(tracks.data(), static_cast<int32_t>(tracks.size()));
    }
    void press(UINT message, POINT at) {
        SendMessageA(item(1001), message, 0, MAKELPARAM(at.x, at.y));
    }
    MenuVisit pressForMenu(POINT at) {
        return whileMenuOpen(MenuVisit::Close, [&] { press(WM_LBUTTONDOWN, at); });
    }
    void scroll(HWND slider, int code, int highWord = 0) {
        SendMessageA(window, WM_HSCROLL, MAKEWPARAM(code, highWord),
                     reinterpret_cast<LPARAM>(slider));
    }
    LRESULT get(int id, UINT message) const { return SendMessageA(item(id), message, 0, 0); }
    void timer(UINT id) { SendMessageA(window, WM_TIMER, id, 0); }
    HDC buffer() const { return view().panel().buffer().dc(); }
    COLORREF text() const { return main->environment().colorText; }
    int inkIn(const RECT& r) const { return countPixels(buffer(), r, text()); }

    // Where the panel's parts lie, from its fonts and line positions.
    const PanelLines& lines() const { return view().panel().lines(); }
    RECT titleLine() const {
        return {4, lines().titleTop, view().panel().buffer().width() - 4, lines().timeLine};
    }
    RECT fileLine() const {
        return {4, lines().fileLine, view().panel().buffer().width() - 4, lines().height};
    }
    RECT timeText(const char* time) const {
        SIZE s = extentIn(main->environment().timeFont.get(), time);
        return {4, lines().timeLine, 4 + s.cx, lines().timeLine + s.cy};
    }
    RECT counter(const char* time, const char* length, const char* count) const {
        const RECT t = timeText(time);
        SIZE l = extentIn(main->environment().timeFont.get(), length),
             c = extentIn(main->environment().infoFont.get(), count);
        const LONG x = t.right + l.cx + extentIn(main->environment().infoFont.get(), " ").cx;
        return {x, lines().timeLine + l.cy - c.cy, x + c.cx, lines().timeLine + l.cy};
    }
    RECT modeBox() const {
        const SIZE space = extentIn(main->environment().infoBoldFont.get(), " ");
        const LONG right = view().panel().buffer().width() - 4;
        const LONG w =
            extentIn(main->environment().infoBoldFont.get(), "Repeat One").cx + 2 * space.cx;
        return {right - w, lines().loopLine, right, lines().loopLine + space.cy};
    }
    RECT loopBox() const {
        const RECT m = modeBox();
        return {m.left - 12 * extentIn(main->environment().infoBoldFont.get(), " ").cx - 2, m.top,
                m.left - 2, m.bottom};
    }
    static POINT middle(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

    FakePlayer fake;
};

}  // namespace tarnuvo::test
