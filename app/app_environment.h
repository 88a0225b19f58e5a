// The process environment: the user settings, the system's version flags, the
// six fonts, and the private temporary directory with the one temporary file
// remembered for deletion.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "base/handles.h"
#include "app/os_version.h"
#include "app/settings_rules.h"
#include "engine/player_environment.h"

namespace tarnuvo {

enum FontSlot : int32_t {
    FontTitleSlot = 0,
    FontTimeSlot = 1,
    FontInfoSlot = 2,
    FontUnusedSlot = 3,  // has no key and stays empty
    FontFileSlot = 4,
    FontListSlot = 5,
    FontSlotCount = 6,
};

// The folder under the system's temporary path that archive members are
// extracted into.
constexpr const char kTempDirName[] = "~TV$TMP\\";
constexpr const char kSettingsSection[] = "Tarnuvo";

// Where the environment finds the program file (beside which the settings
// live) and the system's temporary path; tests point both at scratch folders.
struct EnvironmentPaths {
    const char* modulePath = nullptr;  // null: this program's own file
    const char* tempPath = nullptr;    // null: the system's temporary path
};

class AppEnvironment : public PlayerEnvironment {
public:
    AppEnvironment();
    explicit AppEnvironment(const EnvironmentPaths& paths);
    ~AppEnvironment() override;
    AppEnvironment(const AppEnvironment&) = delete;
    AppEnvironment& operator=(const AppEnvironment&) = delete;

    // Settings file. loadSettings returns 0 when the program path has no '.'
    // (then there is no settings file at all), 1 otherwise. saveSettings
    // returns 0 when there is no settings file; `window` gives windowPos.
    int loadSettings();
    int saveSettings(HWND window);
    // Column order and widths of the playlist's list view.
    void applyColumns(HWND listView) const;
    void readColumns(HWND listView);

    // The font defaults of a system with these version flags.
    void applyFontDefaults(uint32_t flags);
    // The six fonts from the specs; a spec that gives no font leaves null.
    void createFonts();
    UniqueFont fontFromSpec(int32_t index, int32_t defaultSize, bool defaultBold,
                            bool defaultItalic) const;

    // Empty when archive extraction is disabled for this run.
    const char* temporaryDirectory() const override { return tempDir; }
    // tempDir followed by the base name of memberName (the text after its
    // last '\' or '/'), cut to fit. 0, with `out` empty, when extraction is
    // disabled.
    int tempFileFor(const char* memberName, char* out, size_t maxLength) const;
    bool tempFileFor(const char* memberName, char (&out)[kTextSize]) override;
    // Makes `path` the remembered temporary file, deleting the one
    // remembered before unless it is the same file.
    void rememberTempFile(const char* path);

    char iniPath[kTextSize] = {};
    uint32_t osFlags = 0;

    // Settings; playMode, loopIgnore, loopCount and showVideo are inherited.
    RECT windowPos = {0, 0, 0, 0};
    int32_t windowShown = 1;  // never stored
    int32_t showList = 1;
    int32_t gridLine = 0;
    int32_t timeMode = 1;
    int32_t waveOutOff = 0;  // never stored
    int32_t alwaysOnTop = 0;
    int32_t columnOrder[kColumnCount] = {0, 1, 2, 3};
    int32_t columnWidth[kColumnCount] = {160, 60, 40, 90};
    COLORREF colorText = 0xFFFF00;
    COLORREF colorGray = 0x808000;
    COLORREF colorBack = 0x000000;

    char fontSpecs[FontSlotCount][kTextSize] = {};
    char (&fontTitle)[kTextSize] = fontSpecs[FontTitleSlot];
    char (&fontTime)[kTextSize] = fontSpecs[FontTimeSlot];
    char (&fontInfo)[kTextSize] = fontSpecs[FontInfoSlot];
    char (&fontFile)[kTextSize] = fontSpecs[FontFileSlot];
    char (&fontList)[kTextSize] = fontSpecs[FontListSlot];

    UniqueFont titleFont;
    UniqueFont timeFont;
    UniqueFont infoFont;
    UniqueFont infoBoldFont;
    UniqueFont fileFont;
    UniqueFont listFont;

    char tempDir[kTextSize] = {};
    char tempFile[kTextSize] = {};

private:
    void makeTempDir(const char* tempPath);

    char modulePath_[kTextSize] = {};  // empty: ask the system
};

}  // namespace tarnuvo
