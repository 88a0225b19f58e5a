// The real Tarnuvo.exe plays as a user makes it play: started with the demo
// loop and settings for RepeatAll with loop passes, and its tail or a fade
// after them, the play button puts into the capture device exactly what
// tarnuvo-render makes of the same file with the same settings; the next row
// follows; closing writes every setting. The same holds for tracks at other
// rates, sample types and channel counts.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "app_test_support.h"
#include "exe_support.h"
#include "tools/play-driver/window_bmp.h"

namespace tarnuvo {
namespace {

using test::Process;
using test::waitFor;

std::string winePath(const std::string& unixPath) {
    return test::unixToWine(unixPath);
}

LRESULT rowsOf(HWND list) {
    return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
}
LRESULT selectedOf(HWND list) {
    return SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
}

// The PCM bytes of a WAV file that tarnuvo-render wrote (a 44-byte header).
std::string pcmOfRendered(const std::string& wav) {
    const std::string bytes = test::readFile(wav);
    return bytes.size() >= 44 ? bytes.substr(44) : std::string();
}

// The samples of any WAV file tarnuvo-render wrote: its data chunk.
std::string samplesOfRendered(const std::string& wav) {
    auto le32 = [&](size_t at) {
        return static_cast<uint32_t>(static_cast<uint8_t>(wav[at])) |
               static_cast<uint32_t>(static_cast<uint8_t>(wav[at + 1])) << 8 |
               static_cast<uint32_t>(static_cast<uint8_t>(wav[at + 2])) << 16 |
               static_cast<uint32_t>(static_cast<uint8_t>(wav[at + 3])) << 24;
    };
    for (size_t at = 12; at + 8 <= wav.size(); at += 8 + le32(at + 4)) {
        if (wav.compare(at, 4, "data") == 0) return wav.substr(at + 8, le32(at + 4));
    }
    return std::string();
}

// Where the capture device writes, as Wine sees it.
std::string capturePath() {
    const char* unix = std::getenv("TARNUVO_CAPTURE");
    return unix ? winePath(unix) : std::string();
}

// The capture holds `expected` from its first byte, and only silence after.
::testing::AssertionResult holdsExactly(const std::string& capture, const std::string& expected) {
    if (capture.size() < expected.size())
        return ::testing::AssertionFailure() << "only " << capture.size() << " bytes";
    for (size_t i = 0; i < expected.size(); ++i) {
        if (capture[i] != expected[i])
            return ::testing::AssertionFailure()
                   << "first difference at byte " << i << " of " << expected.size();
    }
    for (size_t i = expected.size(); i < capture.size(); ++i) {
        if (capture[i] != 0)
            return ::testing::AssertionFailure() << "sound after the end, at byte " << i;
    }
    return ::testing::AssertionSuccess();
}

std::string screenshotPath(const char* name) {
    const std::string folder = winePath(TARNUVO_SCREENSHOT_DIR);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\" + name;
}

// How the demo loop ends: its settings, the renderer's arguments for them,
// seconds it lasts at least, and the screenshot taken during its fade.
struct Ending {
    const char* name;
    const char* settings;
    const char* renderArguments;
    int seconds;
    int32_t loops, fadeLength;
    const char* fadingShot;
};

void PrintTo(const Ending& ending, std::ostream* out) {
    *out << ending.name;
}

class TarnuvoPlays : public ::testing::TestWithParam<Ending> {};

TEST_P(TarnuvoPlays, ThePlayButtonPlaysTheLoopedTrackExactlyThenTheNextRowAndClosingSavesAll) {
    const Ending& ending = GetParam();
    test::ScratchDir dir;
    const std::string exe = dir / "Tarnuvo.exe";
    ASSERT_TRUE(CopyFileA(winePath(TARNUVO_EXE).c_str(), exe.c_str(), FALSE));
    const std::string demo = dir / "demo-loop.wav";
    ASSERT_TRUE(CopyFileA(winePath(TARNUVO_DEMO_WAV).c_str(), demo.c_str(), FALSE));
    // The second row holds the same sound: the capture of either track is
    // the same, whichever opening of the device it shows.
    const std::string copy = dir / "demo-copy.wav";
    ASSERT_TRUE(CopyFileA(demo.c_str(), copy.c_str(), FALSE));
    test::writeFile(dir / "Tarnuvo.ini", std::string("[Tarnuvo]\r\n") + ending.settings);
    ASSERT_FALSE(capturePath().empty()) << "no capture device";

    // What the player must play, from the renderer with the same settings.
    const std::string rendered = dir / "expected.wav";
    Process render;
    ASSERT_TRUE(render.start(winePath(TARNUVO_RENDER), std::string(ending.renderArguments) + " \"" +
                                                           demo + "\" \"" + rendered + "\""));
    ASSERT_EQ(render.waitForExit(60000), 0u);
    const std::string expected = pcmOfRendered(rendered);
    ASSERT_GT(expected.size(), 176400u * ending.seconds) << ending.name;

    waitFor(5000, [] { return FindWindowA("Shell_TrayWnd", nullptr) != nullptr; });
    Process player;
    ASSERT_TRUE(player.start(exe, "\"" + demo + "\""));
    HWND window = nullptr;
    ASSERT_TRUE(waitFor(
        30000, [&] { return (window = test::mainWindowOf(player.info.dwProcessId)) != nullptr; }));
    const HWND list = GetDlgItem(window, 1000);
    ASSERT_TRUE(waitFor(20000, [&] { return rowsOf(list) == 1; }));
    Process second;
    ASSERT_TRUE(second.start(exe, "\"" + copy + "\""));
    EXPECT_EQ(second.waitForExit(20000), 0u);
    ASSERT_TRUE(waitFor(20000, [&] { return rowsOf(list) == 2; }));
    Sleep(1000);  // the window settles and paints
    EXPECT_GT(saveWindowBmp(window, screenshotPath("play-start.bmp").c_str()), 8u);

    const LRESULT first = selectedOf(list);
    ASSERT_TRUE(first == 0 || first == 1);
    const HWND play = GetDlgItem(window, 1010);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(1010, BN_CLICKED), reinterpret_cast<LPARAM>(play));
    ASSERT_TRUE(waitFor(10000, [&] { return IsWindowEnabled(GetDlgItem(window, 1012)) != 0; }))
        << "the track did not start";
    Sleep(1500);
    EXPECT_GT(saveWindowBmp(window, screenshotPath("play-playing.bmp").c_str()), 8u);

