#include "app/settings_rules.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "engine/text.h"

namespace tarnuvo {

int32_t remainderInRange(int32_t value, int32_t modulus) {
    int32_t r = value % modulus;
    return r < 0 ? r + modulus : r;
}

void raiseToMinimumSize(RECT& rect) {
    // 64-bit sums: a damaged file may hold edges near the ends of the range.
    auto raised = [](LONG from, LONG to, LONG minimum) {
        if (static_cast<int64_t>(to) - from >= minimum) return to;
        int64_t wanted = static_cast<int64_t>(from) + minimum;
        return static_cast<LONG>(wanted > LONG_MAX ? LONG_MAX : wanted);
    };
    rect.right = raised(rect.left, rect.right, kMinimumWindowWidth);
    rect.bottom = raised(rect.top, rect.bottom, kMinimumWindowHeight);
}

static_assert(sizeof(RECT) == 16, "four 32-bit edges");

void encodeStoredRect(const RECT& rect, char* out, size_t size) {
    static const char digits[] = "0123456789ABCDEF";
    if (size < kStoredRectChars + 1) {
        if (size > 0) out[0] = '\0';
        return;
    }
    uint8_t bytes[sizeof(RECT)];
    std::memcpy(bytes, &rect, sizeof bytes);
    uint32_t sum = 0;
    for (size_t i = 0; i < sizeof bytes; ++i) {
        out[2 * i] = digits[bytes[i] >> 4];
        out[2 * i + 1] = digits[bytes[i] & 0x0F];
        sum += bytes[i];
    }
    out[32] = digits[(sum >> 4) & 0x0F];
    out[33] = digits[sum & 0x0F];
    out[34] = '\0';
}

bool decodeStoredRect(const char* text, RECT& rect) {
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    // Some profile readers accept longer values; the length must be exact.
    if (std::strlen(text) != kStoredRectChars) return false;
    uint8_t bytes[sizeof(RECT) + 1];
    for (size_t i = 0; i < sizeof bytes; ++i) {
        int high = nibble(text[2 * i]);
        int low = nibble(text[2 * i + 1]);
        if (high < 0 || low < 0) return false;
        bytes[i] = static_cast<uint8_t>(high << 4 | low);
    }
    uint32_t sum = 0;
    for (size_t i = 0; i < sizeof(RECT); ++i) sum += bytes[i];
    if ((sum & 0xFF) != bytes[sizeof(RECT)]) return false;
    std::memcpy(&rect, bytes, sizeof rect);
    return true;
}

void parseColumnList(const char* text, int32_t (&values)[kColumnCount]) {
    const char* piece = text;
    for (int32_t i = 0; i < kColumnCount && *piece != '\0'; ++i) {
        values[i] = parseDecimal(piece);
        while (*piece != '\0' && *piece != ':') ++piece;
        if (*piece == '\0') break;
        ++piece;
    }
}

void formatColumnList(const int32_t (&values)[kColumnCount], char* out, size_t size) {
    std::snprintf(out, size, "%d:%d:%d:%d", static_cast<int>(values[0]),
                  static_cast<int>(values[1]), static_cast<int>(values[2]),
                  static_cast<int>(values[3]));
}

void formatColour(COLORREF colour, char* out, size_t size) {
    std::snprintf(out, size, "0x%06X", static_cast<unsigned>(colour));
}

}  // namespace tarnuvo
