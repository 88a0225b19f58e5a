#include "call_log.h"

#include <cstring>
#include <string>

namespace tarnuvo_tools {

namespace {
HMODULE g_module = nullptr;
}

void setLogModule(HMODULE module) {
    g_module = module;
}

void logCall(const char* what, const char* argument) {
    char logPath[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("TARNUVO_ARCHIVER_LOG", logPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    char self[MAX_PATH] = "?";
    if (g_module) GetModuleFileNameA(g_module, self, MAX_PATH);
    const char* base = self;
    for (const char* p = self; *p; ++p) {
        if (*p == '\\' || *p == '/') base = p + 1;
    }
    std::string line = std::string(base) + " " + what + " " + (argument ? argument : "") + "\r\n";
    HANDLE file = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace tarnuvo_tools
