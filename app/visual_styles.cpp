#include "app/visual_styles.h"

namespace tarnuvo {
namespace {

struct Library {
    using IsActive = BOOL(WINAPI*)();
    using SetTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    using OpenTheme = HTHEME(WINAPI*)(HWND, LPCWSTR);
    using CloseTheme = HRESULT(WINAPI*)(HTHEME);
    using DrawBackground = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
    using DrawParentBackground = HRESULT(WINAPI*)(HWND, HDC, const RECT*);

    Library() {
        // Stays loaded for the process: themed drawing may need it at any time.
        module = LoadLibraryA("uxtheme.dll");
        if (!module) return;
        isAppThemed = reinterpret_cast<IsActive>(
            reinterpret_cast<void*>(GetProcAddress(module, "IsAppThemed")));
        isThemeActive = reinterpret_cast<IsActive>(
            reinterpret_cast<void*>(GetProcAddress(module, "IsThemeActive")));
        setTheme = reinterpret_cast<SetTheme>(
            reinterpret_cast<void*>(GetProcAddress(module, "SetWindowTheme")));
        openTheme = reinterpret_cast<OpenTheme>(
            reinterpret_cast<void*>(GetProcAddress(module, "OpenThemeData")));
        closeTheme = reinterpret_cast<CloseTheme>(
            reinterpret_cast<void*>(GetProcAddress(module, "CloseThemeData")));
        drawBackground = reinterpret_cast<DrawBackground>(
            reinterpret_cast<void*>(GetProcAddress(module, "DrawThemeBackground")));
        drawParentBackground = reinterpret_cast<DrawParentBackground>(
            reinterpret_cast<void*>(GetProcAddress(module, "DrawThemeParentBackground")));
    }

    HMODULE module = nullptr;
    IsActive isAppThemed = nullptr;
    IsActive isThemeActive = nullptr;
    SetTheme setTheme = nullptr;
    OpenTheme openTheme = nullptr;
    CloseTheme closeTheme = nullptr;
    DrawBackground drawBackground = nullptr;
    DrawParentBackground drawParentBackground = nullptr;
};

Library& library() {
    static Library loaded;
    return loaded;
}

}  // namespace

bool visualStylesActive() {
    Library& l = library();
    return l.isAppThemed && l.isThemeActive && l.isAppThemed() && l.isThemeActive();
}

HRESULT setWindowTheme(HWND window, const wchar_t* subApp, const wchar_t* idList) {
    Library& l = library();
    return l.setTheme ? l.setTheme(window, subApp, idList) : E_NOTIMPL;
}

HTHEME openThemeData(HWND window, const wchar_t* classList) {
    Library& l = library();
    return l.openTheme ? l.openTheme(window, classList) : nullptr;
}

HRESULT closeThemeData(HTHEME theme) {
    Library& l = library();
    return l.closeTheme ? l.closeTheme(theme) : E_NOTIMPL;
}

HRESULT drawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT& rect) {
    Library& l = library();
    return l.drawBackground ? l.drawBackground(theme, dc, part, state, &rect, nullptr) : E_NOTIMPL;
}

HRESULT drawThemeParentBackground(HWND window, HDC dc, const RECT& rect) {
    Library& l = library();
    return l.drawParentBackground ? l.drawParentBackground(window, dc, &rect) : E_NOTIMPL;
}

}  // namespace tarnuvo
