#include "app/directory_path.h"

#include <windows.h>

#include "engine/text.h"
#include "engine/track_info.h"

namespace tarnuvo {
namespace {

bool isDirectory(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

int makeDirectoryPath(const char* path) {
    if (!path || !*path) return 0;
    char copy[kTextSize + 1];
    copyText(copy, kTextSize, path);
    if (!appendBackslash(copy, sizeof copy)) return 0;

    // Separators past the drive root become '/', the marks where a level ends.
    forEachSingleByte(copy, [&](size_t i) {
        if (i >= 3 && copy[i] == '\\') copy[i] = '/';
        return true;
    });
    // A network path keeps its server and share together as the first level.
    if (copy[0] == '\\') {
        forEachSingleByte(copy, [&](size_t i) {
            if (copy[i] != '/') return true;
            copy[i] = '\\';
            return false;
        });
    }

    bool ok = true;
    forEachSingleByte(copy, [&](size_t i) {
        if (copy[i] != '/') return true;
        copy[i] = '\0';
        // Another process may create the level between the test and the creation.
        ok = isDirectory(copy) || CreateDirectoryA(copy, nullptr) || isDirectory(copy);
        copy[i] = '\\';
        return ok;
    });
    return ok ? 1 : 0;
}

}  // namespace tarnuvo
