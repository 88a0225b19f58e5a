// The settings file: where it lives, the round trip, and every reading rule,
// including files written by hand.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>

#include "app/app_environment.h"
#include "app/settings_rules.h"
#include "app_test_support.h"

namespace tarnuvo {
namespace {

using test::ScratchDir;
using test::sjis;

// The profile encoding of a 16-byte rectangle, computed independently: two
// hexadecimal digits per byte and the low byte of the byte sum.
std::string encodedRect(LONG left, LONG top, LONG right, LONG bottom) {
    LONG values[4] = {left, top, right, bottom};
    const auto* bytes = reinterpret_cast<const unsigned char*>(values);
    std::string out;
    unsigned sum = 0;
    char pair[3];
    for (int i = 0; i < 16; ++i) {
        std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
        out += pair;
        sum += bytes[i];
    }
    std::snprintf(pair, sizeof pair, "%02X", sum & 0xFF);
    return out + pair;
}

class SettingsFile : public ::testing::Test {
protected:
    std::string program() const { return scratch / "Tarnuvo.exe"; }
    std::string ini() const { return scratch / "Tarnuvo.ini"; }
    // Loads a fresh environment from a settings file holding `body`.
    void loadFrom(AppEnvironment& env, const std::string& body) {
        test::writeFile(ini(), body);
        ASSERT_EQ(env.loadSettings(), 1);
    }
    EnvironmentPaths paths() const { return {moduleText.c_str(), scratch.path().c_str()}; }

