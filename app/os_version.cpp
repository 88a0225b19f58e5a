#include "app/os_version.h"

#include <windows.h>

namespace tarnuvo {

uint32_t osFlagsFromVersion(uint32_t versionWord) {
    const uint32_t major = versionWord & 0xFF;
    const uint32_t minor = (versionWord >> 8) & 0xFF;
    if (versionWord & 0x80000000u) {
        uint32_t flags = Win9x;
        if (major >= 4 && minor >= 10) flags |= Win98;
        if (major >= 4 && minor >= 90) flags |= WinMe;
        return flags;
    }
    uint32_t flags = WinNT;
    if (major >= 5) flags |= Win2000;
    if ((major == 5 && minor >= 1) || major >= 6) flags |= WinXP;
    if (major >= 6) flags |= WinVista;
    return flags;
}

uint32_t osVersionFlags() {
    // Without a compatibility manifest later systems report 6.2; only the
    // Win2000 and WinXP bits are read, and those are right either way.
    return osFlagsFromVersion(static_cast<uint32_t>(GetVersion()));
}

}  // namespace tarnuvo
