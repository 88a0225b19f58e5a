// Loads an optional third-party DLL only from the program's own folder, the
// system folder or the Windows folder, in that order. A bare-name load would
// also search the current directory and the PATH, so a DLL planted beside a
// music file would run.
#pragma once

#include <cstddef>

#include "playlist/module_handle.h"

namespace tarnuvo {

// True for a plain file name: not empty, no separator, no drive, no "..".
bool isBareLibraryName(const char* name);

// Joins a folder (with or without a trailing separator) and a file name into
// out; false when the result would not fit.
bool joinLibraryPath(const char* folder, const char* name, char* out, size_t outSize);

// An empty handle when the name is not bare or no allowed folder holds it.
ModuleHandle loadTrustedLibrary(const char* name);

}  // namespace tarnuvo
