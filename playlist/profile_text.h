// INI text read and written in one pass each, with the results the platform's
// private-profile functions give for the same bytes: GetPrivateProfileStringA
// and GetPrivateProfileIntA on reading, "[Section]" and "Key=Value" lines on
// writing. Those functions rewrite or rescan the whole file per key; a list of
// thousands of entries needs one pass instead.
//
// Reading, in the ANSI code page:
// - a line ends at CR or LF; leading blanks (space, tab to CR, and 0x1A) are
//   skipped, blank lines ignored;
// - a line whose first byte is '[' names a section up to its last ']', blanks
//   around the name trimmed; without a ']' the line is ignored;
// - any other line is a key up to its first '=' and a value after it, both
//   trimmed; a line without '=' is a key without a value, which reads as the
//   default but still hides later keys of its name;
// - names compare without regard to ASCII case; the first section of a name
//   and the first key of a name in it are the ones read; keys before the
//   first header form a section without a name, and a header without a name
//   starts a section that no name finds;
// - a value loses one pair of enclosing matching quotes (' or ");
// - a text, a key or a name ends at a NUL byte.
// Every search for ']', '=' and quotes, and every cut, walks whole characters,
// so a trail byte of a double-byte character is never taken for one of them.
// A file that begins with a UTF-16 (LE or BE) or UTF-8 byte-order mark is read
// as that encoding and converted to the ANSI code page first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnuvo {

// A key's value as found: present only when the first key of that name in the
// section has an '='. `raw` is trimmed and still quoted.
struct ProfileValue {
    bool present = false;
    std::string_view raw;
};

class ProfileText {
public:
    // Keeps the bytes (converted when they begin with a byte-order mark) and
    // indexes their sections.
    explicit ProfileText(std::string bytes);
    ProfileText(const ProfileText&) = delete;
    ProfileText& operator=(const ProfileText&) = delete;

    // The first section of that name, or -1.
    int32_t findSection(std::string_view name) const;
    int32_t sectionCount() const { return static_cast<int32_t>(sections_.size()); }
    std::string_view sectionName(int32_t index) const;

    // Looks up `count` keys of one section in a single pass over it. An absent
    // section (-1) gives absent values.
    void lookup(int32_t section, const char* const* keys, size_t count, ProfileValue* out) const;
    ProfileValue lookup(int32_t section, const char* key) const;

private:
    struct Section {
        uint32_t nameBegin, nameLength;
        uint32_t bodyBegin, bodyEnd;  // the lines after the header
        bool leading;                 // the keys before the first header
    };
    void index();

    std::string text_;
    std::vector<Section> sections_;
    std::vector<uint32_t> byName_;  // section indices sorted by name, then index
};

// The value as GetPrivateProfileStringA returns it with the default "" into a
// buffer of outSize bytes: quotes removed, cut to outSize - 1 bytes on a
// character boundary. Returns the length written.
size_t profileText(const ProfileValue& value, char* out, size_t outSize);

// The value as GetPrivateProfileIntA returns it: the fallback when absent or
// empty, else leading bytes up to a space skipped, a sign, a "0x", "0o" or
// "0b" prefix and the digits up to the first byte that is none, wrapping
// around modulo 2^32.
uint32_t profileInt(const ProfileValue& value, uint32_t fallback);
uint32_t parseProfileInt(std::string_view unquoted, uint32_t fallback);

// Builds INI text with CRLF line ends and no spaces around '='.
class ProfileWriter {
public:
    void reserve(size_t bytes) { out_.reserve(bytes); }
    void section(const char* name);
    // Writes the value so that it reads back unchanged: bytes below 0x20
    // become spaces (no text can break a line), a lead byte without its second
    // byte at the end is left out, and a value with a blank at either end or
    // enclosed in matching quotes goes inside one pair of double quotes.
    void text(const char* key, const char* value);
    void number(const char* key, uint32_t value);
    void signedNumber(const char* key, int32_t value);

    const std::string& bytes() const { return out_; }
    std::string take() { return std::move(out_); }

private:
    void line(const char* key, std::string_view value);
    std::string out_;
};

}  // namespace tarnuvo
