#include "app/path_intake.h"

#include <cstring>

#include "app/directory_path.h"
#include "engine/text.h"

namespace tarnuvo {
namespace {

// The length of the text at `at`, or SIZE_MAX when it has no terminator
// before `size`.
size_t textLength(const char* buffer, size_t size, size_t at) {
    if (at >= size) return SIZE_MAX;
    const void* end = std::memchr(buffer + at, '\0', size - at);
    return end ? static_cast<size_t>(static_cast<const char*>(end) - (buffer + at)) : SIZE_MAX;
}

}  // namespace

bool hasLostCharacters(const char* path) {
    bool lost = false;
    forEachSingleByte(path, [&](size_t i) {
        lost = path[i] == '?';
        return !lost;
    });
    return lost;
}

void takePath(PathIntake& intake, const char* path) {
    if (path[0] == '\0') return;
    if (std::strlen(path) > kMaxPathBytes) {
        ++intake.tooLong;
    } else if (hasLostCharacters(path)) {
        ++intake.unnamed;
    } else {
        intake.paths.emplace_back(path);
    }
}

void takeJoinedPath(PathIntake& intake, const char* folder, const char* name) {
    std::string joined = folder;
    // The trail byte of a character such as ソ (0x83 0x5C) is no separator.
    if (!joined.empty() && !endsWithBackslash(folder)) joined += '\\';
    joined += name;
    takePath(intake, joined.c_str());
}

PathIntake splitSelection(const char* buffer, size_t size, size_t fileOffset) {
    PathIntake intake;
    const size_t first = textLength(buffer, size, 0);
    if (first == SIZE_MAX) return intake;
    if (fileOffset == 0 || fileOffset > size || buffer[fileOffset - 1] != '\0') {
        takePath(intake, buffer);
        return intake;
    }
    for (size_t at = fileOffset;;) {
        const size_t length = textLength(buffer, size, at);
        if (length == 0 || length == SIZE_MAX) break;
        takeJoinedPath(intake, buffer, buffer + at);
        at += length + 1;
    }
    return intake;
}

}  // namespace tarnuvo
