// Operating-system version flags.
#pragma once

#include <cstdint>

namespace tarnuvo {

enum OsFlag : uint32_t {
    Win9x = 0x01,
    Win98 = 0x02,
    WinMe = 0x04,
    WinNT = 0x08,
    Win2000 = 0x10,
    WinXP = 0x20,
    WinVista = 0x40,
};

// Flags from a version word: low byte major version, next byte minor
// version, bit 31 set for the Windows 95 family.
uint32_t osFlagsFromVersion(uint32_t versionWord);

// Flags of the running system.
uint32_t osVersionFlags();

}  // namespace tarnuvo
