#include "playlist/archiver_dll.h"

#include <windows.h>

#include "engine/text.h"
#include "playlist/trusted_library.h"

namespace tarnuvo {

namespace {

using CommandFn = int(WINAPI*)(HWND, LPCSTR, LPSTR, DWORD);
using GetVersionFn = DWORD(WINAPI*)();
using BoolFn = BOOL(WINAPI*)();
using CheckArchiveFn = BOOL(WINAPI*)(LPCSTR, int);
using QueryFunctionListFn = BOOL(WINAPI*)(int);
using OpenArchiveFn = HANDLE(WINAPI*)(HWND, LPCSTR, DWORD);
using CloseArchiveFn = int(WINAPI*)(HANDLE);
using FindFirstFn = int(WINAPI*)(HANDLE, LPCSTR, void*);
using FindNextFn = int(WINAPI*)(HANDLE, void*);

template <typename Fn>
Fn as(void* address) {
    return reinterpret_cast<Fn>(reinterpret_cast<INT_PTR>(address));
}

// The name is the only field read; a DLL that filled all 513 bytes must not
// leave it unterminated.
void terminateName(ArchiverMemberRecord& record) {
    record.name[kMemberNameSize - 1] = '\0';
}

}  // namespace

ArchiverDll::~ArchiverDll() {
    unload();
}

bool ArchiverDll::load(const char* dllName, const char* prefix) {
    unload();
    copyText(dllName_, sizeof dllName_, dllName);
    copyText(prefix_, sizeof prefix_, prefix);
    module_ = loadTrustedLibrary(dllName_);
    return isLoaded();
}

bool ArchiverDll::unload() {
    if (!module_) return false;
    module_.reset();
    return true;
}

void* ArchiverDll::lookup(const char* function) const {
    if (!module_) return nullptr;
    char name[kExportNameSize];
    if (!buildExportName(prefix_, function, name)) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module_.get()), name));
}

bool ArchiverDll::queryFunction(int32_t number) {
    auto fn = as<QueryFunctionListFn>(lookup("QueryFunctionList"));
    return fn && fn(number) != FALSE;
}

uint32_t ArchiverDll::version() {
    auto fn = as<GetVersionFn>(lookup("GetVersion"));
    return fn ? fn() : kMissingVersion;
}

bool ArchiverDll::isRunning() {
    if (!queryFunction(kArchiverGetRunning)) return false;
    auto fn = as<BoolFn>(lookup("GetRunning"));
    return fn && fn() != FALSE;
}

int32_t ArchiverDll::command(WindowHandle window, const char* commandLine, char* output,
                             uint32_t size) {
    auto fn = as<CommandFn>(lookup(""));
    if (!fn || isRunning()) return kCommandNotRun;
    return fn(static_cast<HWND>(window), commandLine, output, size);
}

bool ArchiverDll::checkArchive(const char* path, int32_t mode) {
    if (!queryFunction(kArchiverCheckArchive)) return false;
    auto fn = as<CheckArchiveFn>(lookup("CheckArchive"));
    return fn && fn(path, mode) != FALSE;
}

ArchiveHandle ArchiverDll::openArchive(WindowHandle window, const char* path, uint32_t mode) {
    if (!queryFunction(kArchiverOpenArchive) || isRunning()) return nullptr;
    auto fn = as<OpenArchiveFn>(lookup("OpenArchive"));
    return fn ? fn(static_cast<HWND>(window), path, mode) : nullptr;
}

int32_t ArchiverDll::closeArchive(ArchiveHandle archive) {
    if (!queryFunction(kArchiverCloseArchive)) return kCloseMissing;
    auto fn = as<CloseArchiveFn>(lookup("CloseArchive"));
    return fn ? fn(archive) : kCloseMissing;
}

int32_t ArchiverDll::findFirst(ArchiveHandle archive, const char* wildcard,
                               ArchiverMemberRecord& record) {
    if (!queryFunction(kArchiverFindFirst)) return kFindNone;
    auto fn = as<FindFirstFn>(lookup("FindFirst"));
    if (!fn) return kFindNone;
    const int32_t result = fn(archive, wildcard, &record);
    terminateName(record);
    return result;
}

int32_t ArchiverDll::findNext(ArchiveHandle archive, ArchiverMemberRecord& record) {
    if (!queryFunction(kArchiverFindNext)) return kFindNextMissing;
    auto fn = as<FindNextFn>(lookup("FindNext"));
    if (!fn) return kFindNextMissing;
    const int32_t result = fn(archive, &record);
    terminateName(record);
    return result;
}

}  // namespace tarnuvo
