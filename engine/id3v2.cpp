#include "engine/id3v2.h"

#include <cstring>
#include <string>
#include <vector>

#include "engine/text.h"

namespace tarnuvo {
namespace {

constexpr uint8_t kUnsynchronised = 0x80;
constexpr uint8_t kExtendedHeader = 0x40;  // in 2.2: compressed, a scheme never defined
constexpr uint8_t kFooter = 0x10;
constexpr uint32_t kFooterBytes = 10;
constexpr size_t kMaxUtf8 = kUtf8TextSize - 1;

uint32_t be32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
}
uint32_t syncsafe32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0] & 0x7F) << 21 | static_cast<uint32_t>(p[1] & 0x7F) << 14 |
           static_cast<uint32_t>(p[2] & 0x7F) << 7 | (p[3] & 0x7F);
}

// Drops the zero that unsynchronisation stuffs after every 0xFF.
void resynchronise(std::vector<uint8_t>& bytes) {
    size_t out = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[out++] = bytes[i];
        if (bytes[i] == 0xFF && i + 1 < bytes.size() && bytes[i + 1] == 0) ++i;
    }
    bytes.resize(out);
}

void putUtf8(std::string& out, uint32_t cp) {
    char b[4];
    size_t n;
    if (cp < 0x80) {
        b[0] = static_cast<char>(cp);
        n = 1;
    } else if (cp < 0x800) {
        b[0] = static_cast<char>(0xC0 | cp >> 6);
        b[1] = static_cast<char>(0x80 | (cp & 0x3F));
        n = 2;
    } else if (cp < 0x10000) {
        b[0] = static_cast<char>(0xE0 | cp >> 12);
        b[1] = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        b[2] = static_cast<char>(0x80 | (cp & 0x3F));
        n = 3;
    } else {
        b[0] = static_cast<char>(0xF0 | cp >> 18);
        b[1] = static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        b[2] = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        b[3] = static_cast<char>(0x80 | (cp & 0x3F));
        n = 4;
    }
    if (out.size() + n <= kMaxUtf8) out.append(b, n);
}

const uint8_t* decodeUtf16(bool bigEndian, const uint8_t* p, const uint8_t* end, std::string& out) {
    if (end - p >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF))) {
        bigEndian = p[0] == 0xFE;
        p += 2;
    }
    auto unit = [bigEndian](const uint8_t* u) {
        return bigEndian ? static_cast<uint32_t>(u[0] << 8 | u[1])
                         : static_cast<uint32_t>(u[1] << 8 | u[0]);
    };
    while (end - p >= 2) {
        uint32_t cp = unit(p);
        p += 2;
        if (cp == 0) return p;
        if (cp >= 0xD800 && cp < 0xDC00 && end - p >= 2) {
            const uint32_t low = unit(p);
            if (low >= 0xDC00 && low < 0xE000) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                p += 2;
            }
        }
        putUtf8(out, cp >= 0xD800 && cp < 0xE000 ? 0xFFFD : cp);
    }
    return end;
}

// The first string of a text in `encoding` from [p, end): code-page bytes
// as they are (0), UTF-16 (1, 2) and UTF-8 (3) as UTF-8, cut on a character
// to fit kUtf8TextSize. Returns where the next string starts.
const uint8_t* decodeString(uint8_t encoding, const uint8_t* p, const uint8_t* end,
                            std::string& out) {
    out.clear();
    if (encoding == 1 || encoding == 2) return decodeUtf16(encoding == 2, p, end, out);
    const void* zero = std::memchr(p, 0, static_cast<size_t>(end - p));
    const uint8_t* stop = zero ? static_cast<const uint8_t*>(zero) : end;
    if (encoding == 3 && stop - p >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) p += 3;
    size_t n = static_cast<size_t>(stop - p);
    if (n > kMaxUtf8) {
        n = kMaxUtf8;
        // Never leave half a UTF-8 sequence (encoding 0 is cut again later).
        while (encoding == 3 && n > 0 && (p[n] & 0xC0) == 0x80) --n;
    }
    out.assign(reinterpret_cast<const char*>(p), n);
    return zero ? stop + 1 : end;
}

// Code-page bytes as UTF-8 for the loop-tag reader: loop names and values
// are ASCII, so every other character becomes '?'.
void codePageToAscii(std::string& text) {
    const TextCodec& codec = systemCodec();
    size_t out = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<uint8_t>(text[i]);
        if (b >= 0x80) {
            if (codec.isLeadByte(b) && i + 1 < text.size()) ++i;
            text[out++] = '?';
        } else {
            text[out++] = text[i];
        }
    }
    text.resize(out);
}

void setText(char (&dst)[kTextSize], uint8_t encoding, const std::string& text) {
    if (text.empty()) return;
    if (encoding == 0) {
        copyText(dst, kTextSize, text.c_str());
    } else {
        dst[0] = '\0';
        systemCodec().fromUtf8(text.c_str(), dst, kTextSize);
    }
}

