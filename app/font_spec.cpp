#include "app/font_spec.h"

#include "engine/text.h"

namespace tarnuvo {
namespace {

bool isSeparator(char c) {
    return c == ',' || c == ';';
}

// Cuts the next piece out of `text` in place and returns it, or nullptr when
// only separators are left. `cursor` moves past the piece.
char* nextPiece(char*& cursor) {
    const TextCodec& codec = systemCodec();
    char* p = cursor;
    while (isSeparator(*p)) ++p;
    if (*p == '\0') {
        cursor = p;
        return nullptr;
    }
    char* start = p;
    while (*p != '\0' && !isSeparator(*p)) {
        if (codec.isLeadByte(static_cast<uint8_t>(*p)) && p[1] != '\0') ++p;
        ++p;
    }
    if (*p != '\0') *p++ = '\0';
    cursor = p;
    return start;
}

}  // namespace

bool parseFontSpec(const char* spec, FontSpec& out) {
    out = FontSpec{};
    char text[kFontSpecChars + 1];
    copyText(text, sizeof text, spec ? spec : "");
    char* cursor = text;
    const char* face = nextPiece(cursor);
    if (!face) return false;
    copyText(out.face, sizeof out.face, face);
    if (const char* size = nextPiece(cursor)) {
        out.size = parseDecimal(size);
        out.hasSize = true;
    }
    if (const char* weight = nextPiece(cursor)) {
        out.weight = parseDecimal(weight);
        out.hasWeight = true;
    }
    if (const char* italic = nextPiece(cursor)) {
        out.italic = parseDecimal(italic);
        out.hasItalic = true;
    }
    return true;
}

bool fontDescription(const char* spec, int32_t defaultSize, bool defaultBold, bool defaultItalic,
                     LOGFONTA& out) {
    FontSpec parsed;
    if (!parseFontSpec(spec, parsed)) return false;
    bool bold = defaultBold;
    if (parsed.hasWeight && parsed.weight != -1) bold = parsed.weight != 0;
    bool italic = parsed.hasItalic ? parsed.italic != 0 : defaultItalic;

    out = LOGFONTA{};
    out.lfHeight = parsed.hasSize ? parsed.size : defaultSize;
    out.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    out.lfItalic = italic ? TRUE : FALSE;
    out.lfCharSet = SHIFTJIS_CHARSET;
    out.lfOutPrecision = OUT_DEFAULT_PRECIS;
    out.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    out.lfQuality = PROOF_QUALITY;
    // Only matters when the face is not installed.
    out.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    // The face field holds 31 bytes; a cut must not leave half a character.
    copyText(out.lfFaceName, sizeof out.lfFaceName, parsed.face);
    return true;
}

}  // namespace tarnuvo
