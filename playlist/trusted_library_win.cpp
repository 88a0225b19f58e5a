#include <windows.h>

#include "engine/text.h"
#include "playlist/trusted_library.h"

namespace tarnuvo {

void ModuleHandle::reset(void* module) {
    if (module_ && module_ != module) FreeLibrary(static_cast<HMODULE>(module_));
    module_ = module;
}

namespace {

// The folder part of the running program's path, with its trailing backslash.
bool programFolder(char (&out)[MAX_PATH]) {
    const DWORD n = GetModuleFileNameA(nullptr, out, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return false;
    char* slash = const_cast<char*>(findLastSlash(out));
    if (!slash) return false;
    slash[1] = '\0';
    return true;
}

bool isRegularFile(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

HMODULE loadFromFullPath(const char* path) {
    // The DLL's own dependencies come from its folder and the system folder
    // only; systems without these flags reject them, and then the older flag
    // at least starts the dependency search in the DLL's folder.
    constexpr DWORD kSearchDllFolder = 0x00000100;  // LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR
    constexpr DWORD kSearchSystem = 0x00000800;     // LOAD_LIBRARY_SEARCH_SYSTEM32
    HMODULE module = LoadLibraryExA(path, nullptr, kSearchDllFolder | kSearchSystem);
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
        module = LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    return module;
}

// Keeps a DLL with a missing dependency from bringing up the system's error
// box, for this thread only (the process-wide mode would race with other
// loading threads). Systems before Windows 7 lack the call and keep the box.
class QuietLoadErrors {
public:
    QuietLoadErrors() {
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        set_ = kernel ? reinterpret_cast<SetThreadErrorModeFn>(
                            reinterpret_cast<INT_PTR>(GetProcAddress(kernel, "SetThreadErrorMode")))
                      : nullptr;
        if (set_ && !set_(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &old_)) set_ = nullptr;
    }
    ~QuietLoadErrors() {
        if (set_) set_(old_, nullptr);
    }
    QuietLoadErrors(const QuietLoadErrors&) = delete;
    QuietLoadErrors& operator=(const QuietLoadErrors&) = delete;

private:
    using SetThreadErrorModeFn = BOOL(WINAPI*)(DWORD, LPDWORD);
    SetThreadErrorModeFn set_ = nullptr;
    DWORD old_ = 0;
};

}  // namespace

ModuleHandle loadTrustedLibrary(const char* name) {
    if (!isBareLibraryName(name)) return ModuleHandle();
    char folders[3][MAX_PATH] = {};
    if (!programFolder(folders[0])) folders[0][0] = '\0';
    const UINT system = GetSystemDirectoryA(folders[1], MAX_PATH);
    if (system == 0 || system >= MAX_PATH) folders[1][0] = '\0';
    const UINT windows = GetWindowsDirectoryA(folders[2], MAX_PATH);
    if (windows == 0 || windows >= MAX_PATH) folders[2][0] = '\0';
    QuietLoadErrors quiet;
    HMODULE module = nullptr;
    for (const auto& folder : folders) {
        char path[MAX_PATH];
        if (folder[0] == '\0' || !joinLibraryPath(folder, name, path, sizeof path)) continue;
        if (!isRegularFile(path)) continue;
        module = loadFromFullPath(path);
        if (module) break;
    }
    return ModuleHandle(module);
}

}  // namespace tarnuvo