enum class Frame { Other, Title, Artist, UserText };

Frame frameOf(const uint8_t* id, uint8_t major) {
    const char* names[3] = {"TIT2", "TPE1", "TXXX"};
    const char* names22[3] = {"TT2", "TP1", "TXX"};
    const size_t n = major == 2 ? 3 : 4;
    for (int i = 0; i < 3; ++i) {
        if (std::memcmp(id, major == 2 ? names22[i] : names[i], n) == 0) {
            return static_cast<Frame>(i + 1);
        }
    }
    return Frame::Other;
}

void readFrame(Frame frame, const std::vector<uint8_t>& data, Id3v2Texts& texts,
               LoopTagReader& loopTags) {
    if (data.empty() || data[0] > 3) return;
    const uint8_t encoding = data[0];
    const uint8_t* p = data.data() + 1;
    const uint8_t* end = data.data() + data.size();
    std::string text;
    if (frame == Frame::UserText) {
        std::string name;
        p = decodeString(encoding, p, end, name);
        decodeString(encoding, p, end, text);
        if (encoding == 0) {
            codePageToAscii(name);
            codePageToAscii(text);
        }
        loopTags.addPair(name.data(), name.size(), text.data(), text.size());
        return;
    }
    decodeString(encoding, p, end, text);
    setText(frame == Frame::Title ? texts.title : texts.artist, encoding, text);
}

}  // namespace

uint64_t id3v2TagBytes(const uint8_t* header, size_t size) {
    if (size < kId3v2HeaderBytes || std::memcmp(header, "ID3", 3) != 0) return 0;
    const uint8_t major = header[3];
    if (major < 2 || major > 4 || header[4] == 0xFF) return 0;
    if ((header[6] | header[7] | header[8] | header[9]) & 0x80) return 0;
    const bool footer = major == 4 && (header[5] & kFooter);
    return kId3v2HeaderBytes + static_cast<uint64_t>(syncsafe32(header + 6)) +
           (footer ? kFooterBytes : 0);
}

void readId3v2(const uint8_t* tag, size_t size, Id3v2Texts& texts, LoopTagReader& loopTags) {
    if (id3v2TagBytes(tag, size) == 0) return;
    const uint8_t major = tag[3];
    const uint8_t flags = tag[5];
    if (major == 2 && (flags & kExtendedHeader)) return;
    const size_t declared = syncsafe32(tag + 6);
    const size_t given = size - kId3v2HeaderBytes;
    std::vector<uint8_t> body(tag + kId3v2HeaderBytes,
                              tag + kId3v2HeaderBytes + (declared < given ? declared : given));
    // Before 2.4 the whole tag is unsynchronised; in 2.4 each frame is.
    if ((flags & kUnsynchronised) && major < 4) resynchronise(body);
    size_t at = 0;
    if ((flags & kExtendedHeader) && major > 2) {
        if (body.size() < 4) return;
        // 2.3 counts the size field out, 2.4 in.
        const uint64_t extended =
            major == 3 ? be32(body.data()) + uint64_t{4} : syncsafe32(body.data());
        if (extended < 4 || extended > body.size()) return;
        at = static_cast<size_t>(extended);
    }
    const size_t headerBytes = major == 2 ? 6 : 10;
    while (body.size() - at >= headerBytes) {
        const uint8_t* h = body.data() + at;
        if (h[0] == 0) break;  // padding
        const uint32_t frameBytes = major == 2   ? (be32(h + 2) & 0xFFFFFF)
                                    : major == 3 ? be32(h + 4)
                                                 : syncsafe32(h + 4);
        // A frame cut by the end of the bytes is not read.
        if (frameBytes > body.size() - at - headerBytes) break;
        at += headerBytes + frameBytes;
        const Frame frame = frameOf(h, major);
        if (frame == Frame::Other) continue;
        size_t skip = 0;
        bool unsynchronised = false;
        if (major == 3) {
            if (h[9] & 0xC0) continue;  // compressed or encrypted
            if (h[9] & 0x20) skip = 1;  // group id
        } else if (major == 4) {
            if (h[9] & 0x0C) continue;                             // compressed or encrypted
            skip = (h[9] & 0x40 ? 1 : 0) + (h[9] & 0x01 ? 4 : 0);  // group id, data length
            unsynchronised = (h[9] & 0x02) || (flags & kUnsynchronised);
        }
        std::vector<uint8_t> data(h + headerBytes, h + headerBytes + frameBytes);
        if (unsynchronised) resynchronise(data);
        if (skip > data.size()) continue;
        data.erase(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(skip));
        readFrame(frame, data, texts, loopTags);
    }
}

}  // namespace tarnuvo
