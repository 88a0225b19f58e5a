#include "test_support.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

namespace tarnuvo_test {

std::string exeFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of("\\/") + 1);
}

std::string fixture(const char* name) {
    const std::string relative = exeFolder() + TARNUVO_FIXTURES_FROM_EXE + name;
    char full[MAX_PATH] = "";
    GetFullPathNameA(relative.c_str(), MAX_PATH, full, nullptr);
    return full;
}

bool fileExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string readFile(const std::string& path) {
    std::string out;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return out;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
    CloseHandle(f);
    return out;
}

void writeFile(const std::string& path, const std::string& bytes) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD put = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    CloseHandle(f);
}

bool copyFile(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

namespace {

void removeTree(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(path + "\\");
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

void listTree(const std::string& root, const std::string& relative, bool folders,
              std::vector<std::string>& out) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((root + relative + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (folders) out.push_back(relative + name + "\\");
            listTree(root, relative + name + "\\", folders, out);
        } else {
            out.push_back(relative + name);
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

}  // namespace

ScratchDir::ScratchDir() {
    static std::atomic<int> counter{0};
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    char name[64];
    std::snprintf(name, sizeof name, "tv-playlist-%lu-%d\\", GetCurrentProcessId(), ++counter);
    path_ = std::string(temp) + name;
    removeTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchDir::~ScratchDir() {
    removeTree(path_);
}

std::string ScratchDir::folder(const std::string& relative) const {
    std::string path = path_;
    size_t start = 0;
    while (start < relative.size()) {
        size_t end = relative.find_first_of("\\/", start);
        if (end == std::string::npos) end = relative.size();
        path += relative.substr(start, end - start) + "\\";
        CreateDirectoryA(path.c_str(), nullptr);
        start = end + 1;
    }
    return path;
}

std::vector<std::string> ScratchDir::files() const {
    std::vector<std::string> out;
    listTree(path_, "", false, out);
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> ScratchDir::contents() const {
    std::vector<std::string> out;
    listTree(path_, "", true, out);
    std::sort(out.begin(), out.end());
    return out;
}

CallLog::CallLog(const ScratchDir& scratch) : path_(scratch.path() + "calls.log") {
    SetEnvironmentVariableA("TARNUVO_ARCHIVER_LOG", path_.c_str());
}

CallLog::~CallLog() {
    SetEnvironmentVariableA("TARNUVO_ARCHIVER_LOG", nullptr);
    DeleteFileA(path_.c_str());
}

std::vector<std::string> CallLog::lines() const {
    std::vector<std::string> out;
    const std::string text = readFile(path_);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        out.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return out;
}

std::vector<std::string> CallLog::linesWith(const std::string& what) const {
    std::vector<std::string> out;
    for (const std::string& line : lines()) {
        const size_t space = line.find(' ');
        if (space != std::string::npos && line.compare(space + 1, what.size(), what) == 0) {
            out.push_back(line);
        }
    }
    return out;
}

void CallLog::clear() {
    DeleteFileA(path_.c_str());
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
    char old[1024];
    const DWORD n = GetEnvironmentVariableA(name, old, sizeof old);
    had_ = n > 0 && n < sizeof old;
    if (had_) old_ = old;
    SetEnvironmentVariableA(name, value);
}

ScopedEnv::~ScopedEnv() {
    SetEnvironmentVariableA(name_.c_str(), had_ ? old_.c_str() : nullptr);
}

ScopedCurrentDirectory::ScopedCurrentDirectory(const std::string& dir) {
    char old[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, old);
    old_ = old;
    SetCurrentDirectoryA(dir.c_str());
}

ScopedCurrentDirectory::~ScopedCurrentDirectory() {
    SetCurrentDirectoryA(old_.c_str());
}

}  // namespace tarnuvo_test
