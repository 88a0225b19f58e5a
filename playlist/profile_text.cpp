#include "playlist/profile_text.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "engine/text.h"
#include "playlist/byte_order_mark.h"

namespace tarnuvo {
namespace {

bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A';
}

char foldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (foldCase(a[i]) != foldCase(b[i])) return false;
    return true;
}

int compareIgnoringCase(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const auto x = static_cast<uint8_t>(foldCase(a[i]));
        const auto y = static_cast<uint8_t>(foldCase(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Bytes of the character at text[i] when the text ends at `end`: a lead byte
// takes the next byte with it unless that is the end or a NUL.
size_t charLength(const TextCodec& codec, const char* text, size_t i, size_t end) {
    return codec.isLeadByte(static_cast<uint8_t>(text[i])) && i + 1 < end && text[i + 1] != '\0'
               ? 2
               : 1;
}

std::string_view upToNul(std::string_view s) {
    const size_t nul = s.find('\0');
    return nul == std::string_view::npos ? s : s.substr(0, nul);
}

// The parts of one line that is not a header: key before the first '=',
// value after it, both trimmed. One walk over the characters.
struct KeyLine {
    std::string_view key;
    std::string_view value;
    bool hasValue = false;
};

KeyLine splitKeyLine(const TextCodec& codec, const char* line, size_t length) {
    KeyLine out;
    size_t i = 0;
    size_t keyEnd = 0;  // end of the last non-blank character of the key
    while (i < length) {
        if (line[i] == '=') {
            out.hasValue = true;
            break;
        }
        const size_t step = charLength(codec, line, i, length);
        if (step == 2 || !isBlank(line[i])) keyEnd = i + step;
        i += step;
    }
    out.key = upToNul(std::string_view(line, keyEnd));
    if (!out.hasValue) return out;
    ++i;
    while (i < length && isBlank(line[i])) ++i;
    const size_t valueBegin = i;
    size_t valueEnd = i;
    while (i < length) {
        const size_t step = charLength(codec, line, i, length);
        if (step == 2 || !isBlank(line[i])) valueEnd = i + step;
        i += step;
    }
    out.value = upToNul(std::string_view(line + valueBegin, valueEnd - valueBegin));
    return out;
}

// Calls visit(begin, length) for every line that has more than blanks, with
// the leading blanks skipped; lines end at CR or LF.
template <typename Visit>
void forEachLine(std::string_view text, size_t from, size_t to, Visit visit) {
    const char* p = text.data();
    size_t i = from;
    while (i < to) {
        size_t end = i;
        while (end < to && p[end] != '\n' && p[end] != '\r') ++end;
        size_t b = i;
        while (b < end && isBlank(p[b])) ++b;
        if (b < end && !visit(b, end - b, i)) return;
        i = end + 1;
    }
}

}  // namespace

ProfileText::ProfileText(std::string bytes) : text_(std::move(bytes)) {
    convertMarkedText(text_);
    index();
}

void ProfileText::index() {
    // Offsets are 32-bit; the callers cap the size of what they read far below.
    if (text_.size() > UINT32_MAX) text_.resize(UINT32_MAX);
    const TextCodec& codec = systemCodec();
    const char* p = text_.data();
    forEachLine(text_, 0, text_.size(), [&](size_t b, size_t length, size_t lineStart) {
        if (p[b] != '[') {
            // Keys before the first header form a section without a name.
            if (sections_.empty())
                sections_.push_back({0, 0, 0, static_cast<uint32_t>(text_.size()), true});
            return true;
        }
        size_t close = 0;
        bool found = false;
        for (size_t i = b + 1; i < b + length; i += charLength(codec, p, i, b + length)) {
            if (p[i] == ']') {
                close = i;
                found = true;
            }
        }
        if (!found) return true;  // neither a header nor a key
        size_t nameBegin = b + 1;
        while (nameBegin < close && isBlank(p[nameBegin])) ++nameBegin;
        size_t nameEnd = nameBegin;
        for (size_t i = nameBegin; i < close; i += charLength(codec, p, i, close)) {
            const size_t step = charLength(codec, p, i, close);
            if (step == 2 || !isBlank(p[i])) nameEnd = i + step;
        }
        const std::string_view name = upToNul(std::string_view(p + nameBegin, nameEnd - nameBegin));
        if (!sections_.empty()) sections_.back().bodyEnd = static_cast<uint32_t>(lineStart);
        size_t bodyBegin = b + length;
        if (bodyBegin < text_.size()) ++bodyBegin;  // past the line end
        sections_.push_back({static_cast<uint32_t>(nameBegin), static_cast<uint32_t>(name.size()),
                             static_cast<uint32_t>(bodyBegin), static_cast<uint32_t>(text_.size()),
                             false});
        return true;
    });
    // Only the keys before the first header are found under the empty name;
    // a header without a name delimits a section that no name finds.
    byName_.reserve(sections_.size());
    for (size_t i = 0; i < sections_.size(); ++i)
        if (sections_[i].nameLength > 0 || sections_[i].leading)
            byName_.push_back(static_cast<uint32_t>(i));
    std::sort(byName_.begin(), byName_.end(), [&](uint32_t a, uint32_t b) {
        const int c = compareIgnoringCase(sectionName(static_cast<int32_t>(a)),
                                          sectionName(static_cast<int32_t>(b)));
        return c != 0 ? c < 0 : a < b;
    });
}

std::string_view ProfileText::sectionName(int32_t index) const {
    if (index < 0 || index >= sectionCount()) return {};
    const Section& s = sections_[static_cast<size_t>(index)];
    return std::string_view(text_).substr(s.nameBegin, s.nameLength);
}

int32_t ProfileText::findSection(std::string_view name) const {
    name = upToNul(name);
    auto it = std::lower_bound(
        byName_.begin(), byName_.end(), name, [&](uint32_t index, std::string_view wanted) {
            return compareIgnoringCase(sectionName(static_cast<int32_t>(index)), wanted) < 0;
        });
    if (it == byName_.end() || !equalsIgnoringCase(sectionName(static_cast<int32_t>(*it)), name))
        return -1;
    return static_cast<int32_t>(*it);
}

void ProfileText::lookup(int32_t section, const char* const* keys, size_t count,
                         ProfileValue* out) const {
    constexpr size_t kBatch = 64;
    while (count > kBatch) {
        lookup(section, keys, kBatch, out);
        keys += kBatch;
        out += kBatch;
        count -= kBatch;
    }
    for (size_t k = 0; k < count; ++k) out[k] = ProfileValue{};
    if (section < 0 || section >= sectionCount() || count == 0) return;
    const Section& s = sections_[static_cast<size_t>(section)];
    const TextCodec& codec = systemCodec();
    uint64_t seen = 0;
    size_t left = count;
    forEachLine(text_, s.bodyBegin, s.bodyEnd, [&](size_t b, size_t length, size_t) {
        if (text_[b] == '[') return true;  // a line without ']', ignored
        const KeyLine line = splitKeyLine(codec, text_.data() + b, length);
        for (size_t k = 0; k < count; ++k) {
            if ((seen & (uint64_t{1} << k)) != 0 || !equalsIgnoringCase(line.key, upToNul(keys[k])))
                continue;
            seen |= uint64_t{1} << k;
            --left;
            if (line.hasValue) out[k] = ProfileValue{true, line.value};
        }
        return left > 0;
    });
}

ProfileValue ProfileText::lookup(int32_t section, const char* key) const {
    ProfileValue v;
    lookup(section, &key, 1, &v);
    return v;
}

namespace {

// The value with one enclosing pair of matching quotes removed; the closing
// quote must be a character of its own, not the second byte of one.
std::string_view unquote(std::string_view raw) {
    if (raw.size() < 2 || (raw[0] != '"' && raw[0] != '\'')) return raw;
    const TextCodec& codec = systemCodec();
    size_t last = 0;
    for (size_t i = 0; i < raw.size(); i += charLength(codec, raw.data(), i, raw.size())) last = i;
    if (last != raw.size() - 1 || raw[last] != raw[0]) return raw;
    return raw.substr(1, raw.size() - 2);
}

}  // namespace

size_t profileText(const ProfileValue& value, char* out, size_t outSize) {
    if (outSize == 0) return 0;
    const std::string_view v = value.present ? unquote(value.raw) : std::string_view();
    const TextCodec& codec = systemCodec();
    size_t n = 0;
    while (n < v.size()) {
        const size_t step = charLength(codec, v.data(), n, v.size());
        if (n + step > outSize - 1) break;
        n += step;
    }
    if (n > 0) std::memcpy(out, v.data(), n);
    out[n] = '\0';
    return n;
}

uint32_t parseProfileInt(std::string_view s, uint32_t fallback) {
    if (s.empty()) return fallback;
    size_t i = 0;
    while (i < s.size() && static_cast<uint8_t>(s[i]) <= ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    uint32_t base = 10;
    if (i + 1 < s.size() && s[i] == '0') {
        const char p = s[i + 1];
        base = p == 'x' ? 16 : p == 'o' ? 8 : p == 'b' ? 2 : 10;
        if (base != 10) i += 2;
    }
    uint32_t total = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        uint32_t digit = 99;
        if (c >= '0' && c <= '9') digit = static_cast<uint32_t>(c - '0');
        if (c >= 'a' && c <= 'z') digit = static_cast<uint32_t>(c - 'a' + 10);
        if (c >= 'A' && c <= 'Z') digit = static_cast<uint32_t>(c - 'A' + 10);
        if (digit >= base) break;
        total = total * base + digit;  // wraps around modulo 2^32
    }
    return negative ? 0u - total : total;
}

uint32_t profileInt(const ProfileValue& value, uint32_t fallback) {
    return value.present ? parseProfileInt(unquote(value.raw), fallback) : fallback;
}

}  // namespace tarnuvo
