// Font specs: "face,size,weight,italic", pieces separated by ',' or ';' (a
// run of them counts as one), everything after the face optional.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tarnuvo {

constexpr size_t kFontSpecChars = 255;  // the part of a spec that counts

struct FontSpec {
    char face[kFontSpecChars + 1] = {};
    int32_t size = 0;
    int32_t weight = 0;  // 0 regular, -1 the slot's default, other values bold
    int32_t italic = 0;
    bool hasSize = false;
    bool hasWeight = false;
    bool hasItalic = false;
};

// False when the text names no face.
bool parseFontSpec(const char* spec, FontSpec& out);

// The font that a spec asks for, with the slot's defaults for absent pieces.
// False when the text names no face.
bool fontDescription(const char* spec, int32_t defaultSize, bool defaultBold, bool defaultItalic,
                     LOGFONTA& out);

}  // namespace tarnuvo
