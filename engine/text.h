// Text in the system's ANSI code page (a double-byte code page on the target
// systems). The two code-page dependent operations are injected so the
// platform-free core gives the same bytes natively as on Windows.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarnuvo {

struct TextCodec {
    // True when the byte starts a double-byte character.
    bool (*isLeadByte)(uint8_t byte);
    // Converts NUL-terminated UTF-8 to the ANSI code page. Writes at most
    // outSize bytes including a terminating zero; returns the length written.
    // Characters the code page lacks become '?'.
    size_t (*fromUtf8)(const char* utf8, char* out, size_t outSize);
};

// The platform's codec: the system code page on Windows, code page 932 natively.
const TextCodec& systemCodec();
// Replaces the codec (tests); nullptr restores the platform's.
void setCodec(const TextCodec* codec);

// Copies at most limit - 1 bytes of src (stopping at a zero or after srcMax
// bytes) into dst and terminates it, never splitting a double-byte character.
// Requires limit >= 1 and dst to hold limit bytes.
size_t copyText(char* dst, size_t limit, const char* src, size_t srcMax = SIZE_MAX);

// Cuts a terminated text in place to at most maxLen bytes on a character boundary.
void cutText(char* text, size_t maxLen);

// Calls visit(index) for each byte of text that is a character by itself,
// skipping both bytes of double-byte characters. A lead byte without its
// second byte ends the walk, and so does visit returning false.
template <typename Visit>
void forEachSingleByte(const char* text, Visit visit) {
    const TextCodec& codec = systemCodec();
    for (size_t i = 0; text[i] != '\0'; ++i) {
        if (codec.isLeadByte(static_cast<uint8_t>(text[i]))) {
            if (text[i + 1] == '\0') return;
            ++i;
            continue;
        }
        if (!visit(i)) return;
    }
}

// Last position of ch in text (a single-byte separator), skipping trail
// bytes of double-byte characters; nullptr when absent.
const char* findLastSeparator(const char* text, char ch);
// Last "\" or "/".
const char* findLastSlash(const char* text);

// atoi-like decimal value: leading white space, a sign, digits. Out-of-range
// values saturate to INT32_MIN/INT32_MAX, as the Windows C runtime does.
int32_t parseDecimal(const char* text);

// Case-insensitive ASCII prefix test; returns the rest or nullptr.
const char* matchPrefix(const char* text, const char* prefix);

}  // namespace tarnuvo
