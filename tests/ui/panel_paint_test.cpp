// The information panel's pixels: records painted by the test, the real
// window's panel against records the test wrote itself, and the GDI objects
// that thousands of redraws and rebuilds leave behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "panel_test_support.h"
#include "ui/info_panel_painter.h"

namespace tarnuvo {
namespace {

using test::kSecond;
using test::PanelDialog;

class PanelPaint : public PanelDialog {
protected:
    PanelLook look() const {
        PanelLook l;
        l.text = text();
        l.gray = main->env.colorGray;
        l.back = back();
        l.titleFont = main->env.titleFont.get();
        l.timeFont = main->env.timeFont.get();
        l.infoFont = main->env.infoFont.get();
        l.infoBoldFont = main->env.infoBoldFont.get();
        l.fileFont = main->env.fileFont.get();
        l.lines = lines();
        return l;
    }
    // A record of the test's own: the texts a person would read.
    static PanelContent record(const char* time, const char* length, const char* counter) {
        PanelContent c;
        test::setText(c.title, "01.Title / Artist");
        test::setText(c.time, time);
        test::setText(c.length, length);
        test::setText(c.counter, counter);
        test::setText(c.loopLine, "LoopTime: 00:01.00-00:05.00");
        test::setText(c.loopTimes, "00:01.00-00:05.00");
        c.modeName = "Repeat One";
        c.loopBoxGray = false;
        c.fileLine = FileLine::Location;
        test::setText(c.location, "C:\\music\\title.wav");
        return c;
    }
    void paintOwn(BackBuffer& own, const PanelContent& c, LONG width = 0) {
        ASSERT_TRUE(
            own.rebuild(window, width ? width : panelWidth(), lines().height, back(), text()));
        paintPanel(own, c, look(), true, {});
    }
    // Rows top..bottom - 1 of two images of the panel's width differ in
    // this many pixels.
    int differences(HDC a, HDC b, LONG top, LONG bottom) const {
        int n = 0;
        for (LONG y = top; y < bottom; ++y)
            for (LONG x = 0; x < panelWidth(); ++x)
                if (GetPixel(a, x, y) != GetPixel(b, x, y)) ++n;
        return n;
    }
    RECT titleLine() const { return {4, lines().titleTop, panelWidth() - 4, timeLine()}; }
    RECT fileLine() const { return {4, lines().fileLine, panelWidth() - 4, lines().height - 4}; }
    RECT timeBand() const { return {0, timeLine(), panelWidth(), loopLine() - 1}; }
};

TEST_F(PanelPaint, ARecordPaintsEveryLineWhereAPersonLooks) {
    start();
    BackBuffer own;
    PanelContent c = record("00:01.00", " / 00:10.00", "00/03");
    paintOwn(own, c);
    HDC dc = own.dc();
    EXPECT_GT(test::countPixels(dc, titleLine(), text()), 20) << "the title line";
    EXPECT_GT(test::countPixels(dc, timeFromFonts(c.time), text()), 20) << "the time";
    EXPECT_GT(test::countPixels(dc, counterFromFonts(c.time, c.length, c.counter), text()), 5);
    EXPECT_GT(test::countPixels(dc, fileLine(), text()), 20) << "the file line";
    // The boxes are filled with the text colour and written in the background's.
    RECT mode = modeBoxFromFonts(), loop = loopBoxFromFonts();
    const LONG modeArea = (mode.right - mode.left) * (mode.bottom - mode.top);
    EXPECT_GT(test::countPixels(dc, mode, text()), modeArea / 2);
    EXPECT_GT(test::countPixels(dc, loop, text()), (loop.right - loop.left) * 2);
    EXPECT_EQ(test::countPixels(dc, loop, main->env.colorGray), 0);
    // The separator runs from 4 to width - 4, two pixels below its base.
    const LONG y = lines().separatorBase + 2;
    EXPECT_EQ(test::countPixels(dc, {4, y, panelWidth() - 4, y + 1}, text()), panelWidth() - 8);
    EXPECT_EQ(test::countPixels(dc, {0, y, 4, y + 1}, back()), 4);
}

TEST_F(PanelPaint, ATrackWithoutALoopGetsAGreyLoopBox) {
    start();
    BackBuffer own;
    PanelContent c = record("00:01.00", " / 00:10.00", "00/03");
    c.loopBoxGray = true;
    paintOwn(own, c);
    RECT loop = loopBoxFromFonts();
    const LONG area = (loop.right - loop.left) * (loop.bottom - loop.top);
    EXPECT_GT(test::countPixels(own.dc(), loop, main->env.colorGray), area / 2);
    EXPECT_EQ(test::countPixels(own.dc(), loop, text()), 0);
}

TEST_F(PanelPaint, ANarrowPanelShowsTheLoopTimesWithoutTheirLabel) {
    start();
    PanelContent c = record("00:01.00", " / 00:10.00", "00/03");
    PanelContent timesOnly = c;
    test::setText(timesOnly.loopLine, timesOnly.loopTimes);
    const SIZE full = test::extentIn(main->env.infoFont.get(), c.loopLine);
    const SIZE space = test::extentIn(main->env.infoFont.get(), " ");
    const SIZE boxes = test::extentIn(main->env.infoBoldFont.get(), "Repeat One");
    const SIZE bold = test::extentIn(main->env.infoBoldFont.get(), " ");
    // Just wide enough for the whole line before the boxes, and a little less.
    const LONG roomy = 4 + full.cx + space.cx + 2 + 12 * bold.cx + 2 + boxes.cx + 2 * bold.cx + 4;
    for (LONG width : {roomy, roomy - 8}) {
        BackBuffer shown, expected;
        paintOwn(shown, c, width);
        paintOwn(expected, width == roomy ? c : timesOnly, width);
        int differing = 0;
        for (LONG y = loopLine(); y < lines().separatorBase; ++y)
            for (LONG x = 0; x < width; ++x)
                differing += GetPixel(shown.dc(), x, y) != GetPixel(expected.dc(), x, y);
        EXPECT_EQ(differing, 0) << "width " << width;
    }
    // And the label does show where there is room.
    BackBuffer a, b;
    paintOwn(a, c, roomy);
    paintOwn(b, timesOnly, roomy);
    EXPECT_GT(differences(a.dc(), b.dc(), loopLine(), lines().separatorBase), 0);
}

TEST_F(PanelPaint, TheTimeLineAloneRepaintsOnlyItsBand) {
    start();
    BackBuffer own;
    PanelContent c = record("00:01.00", " / 00:10.00", "00/03");
    paintOwn(own, c);
    HDC dc = own.dc();
    const RECT time = timeFromFonts(c.time);
    const int title = test::countPixels(dc, titleLine(), text());
    const int file = test::countPixels(dc, fileLine(), text());
    // Hidden while paused: the time goes, the length and the title stay.
    c.timeShown = false;
    PanelAreas areas = paintPanel(own, c, look(), false, {});
    EXPECT_EQ(test::pixelsOtherThan(dc, time, back()), 0);
    EXPECT_GT(test::countPixels(dc, {time.right, time.top, time.right + 30, time.bottom}, text()),
              5)
        << "the length";
    EXPECT_EQ(test::countPixels(dc, titleLine(), text()), title);
    EXPECT_EQ(test::countPixels(dc, fileLine(), text()), file);
    // Its box is measured all the same: a hidden time can still be clicked.
    EXPECT_EQ(areas.time.left, time.left);
    EXPECT_EQ(areas.time.right, time.right);
    c.timeShown = true;
    paintPanel(own, c, look(), false, areas);
    EXPECT_GT(test::countPixels(dc, time, text()), 20);
}

TEST_F(PanelPaint, TheWindowsPanelShowsTheSelectedEntryAndBlanksItsLinesAfterAClear) {
    start();
    addEntries({test::entry("First", 10 * kSecond, 44100, 5 * 44100)});
    main->selectRow(0);
    main->onSelectionChanged();
    EXPECT_GT(test::countPixels(buffer(), titleLine(), text()), 20);
    EXPECT_GT(test::countPixels(buffer(), fileLine(), text()), 20);
    EXPECT_GT(test::countPixels(buffer(), loopBoxFromFonts(), text()), 20) << "a looped entry";

    main->playlist.clearList();
    EXPECT_EQ(test::pixelsOtherThan(buffer(), titleLine(), back()), 0);
    EXPECT_EQ(test::pixelsOtherThan(buffer(), fileLine(), back()), 0);
    BackBuffer own;
    PanelContent c = record("00:00.00", " / 00:00.00", "00/00");
    test::setText(c.loopLine, "LoopTime: 00:00.00-00:00.00");
    test::setText(c.loopTimes, "00:00.00-00:00.00");
    c.loopBoxGray = true;
    c.title[0] = '\0';
    c.fileLine = FileLine::Blank;
    paintOwn(own, c);
    EXPECT_EQ(differences(buffer(), own.dc(), 0, lines().height), 0)
        << "an empty list shows zeros and a grey loop box";
}

TEST_F(PanelPaint, PausedTimeComesAndGoesWithTheBlinkTimer) {
    start();
    addEntries({test::entry("Song", 10 * kSecond)});
    useFake(test::entry("Song", 10 * kSecond), Paused);
    main->pausedPosition = 3 * kSecond;
    main->blinkVisible = true;
    main->redrawInfoPanel(true, true);
    const RECT time = timeFromFonts("00:03.00");
    const RECT after = {time.right, time.top, time.right + 30, time.bottom};
    EXPECT_GT(test::countPixels(buffer(), time, text()), 20);
    for (bool shown : {false, true, false}) {
        timer(2);
        EXPECT_EQ(test::countPixels(buffer(), time, text()) > 0, shown);
        EXPECT_GT(test::countPixels(buffer(), after, text()), 5) << "the length stays";
    }
}

TEST_F(PanelPaint, LongTimesRenderAndTheRemainderStopsAtZero) {
    start();
    addEntries({test::entry("Song", 10 * kSecond)});
    TrackInfo track = test::entry("Song", 10 * kSecond);
    useFake(track);
    main->env.timeMode = 0;
    fake.total = 6000 * kSecond;
    main->redrawInfoPanel(true, true);
    BackBuffer own;
    paintOwn(own, record("+100:00.00", " / 00:10.00", "00/00"));
    EXPECT_EQ(differences(buffer(), own.dc(), timeLine(), loopLine() - 1), 0);

    // A stream stored without its length, playing at 10 s.
    track.length = 0;
    useFake(track);
    fake.playPosition = 10 * kSecond;
    main->env.timeMode = 2;
    main->redrawInfoPanel(false, true);
    paintOwn(own, record("-00:00.00", " / 00:00.00", "00/00"));
    EXPECT_EQ(differences(buffer(), own.dc(), timeLine(), loopLine() - 1), 0);
}

TEST_F(PanelPaint, TheRefreshTimerDrawsTheTimeThenMovesTheThumb) {
    start();
    addEntries({test::entry("Song", 10 * kSecond)});
    useFake(test::entry("Song", 10 * kSecond));
    main->setupSeekSlider(fake);
    fake.playPosition = 4 * kSecond + 8;
    main->paintState = PaintIdle;
    timer(1);
    // The time line was painted, the thumb has not moved yet.
    BackBuffer own;
    paintOwn(own, record("00:04.00", " / 00:10.00", "00/00"));
    EXPECT_EQ(differences(buffer(), own.dc(), timeLine(), loopLine() - 1), 0);
    EXPECT_EQ(sliderValue(seek(), TBM_GETPOS), 0);
    timer(1);
    EXPECT_EQ(sliderValue(seek(), TBM_GETPOS), (4 * kSecond + 8) / 4);
}

TEST_F(PanelPaint, RedrawsAndRebuildsLeaveNoGdiObjectBehind) {
    start();
    addEntries(numbered(20));
    useFake(test::entry("Song", 10 * kSecond, 44100, 5 * 44100));
    main->redrawInfoPanel(true, true);
    const int32_t live = liveGdiObjects.load();
    for (int i = 0; i < 100000; ++i) {
        fake.playPosition = static_cast<uint32_t>(i) * 1764;
        main->redrawInfoPanel(false, i % 1000 == 0);
    }
    EXPECT_EQ(liveGdiObjects.load(), live) << "after 100,000 time-line redraws";
    for (int i = 0; i < 1000; ++i) {
        main->rebuildPanelBuffer();
        main->redrawInfoPanel(true, i % 100 == 0);
    }
    EXPECT_EQ(liveGdiObjects.load(), live) << "after 1,000 rebuilds";
    RECT outer = {};
    GetWindowRect(window, &outer);
    for (int i = 0; i < 50; ++i)
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + (i % 2 ? 40 : 0),
                     outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(liveGdiObjects.load(), live) << "after resizing the window";
    // The system still hands out objects, and the panel still draws.
    HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_NE(probe, nullptr);
    DeleteObject(probe);
    fake.playPosition = 0;
    main->redrawInfoPanel(true, true);
    EXPECT_GT(test::countPixels(buffer(), titleLine(), text()), 20);
    EXPECT_GT(test::countPixels(buffer(), modeBoxFromFonts(), text()), 20);
}

}  // namespace
}  // namespace tarnuvo
