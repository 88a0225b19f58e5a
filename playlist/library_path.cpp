#include <cstring>

#include "engine/text.h"
#include "playlist/trusted_library.h"

namespace tarnuvo {

bool isBareLibraryName(const char* name) {
    if (!name || name[0] == '\0') return false;
    if (findLastSlash(name) || findLastSeparator(name, ':')) return false;
    return std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0;
}

bool joinLibraryPath(const char* folder, const char* name, char* out, size_t outSize) {
    if (outSize == 0) return false;
    out[0] = '\0';
    const size_t folderLen = std::strlen(folder);
    const size_t nameLen = std::strlen(name);
    if (folderLen == 0) return false;
    const char* last = findLastSlash(folder);
    const bool needsSlash = !(last && last[1] == '\0');
    const size_t total = folderLen + (needsSlash ? 1 : 0) + nameLen;
    if (total >= outSize) return false;
    std::memcpy(out, folder, folderLen);
    size_t n = folderLen;
    if (needsSlash) out[n++] = '\\';
    std::memcpy(out + n, name, nameLen + 1);
    return true;
}

}  // namespace tarnuvo
