// The settings file beside the program, read once at start and written once
// at the end with the platform's profile functions (a file of twenty-two keys).
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/app_environment.h"
#include "engine/text.h"

namespace tarnuvo {
namespace {

constexpr size_t kColumnTextSize = 100;  // 99 characters

// Indexed by FontSlot; the unused slot has no key.
constexpr const char* kFontKeys[FontSlotCount] = {"FontTitle", "FontTime", "FontInfo",
                                                  nullptr,     "FontFile", "FontList"};

int32_t readInteger(const char* iniPath, const char* key, int32_t fallback) {
    return static_cast<int32_t>(GetPrivateProfileIntA(kSettingsSection, key, fallback, iniPath));
}

void readFontSpec(const char* iniPath, const char* key, char (&spec)[kTextSize]) {
    char text[kTextSize] = {};
    GetPrivateProfileStringA(kSettingsSection, key, "", text, kTextSize, iniPath);
    if (text[0] != '\0') copyText(spec, kTextSize, text);
}

void readColumnList(const char* iniPath, const char* key, int32_t (&values)[kColumnCount]) {
    char text[kColumnTextSize] = {};
    GetPrivateProfileStringA(kSettingsSection, key, "", text, kColumnTextSize, iniPath);
    parseColumnList(text, values);
}

void writeText(const char* iniPath, const char* key, const char* text) {
    WritePrivateProfileStringA(kSettingsSection, key, text, iniPath);
}

void writeInteger(const char* iniPath, const char* key, int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    writeText(iniPath, key, text);
}

void writeColour(const char* iniPath, const char* key, COLORREF colour) {
    char text[16];
    formatColour(colour, text, sizeof text);
    writeText(iniPath, key, text);
}

void writeColumnList(const char* iniPath, const char* key, const int32_t (&values)[kColumnCount]) {
    char text[64];
    formatColumnList(values, text, sizeof text);
    writeText(iniPath, key, text);
}

}  // namespace

int AppEnvironment::loadSettings() {
    if (modulePath_[0] != '\0') {
        copyText(iniPath, kTextSize, modulePath_);
    } else {
        // A cut name may be unterminated on old systems and may end inside a character.
        GetModuleFileNameA(nullptr, iniPath, kTextSize);
        iniPath[kTextSize - 1] = '\0';
        cutText(iniPath, kTextSize - 1);
    }
    const char* dot = findLastSeparator(iniPath, '.');
    if (!dot) {
        iniPath[0] = '\0';
        return 0;
    }
    size_t stem = static_cast<size_t>(dot - iniPath);
    copyText(iniPath + stem, kTextSize - stem, ".ini");
    if (GetFileAttributesA(iniPath) == INVALID_FILE_ATTRIBUTES) return 1;

    showList = storedBoolean(readInteger(iniPath, "ShowList", 1));
    gridLine = storedBoolean(readInteger(iniPath, "GridLine", 0));
    timeMode = remainderInRange(readInteger(iniPath, "TimeMode", 1), 3);
    playMode = remainderInRange(readInteger(iniPath, "PlayMode", 1), 4);
    loopIgnore = storedBoolean(readInteger(iniPath, "LoopIgnore", 0));
    loopCount = remainderInRange(readInteger(iniPath, "LoopCount", 0), 100);
    fadeOut = storedBoolean(readInteger(iniPath, "FadeOut", 0));
    fadeLengthMs = clampedSetting(readInteger(iniPath, "FadeLength", 10000), kFadeLengthMinMs,
                                  kFadeLengthMaxMs);
    fadeDelayMs = clampedSetting(readInteger(iniPath, "FadeDelay", 0), 0, kFadeDelayMaxMs);
    alwaysOnTop = storedBoolean(readInteger(iniPath, "AlwaysOnTop", 0));
    showVideo = storedBoolean(readInteger(iniPath, "ShowVideo", 0));

    // A value of the wrong length or checksum is refused and the member kept.
    char storedRect[kStoredRectChars + 2] = {};
    GetPrivateProfileStringA(kSettingsSection, "WindowPos", "", storedRect, sizeof storedRect,
                             iniPath);
    RECT stored;
    if (decodeStoredRect(storedRect, stored)) {
        raiseToMinimumSize(stored);
        windowPos = stored;
    }

    readColumnList(iniPath, "ColumnOrder", columnOrder);
    readColumnList(iniPath, "ColumnWidth", columnWidth);
    for (int32_t slot = 0; slot < FontSlotCount; ++slot) {
        if (kFontKeys[slot]) readFontSpec(iniPath, kFontKeys[slot], fontSpecs[slot]);
    }
    colorText = static_cast<COLORREF>(readInteger(iniPath, "ColorText", 0xFFFF00));
    colorGray = static_cast<COLORREF>(readInteger(iniPath, "ColorGray", 0x808000));
    colorBack = static_cast<COLORREF>(readInteger(iniPath, "ColorBack", 0));
    return 1;
}

int AppEnvironment::saveSettings(HWND window) {
    if (iniPath[0] == '\0') return 0;
    writeInteger(iniPath, "ShowList", storedBoolean(showList));
    writeInteger(iniPath, "GridLine", storedBoolean(gridLine));
    writeInteger(iniPath, "TimeMode", timeMode);
    writeInteger(iniPath, "PlayMode", playMode);
    writeInteger(iniPath, "LoopIgnore", storedBoolean(loopIgnore));
    writeInteger(iniPath, "LoopCount", loopCount);
    writeInteger(iniPath, "FadeOut", storedBoolean(fadeOut));
    writeInteger(iniPath, "FadeLength", fadeLengthMs);
    writeInteger(iniPath, "FadeDelay", fadeDelayMs);
    writeInteger(iniPath, "AlwaysOnTop", storedBoolean(alwaysOnTop));
    writeInteger(iniPath, "ShowVideo", storedBoolean(showVideo));
    for (int32_t slot = 0; slot < FontSlotCount; ++slot) {
        if (kFontKeys[slot]) writeText(iniPath, kFontKeys[slot], fontSpecs[slot]);
    }
    writeColour(iniPath, "ColorText", colorText);
    writeColour(iniPath, "ColorGray", colorGray);
    writeColour(iniPath, "ColorBack", colorBack);

    // The restored rectangle, also for a window minimised or hidden in the tray.
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (window && GetWindowPlacement(window, &placement)) windowPos = placement.rcNormalPosition;
    char storedRect[kStoredRectChars + 1];
    encodeStoredRect(windowPos, storedRect, sizeof storedRect);
    writeText(iniPath, "WindowPos", storedRect);

    writeColumnList(iniPath, "ColumnOrder", columnOrder);
    writeColumnList(iniPath, "ColumnWidth", columnWidth);
    return 1;
}

}  // namespace tarnuvo
