#include "playlist/byte_order_mark.h"

#include <cstring>

#include "engine/text.h"

namespace tarnuvo {
namespace {

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    const size_t units = bytes.size() / 2;
    auto unit = [&](size_t k) -> uint32_t {
        const auto a = static_cast<uint8_t>(bytes[2 * k]);
        const auto b = static_cast<uint8_t>(bytes[2 * k + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    for (size_t k = 0; k < units; ++k) {
        uint32_t u = unit(k);
        if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units) {
            const uint32_t low = unit(k + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++k;
                continue;
            }
        }
        // An unpaired surrogate stands for one unit the code page cannot hold.
        appendUtf8(out, u >= 0xD800 && u <= 0xDFFF ? 0xFFFD : u);
    }
    return out;
}

// UTF-8 to the ANSI code page through the injected codec, in pieces small
// enough for its buffers; NUL characters pass through as NUL bytes.
std::string utf8ToAnsi(const TextCodec& codec, std::string_view utf8) {
    constexpr size_t kPiece = 512;  // each input byte gives at most one output byte
    std::string out;
    out.reserve(utf8.size());
    std::string piece;
    char converted[kPiece * 2 + 2];
    size_t i = 0;
    while (i < utf8.size()) {
        if (utf8[i] == '\0') {
            out += '\0';
            ++i;
            continue;
        }
        size_t end = i;
        while (end < utf8.size() && end - i < kPiece && utf8[end] != '\0') ++end;
        // Never split a sequence unless it is longer than any valid one.
        if (end < utf8.size() && end - i == kPiece) {
            size_t back = end;
            while (back > i && end - back < 4 && (static_cast<uint8_t>(utf8[back]) & 0xC0) == 0x80)
                --back;
            if (back > i) end = back;
        }
        piece.assign(utf8.data() + i, end - i);
        const size_t n = codec.fromUtf8(piece.c_str(), converted, sizeof converted);
        out.append(converted, n);
        i = end;
    }
    return out;
}

}  // namespace

bool convertMarkedText(std::string& bytes) {
    const auto starts = [&](const char* mark, size_t n) {
        return bytes.size() >= n && std::memcmp(bytes.data(), mark, n) == 0;
    };
    const TextCodec& codec = systemCodec();
    const std::string_view all(bytes);
    if (starts("\xFF\xFE", 2) || starts("\xFE\xFF", 2)) {
        bytes = utf8ToAnsi(codec, utf16ToUtf8(all.substr(2), bytes[0] == '\xFE'));
        return true;
    }
    if (starts("\xEF\xBB\xBF", 3)) {
        bytes = utf8ToAnsi(codec, all.substr(3));
        return true;
    }
    return false;
}

}  // namespace tarnuvo
