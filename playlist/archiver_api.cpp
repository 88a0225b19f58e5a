#include "playlist/archiver_api.h"

#include <cstring>

namespace tarnuvo {

bool buildExportName(const char* prefix, const char* function, char (&out)[kExportNameSize]) {
    const size_t a = std::strlen(prefix);
    const size_t b = std::strlen(function);
    out[0] = '\0';
    if (a + b >= kExportNameSize) return false;
    std::memcpy(out, prefix, a);
    std::memcpy(out + a, function, b + 1);
    return true;
}

}  // namespace tarnuvo
