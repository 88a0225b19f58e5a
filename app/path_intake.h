// Paths that reach the loader from the file dialogs and from dropped files,
// in the ANSI code page. A path that cannot be used whole is left out and
// counted, never cut: a cut path can name another existing file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/command_line.h"  // kMaxPathBytes

namespace tarnuvo {

struct PathIntake {
    std::vector<std::string> paths;
    int32_t tooLong = 0;  // longer than kMaxPathBytes
    int32_t unnamed = 0;  // names the code page cannot show
};

// True when `path` holds a "?" that is a character by itself. A name with
// characters outside the code page comes back from the system that way, and
// no file name holds one.
bool hasLostCharacters(const char* path);

// Appends `path` to the intake unless it is too long or has lost characters.
void takePath(PathIntake& intake, const char* path);

// Joins a folder and a name with one "\" between them (none when the folder
// already ends in a real one, as a drive root does) and takes the result.
void takeJoinedPath(PathIntake& intake, const char* folder, const char* name);

// Splits the result buffer of an open dialog with multiple selection: one
// full path when the byte before `fileOffset` is not NUL; otherwise the
// folder, then from `fileOffset` on the names, each ended by a NUL, up to an
// empty name. Nothing at or past `size` is read; a text that has no
// terminator inside the buffer is left out.
PathIntake splitSelection(const char* buffer, size_t size, size_t fileOffset);

}  // namespace tarnuvo
