// The system's ANSI code page.
#include <windows.h>

#include <vector>

#include "engine/text.h"

namespace tarnuvo {
namespace {

bool isLeadByteAcp(uint8_t b) {
    return IsDBCSLeadByte(b) != FALSE;
}

size_t fromUtf8ToAcp(const char* utf8, char* out, size_t outSize) {
    if (outSize == 0) return 0;
    out[0] = '\0';
    int wide = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (wide <= 1) return 0;
    std::vector<wchar_t> w(static_cast<size_t>(wide));
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, w.data(), wide);
    // No best-fit mapping: a character the code page lacks becomes the
    // default character instead of a look-alike.
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    int bytes = WideCharToMultiByte(CP_ACP, flags, w.data(), -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return 0;
    std::vector<char> a(static_cast<size_t>(bytes));
    WideCharToMultiByte(CP_ACP, flags, w.data(), -1, a.data(), bytes, nullptr, nullptr);
    return copyText(out, outSize, a.data());
}

}  // namespace

const TextCodec& platformCodec() {
    static const TextCodec codec{isLeadByteAcp, fromUtf8ToAcp};
    return codec;
}

}  // namespace tarnuvo
