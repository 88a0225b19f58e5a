// Code page 932 for the platform-free build, so native tests see the bytes a
// Japanese Windows produces.
#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "engine/text.h"

namespace tarnuvo {
namespace {

bool isLeadByte932(uint8_t b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length of the UTF-8 sequence starting at p, or 1 for an invalid byte.
size_t utf8SequenceLength(const unsigned char* p) {
    if (p[0] < 0x80) return 1;
    size_t len = (p[0] & 0xE0) == 0xC0   ? 2
                 : (p[0] & 0xF0) == 0xE0 ? 3
                 : (p[0] & 0xF8) == 0xF0 ? 4
                                         : 0;
    if (len == 0) return 1;
    for (size_t i = 1; i < len; ++i)
        if ((p[i] & 0xC0) != 0x80) return 1;
    return len;
}

size_t fromUtf8To932(const char* utf8, char* out, size_t outSize) {
    if (outSize == 0) return 0;
    out[0] = '\0';
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
    // Convert into a scratch buffer large enough for the whole text, then cut
    // on a character boundary.
    size_t inLeft = std::strlen(utf8);
    char scratch[2048];
    char* in = const_cast<char*>(utf8);
    char* o = scratch;
    size_t outLeft = sizeof(scratch) - 1;
    while (inLeft > 0 && outLeft > 0) {
        if (iconv(cd, &in, &inLeft, &o, &outLeft) != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) break;
        // Unmappable or invalid: one '?' per UTF-16 unit, as the Windows
        // conversion through UTF-16 gives (two for a character beyond the BMP).
        size_t skip = utf8SequenceLength(reinterpret_cast<unsigned char*>(in));
        if (skip > inLeft) skip = inLeft;
        in += skip;
        inLeft -= skip;
        for (size_t units = skip == 4 ? 2 : 1; units > 0 && outLeft > 0; --units, --outLeft)
            *o++ = '?';
    }
    iconv_close(cd);
    *o = '\0';
    return copyText(out, outSize, scratch);
}

}  // namespace

const TextCodec& platformCodec() {
    static const TextCodec codec{isLeadByte932, fromUtf8To932};
    return codec;
}

}  // namespace tarnuvo
