// Chooses one of the four archiver DLLs for a file and extracts members with
// it. A DLL is loaded only for one step and unloaded right after.
#pragma once

#include <cstdint>

#include "engine/player_environment.h"
#include "engine/track_info.h"
#include "playlist/archive_table.h"
#include "playlist/archiver_dll.h"

namespace tarnuvo {

// Extraction as players need it: flat, overwriting.
constexpr int32_t kResolveFlags = kExtractFlat | kExtractOverwrite;
constexpr uint32_t kResolveOutputSize = 8190;

class ArchiveExtractor {
public:
    ArchiveExtractor();
    virtual ~ArchiveExtractor();
    ArchiveExtractor(const ArchiveExtractor&) = delete;
    ArchiveExtractor& operator=(const ArchiveExtractor&) = delete;

    // 1 when an archiver accepts the file (and `selected` names it), else 0.
    int32_t selectArchiver(const char* path);
    int32_t selected() const { return selected_; }
    const ArchiverEntry& entry(int32_t index) const { return table_[index]; }

    bool loadSelected();
    void unloadSelected();
    // The DLL in use, for listing members between loadSelected and unloadSelected.
    ArchiverDll& dll() { return dll_; }

    // Runs one extraction command; the command function's result (0 is
    // success). `owner` is not passed on: the DLL gets no window. A command
    // that cannot be built safely is not run and gives kCommandNotRun.
    int32_t extract(WindowHandle owner, const char* archivePath, const char* destination,
                    const char* files, int32_t flags, char* output, uint32_t outputSize);

private:
    ArchiverDll dll_;
    int8_t selected_ = -1;
    ArchiverEntry table_[kArchiverCount];
};

// Extracts an archive member for a player's open into the environment's
// temporary directory and names the file to open. False (open the archive
// path itself) when no archiver takes the archive or extraction is disabled.
// A member name that could reach outside the temporary directory is never
// extracted; the file to open is then empty, so the open fails.
bool resolveMember(const char* archivePath, const char* memberName, WindowHandle owner,
                   PlayerEnvironment* environment, char (&fileToOpen)[kTextSize]);

// Makes the players' open use resolveMember.
void installMemberResolver();

}  // namespace tarnuvo
