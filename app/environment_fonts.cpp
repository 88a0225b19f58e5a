// The six fonts of the information panel and the playlist.
#include <windows.h>

#include "app/app_environment.h"
#include "app/font_spec.h"

namespace tarnuvo {

UniqueFont AppEnvironment::fontFromSpec(int32_t index, int32_t defaultSize, bool defaultBold,
                                        bool defaultItalic) const {
    if (index < 0 || index >= FontSlotCount) return UniqueFont();
    LOGFONTA description;
    if (!fontDescription(fontSpecs[index], defaultSize, defaultBold, defaultItalic, description))
        return UniqueFont();
    return UniqueFont(CreateFontIndirectA(&description));
}

void AppEnvironment::createFonts() {
    titleFont = fontFromSpec(FontTitleSlot, 16, true, false);
    timeFont = fontFromSpec(FontTimeSlot, 16, true, false);
    // One spec, two fonts: the weight -1 of the default makes a regular and a bold one.
    infoFont = fontFromSpec(FontInfoSlot, 12, false, false);
    infoBoldFont = fontFromSpec(FontInfoSlot, 12, true, false);
    fileFont = fontFromSpec(FontFileSlot, 12, false, false);
    listFont = fontFromSpec(FontListSlot, 12, false, false);
}

}  // namespace tarnuvo
