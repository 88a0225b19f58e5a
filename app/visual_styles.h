// The visual-styles library, loaded on first use: systems before it, and
// runs with styles off, keep the classic look.
#pragma once

#include <windows.h>

namespace tarnuvo {

// True when the library is there and a theme is active for this program.
bool visualStylesActive();

// The library's SetWindowTheme; E_NOTIMPL without the library.
HRESULT setWindowTheme(HWND window, const wchar_t* subApp, const wchar_t* idList);

}  // namespace tarnuvo
