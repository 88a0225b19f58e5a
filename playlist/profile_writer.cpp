#include <cstdio>

#include "engine/text.h"
#include "playlist/profile_text.h"

namespace tarnuvo {
namespace {

// Where the last character of v begins, walking whole characters as the
// reader does; v.size() when v is empty.
size_t lastCharacter(const TextCodec& codec, const std::string& v) {
    size_t last = v.size();
    for (size_t i = 0; i < v.size();
         i += codec.isLeadByte(static_cast<uint8_t>(v[i])) && i + 1 < v.size() ? 2 : 1)
        last = i;
    return last;
}

}  // namespace

void ProfileWriter::section(const char* name) {
    out_ += '[';
    out_ += name;
    out_ += "]\r\n";
}

void ProfileWriter::line(const char* key, std::string_view value) {
    out_ += key;
    out_ += '=';
    out_ += value;
    out_ += "\r\n";
}

void ProfileWriter::text(const char* key, const char* value) {
    std::string v(value ? value : "");
    for (char& c : v)
        if (static_cast<uint8_t>(c) < 0x20) c = ' ';
    const TextCodec& codec = systemCodec();
    size_t last = lastCharacter(codec, v);
    if (last + 1 == v.size() && codec.isLeadByte(static_cast<uint8_t>(v[last]))) {
        v.pop_back();
        last = lastCharacter(codec, v);
    }
    const bool singleLast = !v.empty() && last == v.size() - 1;
    const bool edgeBlank = !v.empty() && (v[0] == ' ' || (singleLast && v[last] == ' '));
    const bool quoted =
        v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && singleLast && v[last] == v[0];
    if (edgeBlank || quoted) {
        out_ += key;
        out_ += "=\"";
        out_ += v;
        out_ += "\"\r\n";
    } else {
        line(key, v);
    }
}

void ProfileWriter::number(const char* key, uint32_t value) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%u", static_cast<unsigned>(value));
    line(key, digits);
}

void ProfileWriter::signedNumber(const char* key, int32_t value) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", static_cast<int>(value));
    line(key, digits);
}

}  // namespace tarnuvo
