#include "engine/text.h"

#include <atomic>
#include <climits>

namespace tarnuvo {

const TextCodec& platformCodec();  // text_cp932.cpp or text_win.cpp

namespace {
std::atomic<const TextCodec*> g_codec{nullptr};
}

const TextCodec& systemCodec() {
    const TextCodec* c = g_codec.load(std::memory_order_acquire);
    return c ? *c : platformCodec();
}

void setCodec(const TextCodec* codec) {
    g_codec.store(codec, std::memory_order_release);
}

size_t copyText(char* dst, size_t limit, const char* src, size_t srcMax) {
    const TextCodec& codec = systemCodec();
    size_t n = 0;
    const size_t room = limit - 1;
    while (n < room && n < srcMax && src[n] != '\0') {
        if (codec.isLeadByte(static_cast<uint8_t>(src[n]))) {
            // Both bytes must fit and exist, or the character is left out.
            if (n + 1 >= room || n + 1 >= srcMax || src[n + 1] == '\0') break;
            dst[n] = src[n];
            dst[n + 1] = src[n + 1];
            n += 2;
        } else {
            dst[n] = src[n];
            ++n;
        }
    }
    dst[n] = '\0';
    return n;
}

void cutText(char* text, size_t maxLen) {
    const TextCodec& codec = systemCodec();
    size_t n = 0;
    while (text[n] != '\0') {
        size_t step =
            codec.isLeadByte(static_cast<uint8_t>(text[n])) && text[n + 1] != '\0' ? 2 : 1;
        if (n + step > maxLen) break;
        n += step;
    }
    text[n] = '\0';
}

const char* findLastSeparator(const char* text, char ch) {
    const char* found = nullptr;
    forEachSingleByte(text, [&](size_t i) {
        if (text[i] == ch) found = text + i;
        return true;
    });
    return found;
}

const char* findLastSlash(const char* text) {
    const char* a = findLastSeparator(text, '\\');
    const char* b = findLastSeparator(text, '/');
    return a > b ? a : b;
}

int32_t parseDecimal(const char* text) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > static_cast<int64_t>(INT32_MAX) + 1)
            value = static_cast<int64_t>(INT32_MAX) + 1;
    }
    if (negative) return value > INT32_MAX ? INT32_MIN : static_cast<int32_t>(-value);
    return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

const char* matchPrefix(const char* text, const char* prefix) {
    for (; *prefix != '\0'; ++prefix, ++text) {
        char a = *text, b = *prefix;
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
        if (a != b) return nullptr;
    }
    return text;
}

}  // namespace tarnuvo
