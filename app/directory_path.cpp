#include "app/directory_path.h"

#include <cstring>

#include "engine/text.h"

namespace tarnuvo {

bool endsWithBackslash(const char* text) {
    const char* last = findLastSeparator(text, '\\');
    return last && last[1] == '\0';
}

bool appendBackslash(char* text, size_t capacity) {
    if (endsWithBackslash(text)) return true;
    size_t length = std::strlen(text);
    if (length + 2 > capacity) return false;
    text[length] = '\\';
    text[length + 1] = '\0';
    return true;
}

}  // namespace tarnuvo