    // Read whenever the device holds a whole track: a later opening starts
    // the file afresh with the same bytes. Halfway through the fade (as
    // queued) the window shows it.
    const size_t fadeMiddle = expected.size() - 176400u * ending.fadeLength / 2000;
    bool shot = !ending.fadingShot;
    std::string capture;
    const bool whole = waitFor(240000, [&] {
        capture = test::readFile(capturePath());
        if (!shot && capture.size() >= fadeMiddle && capture.size() < expected.size())
            shot = saveWindowBmp(window, screenshotPath(ending.fadingShot).c_str()) > 8u;
        return capture.size() >= expected.size();
    });
    ASSERT_TRUE(whole) << capture.size() << " of " << expected.size() << " bytes";
    EXPECT_TRUE(holdsExactly(capture, expected));
    EXPECT_TRUE(shot) << "no picture during the fade";
    EXPECT_TRUE(waitFor(60000, [&] { return selectedOf(list) == 1 - first; }))
        << "the next row did not follow";

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(player.waitForExit(20000), 0u);
    const std::string ini = dir / "Tarnuvo.ini";
    const char* keys[] = {"ShowList",    "GridLine",   "TimeMode",   "PlayMode",  "LoopIgnore",
                          "LoopCount",   "FadeOut",    "FadeLength", "FadeDelay", "AlwaysOnTop",
                          "ShowVideo",   "FontTitle",  "FontTime",   "FontInfo",  "FontFile",
                          "FontList",    "ColorText",  "ColorGray",  "ColorBack", "WindowPos",
                          "ColumnOrder", "ColumnWidth"};
    for (const char* key : keys) {
        char value[128] = {};
        GetPrivateProfileStringA("Tarnuvo", key, "\x01", value, sizeof value, ini.c_str());
        EXPECT_STRNE(value, "\x01") << key << " was not written";
    }
    EXPECT_EQ(GetPrivateProfileIntA("Tarnuvo", "PlayMode", -1, ini.c_str()), 2);
    EXPECT_EQ(GetPrivateProfileIntA("Tarnuvo", "LoopCount", -1, ini.c_str()),
              static_cast<UINT>(ending.loops));
    EXPECT_EQ(GetPrivateProfileIntA("Tarnuvo", "FadeLength", -1, ini.c_str()),
              static_cast<UINT>(ending.fadeLength));
}

// The demo: a 4 s intro, a 16 s loop body and a 4 s tail.
INSTANTIATE_TEST_SUITE_P(
    Endings, TarnuvoPlays,
    ::testing::Values(Ending{"Tail", "PlayMode=2\r\nLoopCount=2\r\n", "--mode repeat-all --loops 2",
                             40, 2, 10000, nullptr},
                      Ending{"Fade",
                             "PlayMode=2\r\nLoopCount=1\r\nTimeMode=2\r\nFadeOut=1\r\n"
                             "FadeLength=3000\r\nFadeDelay=500\r\n",
                             "--mode repeat-all --loops 1 --fade-ms 3000 --fade-delay-ms 500", 39,
                             1, 3000, "play-fading.bmp"}),
    [](const ::testing::TestParamInfo<Ending>& info) { return std::string(info.param.name); });

// Tracks at other rates, sample types, channel counts and kinds, each alone
// in the list and played once with two loop passes: the device receives, in
// its own format (float for 24-bit, MP3 and Opus, one channel for mono),
// exactly the samples the Windows renderer writes for the same file and
// settings.
class TarnuvoPlaysFormat : public ::testing::TestWithParam<const char*> {};

TEST_P(TarnuvoPlaysFormat, TheCaptureHoldsWhatTheRendererWrites) {
    test::ScratchDir dir;
    const std::string exe = dir / "Tarnuvo.exe";
    ASSERT_TRUE(CopyFileA(winePath(TARNUVO_EXE).c_str(), exe.c_str(), FALSE));
    const std::string track = winePath(std::string(TARNUVO_FIXTURES) + "/" + GetParam());
    test::writeFile(dir / "Tarnuvo.ini", "[Tarnuvo]\r\nPlayMode=0\r\nLoopCount=2\r\n");
    ASSERT_FALSE(capturePath().empty()) << "no capture device";

    const std::string rendered = dir / "expected.wav";
    Process render;
    ASSERT_TRUE(render.start(winePath(TARNUVO_RENDER),
                             "--mode single --loops 2 \"" + track + "\" \"" + rendered + "\""));
    ASSERT_EQ(render.waitForExit(60000), 0u);
    const std::string expected = samplesOfRendered(test::readFile(rendered));
    ASSERT_GT(expected.size(), 20000u);

    waitFor(5000, [] { return FindWindowA("Shell_TrayWnd", nullptr) != nullptr; });
    Process player;
    ASSERT_TRUE(player.start(exe, "\"" + track + "\""));
    HWND window = nullptr;
    ASSERT_TRUE(waitFor(
        30000, [&] { return (window = test::mainWindowOf(player.info.dwProcessId)) != nullptr; }));
    ASSERT_TRUE(waitFor(20000, [&] { return rowsOf(GetDlgItem(window, 1000)) == 1; }));
    const HWND play = GetDlgItem(window, 1010);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(1010, BN_CLICKED), reinterpret_cast<LPARAM>(play));
    const HWND stop = GetDlgItem(window, 1012);
    ASSERT_TRUE(waitFor(10000, [&] { return IsWindowEnabled(stop) != 0; }))
        << "the track did not start";
    std::string capture;
    const bool whole = waitFor(120000, [&] {
        capture = test::readFile(capturePath());
        return capture.size() >= expected.size();
    });
    ASSERT_TRUE(whole) << capture.size() << " of " << expected.size() << " bytes";
    EXPECT_TRUE(holdsExactly(capture, expected)) << GetParam();
    // Single mode: the track ends after its passes.
    EXPECT_TRUE(waitFor(60000, [&] { return IsWindowEnabled(stop) == 0; }))
        << "the track did not end";

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(player.waitForExit(20000), 0u);
}

INSTANTIATE_TEST_SUITE_P(Formats, TarnuvoPlaysFormat,
                         ::testing::Values("vorbis_48000_stereo.ogg", "s24_48000_stereo.wav",
                                           "adpcm_22050_mono.wav", "mp3_cbr_44100_stereo.mp3",
                                           "flac16_44100_stereo.flac", "opus_48000_stereo.opus"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
}  // namespace tarnuvo
