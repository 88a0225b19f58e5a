#include "app/visual_styles.h"

namespace tarnuvo {
namespace {

struct Library {
    using IsActive = BOOL(WINAPI*)();
    using SetTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

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
    }

    HMODULE module = nullptr;
    IsActive isAppThemed = nullptr;
    IsActive isThemeActive = nullptr;
    SetTheme setTheme = nullptr;
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

}  // namespace tarnuvo
