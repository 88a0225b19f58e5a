// The visual-styles library, loaded on first use: systems before it, and
// runs with styles off, keep the classic look.
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include "base/handles.h"

namespace tarnuvo {

// True when the library is there and a theme is active for this program.
bool visualStylesActive();

// The library's SetWindowTheme; E_NOTIMPL without the library.
HRESULT setWindowTheme(HWND window, const wchar_t* subApp, const wchar_t* idList);

// The library's theme data calls; without the library the open gives null
// and the others E_NOTIMPL.
HTHEME openThemeData(HWND window, const wchar_t* classList);
HRESULT closeThemeData(HTHEME theme);
HRESULT drawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT& rect);
HRESULT drawThemeParentBackground(HWND window, HDC dc, const RECT& rect);

struct ThemeTraits {
    using Handle = HTHEME;
    static Handle empty() { return nullptr; }
    static void close(Handle h) { closeThemeData(h); }
};
using UniqueTheme = Unique<ThemeTraits>;

}  // namespace tarnuvo
