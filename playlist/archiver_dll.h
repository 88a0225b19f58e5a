// One archiver DLL of the common archiver interface: a command function
// named by a prefix and further functions named by the prefix and a function
// name. Every call reports a fixed result when the DLL lacks what it needs.
#pragma once

#include <cstdint>

#include "engine/track_info.h"
#include "playlist/archiver_api.h"
#include "playlist/module_handle.h"

namespace tarnuvo {

using ArchiveHandle = void*;

class ArchiverDll {
public:
    ArchiverDll() = default;
    virtual ~ArchiverDll();
    ArchiverDll(const ArchiverDll&) = delete;
    ArchiverDll& operator=(const ArchiverDll&) = delete;

    // Unloads any module, keeps the names (cut to 12 and 9 characters) and
    // loads the DLL from the allowed folders only.
    bool load(const char* dllName, const char* prefix);
    bool unload();
    bool isLoaded() const { return static_cast<bool>(module_); }
    const char* dllName() const { return dllName_; }
    const char* prefix() const { return prefix_; }

    bool queryFunction(int32_t number);
    uint32_t version();  // kMissingVersion without the export
    bool isRunning();
    // kCommandNotRun without calling when the function is missing or the DLL is busy.
    int32_t command(WindowHandle window, const char* commandLine, char* output, uint32_t size);
    bool checkArchive(const char* path, int32_t mode);
    ArchiveHandle openArchive(WindowHandle window, const char* path, uint32_t mode);
    int32_t closeArchive(ArchiveHandle archive);
    int32_t findFirst(ArchiveHandle archive, const char* wildcard, ArchiverMemberRecord& record);
    int32_t findNext(ArchiveHandle archive, ArchiverMemberRecord& record);

private:
    // The export named prefix + function; nullptr when absent.
    void* lookup(const char* function) const;

    char dllName_[13] = {};
    char prefix_[10] = {};
    ModuleHandle module_;
};

}  // namespace tarnuvo