    ScratchDir scratch;
    std::string moduleText = program();
};

TEST(SettingsRules, RemainderStaysInRangeForNegativeValues) {
    EXPECT_EQ(remainderInRange(4, 3), 1);
    EXPECT_EQ(remainderInRange(6, 4), 2);
    EXPECT_EQ(remainderInRange(150, 100), 50);
    EXPECT_EQ(remainderInRange(-1, 3), 2);
    EXPECT_EQ(remainderInRange(-1, 4), 3);
    EXPECT_EQ(remainderInRange(-1, 100), 99);
    EXPECT_EQ(remainderInRange(-300, 100), 0);
    EXPECT_EQ(remainderInRange(INT32_MIN, 100), 52);  // -2147483648 = -21474837 * 100 + 52
    EXPECT_EQ(remainderInRange(INT32_MAX, 4), 3);
}

TEST(SettingsRules, MinimumWindowSizeMovesOnlyRightAndBottom) {
    RECT small = {10, 20, 110, 70};
    raiseToMinimumSize(small);
    EXPECT_EQ(small.left, 10);
    EXPECT_EQ(small.top, 20);
    EXPECT_EQ(small.right, 410);
    EXPECT_EQ(small.bottom, 320);

    RECT big = {-50, -60, 600, 500};
    raiseToMinimumSize(big);
    EXPECT_EQ(big.right, 600);
    EXPECT_EQ(big.bottom, 500);

    RECT inverted = {300, 300, 100, 100};
    raiseToMinimumSize(inverted);
    EXPECT_EQ(inverted.right, 700);
    EXPECT_EQ(inverted.bottom, 600);

    // No overflow at the end of the range.
    RECT edge = {LONG_MAX - 10, LONG_MAX - 10, LONG_MAX - 5, LONG_MAX - 5};
    raiseToMinimumSize(edge);
    EXPECT_EQ(edge.right, LONG_MAX);
    EXPECT_EQ(edge.bottom, LONG_MAX);
}

TEST(SettingsRules, StoredRectangleEncoding) {
    RECT rect = {-30, 40, 970, 0x12345678};
    char text[kStoredRectChars + 1];
    encodeStoredRect(rect, text, sizeof text);
    EXPECT_EQ(std::string(text), encodedRect(-30, 40, 970, 0x12345678));
    RECT back = {};
    ASSERT_TRUE(decodeStoredRect(text, back));
    EXPECT_EQ(back.left, -30);
    EXPECT_EQ(back.top, 40);
    EXPECT_EQ(back.right, 970);
    EXPECT_EQ(back.bottom, 0x12345678);
    // Lower-case digits read the same.
    std::string lower = text;
    for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    ASSERT_TRUE(decodeStoredRect(lower.c_str(), back));
    EXPECT_EQ(back.bottom, 0x12345678);
    char small[10] = "x";
    encodeStoredRect(rect, small, sizeof small);
    EXPECT_STREQ(small, "");
}

TEST(SettingsRules, StoredRectangleRefusesWrongLengthChecksumOrDigits) {
    std::string good = encodedRect(1, 2, 3, 4);
    RECT rect = {9, 9, 9, 9};
    EXPECT_FALSE(decodeStoredRect((good + "0").c_str(), rect));
    EXPECT_FALSE(decodeStoredRect((good + "00").c_str(), rect));
    EXPECT_FALSE(decodeStoredRect(good.substr(0, 33).c_str(), rect));
    std::string badSum = good;
    badSum[33] = badSum[33] == '0' ? '1' : '0';
    EXPECT_FALSE(decodeStoredRect(badSum.c_str(), rect));
    std::string notHex = good;
    notHex[5] = 'G';
    EXPECT_FALSE(decodeStoredRect(notHex.c_str(), rect));
    EXPECT_FALSE(decodeStoredRect("", rect));
    EXPECT_EQ(rect.left, 9);
    EXPECT_EQ(rect.bottom, 9);
}

TEST(SettingsRules, ColumnListSplitsAtColons) {
    int32_t values[4] = {0, 1, 2, 3};
    parseColumnList("2:0", values);
    EXPECT_EQ(values[0], 2);
    EXPECT_EQ(values[1], 0);
    EXPECT_EQ(values[2], 2);
    EXPECT_EQ(values[3], 3);

    int32_t widths[4] = {160, 60, 40, 90};
    parseColumnList("", widths);
    EXPECT_EQ(widths[0], 160);
    EXPECT_EQ(widths[3], 90);

    parseColumnList("1:2:3:4:5:6", widths);
    EXPECT_EQ(widths[0], 1);
    EXPECT_EQ(widths[3], 4);

    parseColumnList(" 7 :x:-3", widths);
    EXPECT_EQ(widths[0], 7);
    EXPECT_EQ(widths[1], 0);  // not a number
    EXPECT_EQ(widths[2], -3);
    EXPECT_EQ(widths[3], 4);

    char text[64];
    formatColumnList(widths, text, sizeof text);
    EXPECT_STREQ(text, "7:0:-3:4");
}

TEST_F(SettingsFile, LivesBesideTheProgramWithItsExtensionReplaced) {
    AppEnvironment env(paths());
    EXPECT_EQ(env.loadSettings(), 1);
    EXPECT_EQ(std::string(env.iniPath), ini());
}

TEST_F(SettingsFile, ReplacesOnlyFromTheLastDot) {
    moduleText = scratch / "Tarnuvo.v2.exe";
    AppEnvironment env(paths());
    EXPECT_EQ(env.loadSettings(), 1);
    EXPECT_EQ(std::string(env.iniPath), scratch / "Tarnuvo.v2.ini");
}

TEST_F(SettingsFile, JapaneseProgramFolderIsKept) {
    // The second byte of this folder's name is a backslash byte.
    std::string folder = scratch / sjis("表");
    CreateDirectoryA(folder.c_str(), nullptr);
    moduleText = folder + "\\" + sjis("ソフト.exe");
    AppEnvironment env(paths());
    ASSERT_EQ(env.loadSettings(), 1);
    EXPECT_EQ(std::string(env.iniPath), folder + "\\" + sjis("ソフト.ini"));
    env.playMode = 3;
    EXPECT_EQ(env.saveSettings(nullptr), 1);
    EXPECT_TRUE(test::isFile(folder + "\\" + sjis("ソフト.ini")));
}

TEST_F(SettingsFile, ProgramPathWithoutDotHasNoSettingsFile) {
    moduleText = scratch / "Tarnuvo";
    AppEnvironment env(paths());
    EXPECT_EQ(env.loadSettings(), 0);
    EXPECT_STREQ(env.iniPath, "");
    env.timeMode = 2;
    EXPECT_EQ(env.saveSettings(nullptr), 0);
    EXPECT_TRUE(test::entriesOf(scratch.path()).size() == 1u);  // only the temporary folder
}

TEST_F(SettingsFile, MissingFileKeepsEveryStartValue) {
    AppEnvironment env(paths());
    ASSERT_EQ(env.loadSettings(), 1);
    EXPECT_EQ(env.showList, 1);
    EXPECT_EQ(env.gridLine, 0);
    EXPECT_EQ(env.timeMode, 1);
    EXPECT_EQ(env.playMode, 1);
    EXPECT_EQ(env.loopIgnore, 0);
    EXPECT_EQ(env.loopCount, 0);
    EXPECT_EQ(env.fadeOut, 0);
    EXPECT_EQ(env.fadeLengthMs, 10000);
    EXPECT_EQ(env.fadeDelayMs, 0);
    EXPECT_EQ(env.alwaysOnTop, 0);
    EXPECT_EQ(env.showVideo, 0);
    EXPECT_EQ(env.windowShown, 1);
    EXPECT_EQ(env.waveOutOff, 0);
    EXPECT_EQ(env.windowPos.left, 0);
    EXPECT_EQ(env.windowPos.right, 0);
    EXPECT_EQ(env.columnOrder[0], 0);
    EXPECT_EQ(env.columnOrder[3], 3);
    EXPECT_EQ(env.columnWidth[0], 160);
    EXPECT_EQ(env.columnWidth[1], 60);
    EXPECT_EQ(env.columnWidth[2], 40);
    EXPECT_EQ(env.columnWidth[3], 90);
    EXPECT_EQ(env.colorText, 0xFFFF00u);
    EXPECT_EQ(env.colorGray, 0x808000u);
    EXPECT_EQ(env.colorBack, 0u);
    EXPECT_STREQ(env.fontList, "MS UI Gothic,12,0");
    EXPECT_FALSE(test::isFile(ini()));
}

TEST_F(SettingsFile, RoundTripKeepsEveryValue) {
    const std::string face = sjis("表示用,20,1,1");  // 0x5C as a second byte
    {
        AppEnvironment env(paths());
        ASSERT_EQ(env.loadSettings(), 1);
        env.showList = 0;
        env.gridLine = 1;
        env.timeMode = 2;
        env.playMode = 3;
        env.loopIgnore = 1;
        env.loopCount = 99;
        env.fadeOut = 1;
        env.fadeLengthMs = 60000;
        env.fadeDelayMs = 2500;
        env.alwaysOnTop = 1;
        env.showVideo = 1;
        env.windowPos = {-20, 30, 780, 630};
        int32_t order[4] = {3, 1, 0, 2};
        int32_t widths[4] = {200, 0, 75, 12};
        for (int i = 0; i < 4; ++i) {
            env.columnOrder[i] = order[i];
            env.columnWidth[i] = widths[i];
        }
        env.colorText = 0x80;
        env.colorGray = 0x123456;
        env.colorBack = 0xFFFFFF;
        lstrcpyA(env.fontTitle, face.c_str());
        lstrcpyA(env.fontTime, "Arial;9");
        lstrcpyA(env.fontInfo, "Verdana,11,-1");
        lstrcpyA(env.fontFile, "Courier New,10,0,1");
        lstrcpyA(env.fontList, "Tahoma,8");
        EXPECT_EQ(env.saveSettings(nullptr), 1);
    }
    AppEnvironment env(paths());
    ASSERT_EQ(env.loadSettings(), 1);
    EXPECT_EQ(env.showList, 0);
    EXPECT_EQ(env.gridLine, 1);
    EXPECT_EQ(env.timeMode, 2);
    EXPECT_EQ(env.playMode, 3);
    EXPECT_EQ(env.loopIgnore, 1);
    EXPECT_EQ(env.loopCount, 99);
    EXPECT_EQ(env.fadeOut, 1);
    EXPECT_EQ(env.fadeLengthMs, 60000);
    EXPECT_EQ(env.fadeDelayMs, 2500);
    EXPECT_EQ(env.alwaysOnTop, 1);
    EXPECT_EQ(env.showVideo, 1);
    EXPECT_EQ(env.windowPos.left, -20);
    EXPECT_EQ(env.windowPos.top, 30);
    EXPECT_EQ(env.windowPos.right, 780);
    EXPECT_EQ(env.windowPos.bottom, 630);
    EXPECT_EQ(env.columnOrder[0], 3);
    EXPECT_EQ(env.columnOrder[1], 1);
    EXPECT_EQ(env.columnOrder[2], 0);
    EXPECT_EQ(env.columnOrder[3], 2);
    EXPECT_EQ(env.columnWidth[0], 200);
    EXPECT_EQ(env.columnWidth[1], 0);
    EXPECT_EQ(env.columnWidth[2], 75);
    EXPECT_EQ(env.columnWidth[3], 12);
    EXPECT_EQ(env.colorText, 0x80u);
    EXPECT_EQ(env.colorGray, 0x123456u);
    EXPECT_EQ(env.colorBack, 0xFFFFFFu);
    EXPECT_EQ(std::string(env.fontTitle), face);
    EXPECT_STREQ(env.fontTime, "Arial;9");
    EXPECT_STREQ(env.fontInfo, "Verdana,11,-1");
    EXPECT_STREQ(env.fontFile, "Courier New,10,0,1");
    EXPECT_STREQ(env.fontList, "Tahoma,8");
}

TEST_F(SettingsFile, WrittenTextsHaveTheStoredForms) {
    AppEnvironment env(paths());
    ASSERT_EQ(env.loadSettings(), 1);
    env.showList = 5;  // any non-zero is stored as 1
    env.fadeOut = -3;
    env.colorGray = 0x80;
    env.windowPos = {1, 2, 403, 304};
    ASSERT_EQ(env.saveSettings(nullptr), 1);

    char text[128];
    auto stored = [&](const char* key) {
        GetPrivateProfileStringA("Tarnuvo", key, "<none>", text, sizeof text, ini().c_str());
        return std::string(text);
    };
    EXPECT_EQ(stored("ShowList"), "1");
    EXPECT_EQ(stored("GridLine"), "0");
    EXPECT_EQ(stored("TimeMode"), "1");
    EXPECT_EQ(stored("LoopCount"), "0");
    EXPECT_EQ(stored("FadeOut"), "1");
    EXPECT_EQ(stored("FadeLength"), "10000");
    EXPECT_EQ(stored("FadeDelay"), "0");
    EXPECT_EQ(stored("ColorText"), "0xFFFF00");
    EXPECT_EQ(stored("ColorGray"), "0x000080");
    EXPECT_EQ(stored("ColorBack"), "0x000000");
    EXPECT_EQ(stored("ColumnOrder"), "0:1:2:3");
    EXPECT_EQ(stored("ColumnWidth"), "160:60:40:90");
    EXPECT_EQ(stored("FontList"), "MS UI Gothic,12,0");
    EXPECT_EQ(stored("WindowPos"), encodedRect(1, 2, 403, 304));
    // All twenty-two keys, in the one section; the fade's follow the loop count.
    std::string file = test::readFile(ini());
    EXPECT_EQ(file.find("[Tarnuvo]"), 0u);
    size_t previous = 0;
    for (const char* key :
         {"ShowList=",  "GridLine=",   "TimeMode=",    "PlayMode=",    "LoopIgnore=", "LoopCount=",
          "FadeOut=",   "FadeLength=", "FadeDelay=",   "AlwaysOnTop=", "ShowVideo=",  "FontTitle=",
          "FontTime=",  "FontInfo=",   "FontFile=",    "FontList=",    "ColorText=",  "ColorGray=",
          "ColorBack=", "WindowPos=",  "ColumnOrder=", "ColumnWidth="}) {
        const size_t at = file.find(key);
        ASSERT_NE(at, std::string::npos) << key;
        EXPECT_GT(at, previous) << key << " out of the order of a new file";
        previous = at;
    }
}

TEST_F(SettingsFile, ModesAndLoopCountKeepTheirRemainder) {
    AppEnvironment env(paths());
    loadFrom(env, "[Tarnuvo]\r\nTimeMode=4\r\nPlayMode=6\r\nLoopCount=150\r\n");
    EXPECT_EQ(env.timeMode, 1);
    EXPECT_EQ(env.playMode, 2);
    EXPECT_EQ(env.loopCount, 50);
}

TEST_F(SettingsFile, NegativeModesAndLoopCountAreBroughtIntoRange) {
    AppEnvironment env(paths());
    loadFrom(env, "[Tarnuvo]\r\nTimeMode=-1\r\nPlayMode=-6\r\nLoopCount=-150\r\n");
    EXPECT_EQ(env.timeMode, 2);
    EXPECT_EQ(env.playMode, 2);
    EXPECT_EQ(env.loopCount, 50);
}

TEST_F(SettingsFile, BooleansTakeAnyNonZeroAsOn) {
    AppEnvironment env(paths());
    loadFrom(env,
             "[Tarnuvo]\nShowList=0\nGridLine=7\nLoopIgnore=-1\nAlwaysOnTop=0x10\n"
             "ShowVideo=yes\nFadeOut=2\n");
    EXPECT_EQ(env.showList, 0);
    EXPECT_EQ(env.gridLine, 1);
    EXPECT_EQ(env.loopIgnore, 1);
    EXPECT_EQ(env.alwaysOnTop, 1);
    EXPECT_EQ(env.showVideo, 0);  // not a number: 0, off
    EXPECT_EQ(env.fadeOut, 1);
}

TEST_F(SettingsFile, FadeLengthAndDelayAreClamped) {
    const struct {
        const char* lines;
        int32_t length, delay;
    } cases[] = {
        {"FadeLength=99\nFadeDelay=-1\n", 100, 0},
        {"FadeLength=60001\nFadeDelay=60001\n", 60000, 60000},
        {"FadeLength=-5\nFadeDelay=2147483647\n", 100, 60000},
        {"FadeLength=0x1388\nFadeDelay=750\n", 5000, 750},
        {"FadeLength=\nFadeDelay=\n", 10000, 0},
        {"FadeLength=soon\nFadeDelay=later\n", 100, 0},  // not a number: 0
    };
    for (const auto& c : cases) {
        AppEnvironment env(paths());
        loadFrom(env, std::string("[Tarnuvo]\n") + c.lines);
        EXPECT_EQ(env.fadeLengthMs, c.length) << c.lines;
        EXPECT_EQ(env.fadeDelayMs, c.delay) << c.lines;
    }
}

TEST_F(SettingsFile, EmptyValuesGiveTheDefaults) {
    AppEnvironment env(paths());
    loadFrom(env, "[Tarnuvo]\nShowList=\nTimeMode=\nColorText=\nColorGray=\n");
    EXPECT_EQ(env.showList, 1);
    EXPECT_EQ(env.timeMode, 1);
    EXPECT_EQ(env.colorText, 0xFFFF00u);
    EXPECT_EQ(env.colorGray, 0x808000u);
}

TEST_F(SettingsFile, ColoursReadInDecimalOrHexAndAreWrittenInHex) {
    AppEnvironment env(paths());
    loadFrom(env, "[Tarnuvo]\nColorText=16776960\nColorGray=0xFFFF00\nColorBack=0x80\n");
    EXPECT_EQ(env.colorText, 0xFFFF00u);
    EXPECT_EQ(env.colorGray, 0xFFFF00u);
    EXPECT_EQ(env.colorBack, 0x80u);
    ASSERT_EQ(env.saveSettings(nullptr), 1);
    char text[32];
    GetPrivateProfileStringA("Tarnuvo", "ColorText", "", text, sizeof text, ini().c_str());
    EXPECT_STREQ(text, "0xFFFF00");
    GetPrivateProfileStringA("Tarnuvo", "ColorBack", "", text, sizeof text, ini().c_str());
    EXPECT_STREQ(text, "0x000080");
}

TEST_F(SettingsFile, ColumnOrderWithTwoPiecesSetsTwoElements) {
    AppEnvironment env(paths());
    loadFrom(env, "[Tarnuvo]\nColumnOrder=2:0\nColumnWidth=\n");
    EXPECT_EQ(env.columnOrder[0], 2);
    EXPECT_EQ(env.columnOrder[1], 0);
    EXPECT_EQ(env.columnOrder[2], 2);
    EXPECT_EQ(env.columnOrder[3], 3);
    EXPECT_EQ(env.columnWidth[0], 160);
    EXPECT_EQ(env.columnWidth[1], 60);
    EXPECT_EQ(env.columnWidth[2], 40);
    EXPECT_EQ(env.columnWidth[3], 90);
}

TEST_F(SettingsFile, ColumnTextIsReadUpTo99Characters) {
    // The fourth piece starts at character 99 and is not read.
    std::string value = std::string(97, '0') + "5:" + "7";
    AppEnvironment env(paths());
    loadFrom(env, "[Tarnuvo]\nColumnWidth=" + value + "\n");
    EXPECT_EQ(env.columnWidth[0], 5);
    EXPECT_EQ(env.columnWidth[1], 60);
}

TEST_F(SettingsFile, SmallWindowPosIsRaisedToTheMinimumSize) {
    AppEnvironment env(paths());
    loadFrom(env, "[Tarnuvo]\nWindowPos=" + encodedRect(100, 200, 200, 250) + "\n");
    EXPECT_EQ(env.windowPos.left, 100);
    EXPECT_EQ(env.windowPos.top, 200);
    EXPECT_EQ(env.windowPos.right, 500);
    EXPECT_EQ(env.windowPos.bottom, 500);
}

TEST_F(SettingsFile, DamagedWindowPosIsIgnored) {
    std::string good = encodedRect(10, 20, 610, 520);
    std::string badSum = good.substr(0, 32) + (good.substr(32) == "00" ? "01" : "00");
    for (const std::string& damaged :
         {badSum, good.substr(0, 30), good + "00", std::string("xyz"), std::string("")}) {
        AppEnvironment env(paths());
        env.windowPos = {1, 2, 3, 4};
        loadFrom(env, "[Tarnuvo]\nWindowPos=" + damaged + "\n");
        EXPECT_EQ(env.windowPos.left, 1) << damaged;
        EXPECT_EQ(env.windowPos.right, 3) << damaged;
    }
    AppEnvironment env(paths());
    loadFrom(env, "[Tarnuvo]\nWindowPos=" + good + "\n");
    EXPECT_EQ(env.windowPos.right, 610);
}

TEST_F(SettingsFile, WindowPosWrittenByThePlatformReadsBack) {
    RECT rect = {-5, 6, 805, 606};
    test::writeFile(ini(), "[Tarnuvo]\r\n");
    ASSERT_TRUE(
        WritePrivateProfileStructA("Tarnuvo", "WindowPos", &rect, sizeof rect, ini().c_str()));
    AppEnvironment env(paths());
    ASSERT_EQ(env.loadSettings(), 1);
    EXPECT_EQ(env.windowPos.left, -5);
    EXPECT_EQ(env.windowPos.bottom, 606);
    // And what this program writes, the platform reads.
    env.windowPos = {11, 12, 613, 714};
    ASSERT_EQ(env.saveSettings(nullptr), 1);
    RECT back = {};
    ASSERT_TRUE(
        GetPrivateProfileStructA("Tarnuvo", "WindowPos", &back, sizeof back, ini().c_str()));
    EXPECT_EQ(back.left, 11);
    EXPECT_EQ(back.bottom, 714);
}

TEST_F(SettingsFile, EmptyFontSpecKeepsTheStartValue) {
    AppEnvironment env(paths());
    std::string before = env.fontTitle;
    loadFrom(env, "[Tarnuvo]\nFontTitle=\nFontList=Arial,9\n");
    EXPECT_EQ(std::string(env.fontTitle), before);
    EXPECT_STREQ(env.fontList, "Arial,9");
}

TEST_F(SettingsFile, LongFontSpecIsCutWithoutSplittingACharacter) {
    // 258 ASCII bytes and a double-byte character do not fit in 259.
    std::string spec = std::string(258, 'a') + sjis("表");
    AppEnvironment env(paths());
    loadFrom(env, "[Tarnuvo]\nFontFile=" + spec + "\n");
    EXPECT_EQ(std::string(env.fontFile), std::string(258, 'a'));
}

TEST_F(SettingsFile, HandWrittenFileWithOddSpacingMissingKeysAndDamage) {
    std::string body =
        "; written by hand\r\n"
        "[Other]\r\nTimeMode=2\r\n\r\n"
        "[Tarnuvo]\r\n"
        "   ShowList   =    0   \r\n"
        "GridLine=1 trailing words\r\n"
        "TimeMode =\t0x2\r\n"
        "PlayMode= +3\r\n"
        "LoopCount=12abc\r\n"
        "ShowVideo=--1\r\n"
        "WindowPos = " +
        encodedRect(-30, -40, 970, 760) +
        "   \r\n"
        "ColumnOrder =  3 : 2 : 1 : 0 \r\n"
        "ColumnWidth=10:20\r\n"
        "FontTitle =   " +
        sjis("ＭＳ 明朝;;22") +
        "\r\n"
        "FontTime=\r\n"
        "ColorText= 0xff\r\n"
        "ColorGray=garbage\r\n"
        "[Later]\r\nPlayMode=0\r\n";
    AppEnvironment env(paths());
    std::string timeBefore = env.fontTime;
    loadFrom(env, body);
    EXPECT_EQ(env.showList, 0);
    EXPECT_EQ(env.gridLine, 1);
    EXPECT_EQ(env.timeMode, 2);
    EXPECT_EQ(env.playMode, 3);
    EXPECT_EQ(env.loopIgnore, 0);  // missing
    EXPECT_EQ(env.loopCount, 12);
    EXPECT_EQ(env.alwaysOnTop, 0);  // missing
    EXPECT_EQ(env.showVideo, 0);    // damaged
    EXPECT_EQ(env.windowPos.left, -30);
    EXPECT_EQ(env.windowPos.top, -40);
    EXPECT_EQ(env.windowPos.right, 970);
    EXPECT_EQ(env.windowPos.bottom, 760);
    EXPECT_EQ(env.columnOrder[0], 3);
    EXPECT_EQ(env.columnOrder[1], 2);
    EXPECT_EQ(env.columnOrder[2], 1);
    EXPECT_EQ(env.columnOrder[3], 0);
    EXPECT_EQ(env.columnWidth[0], 10);
    EXPECT_EQ(env.columnWidth[1], 20);
    EXPECT_EQ(env.columnWidth[2], 40);
    EXPECT_EQ(env.columnWidth[3], 90);
    EXPECT_EQ(std::string(env.fontTitle), sjis("ＭＳ 明朝;;22"));
    EXPECT_EQ(std::string(env.fontTime), timeBefore);
    EXPECT_EQ(env.colorText, 0xFFu);
    EXPECT_EQ(env.colorGray, 0u);
    EXPECT_EQ(env.colorBack, 0u);  // missing
}

}  // namespace
}  // namespace tarnuvo
