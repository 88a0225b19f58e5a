#include "playlist/archive_intake.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "base/window_call.h"
#include "engine/text.h"
#include "playlist/track_probe.h"

namespace tarnuvo {

namespace {

constexpr uint32_t kOpenArchiveMode = 0x800000;
// Every member: isMusicMemberName decides, whatever the archiver's matching.
constexpr char kMemberWildcard[] = "*";

bool stillRunning(const ArchiveIntake& intake) {
    return !intake.running || *intake.running != 0;
}

void showLoading(const ArchiveIntake& intake, bool on) {
    if (!intake.host) return;
    PlaylistHost* host = intake.host;
    callOnWindowThread(static_cast<HWND>(intake.window), [&] { host->showLoading(on); });
}

// The listing, kept on the loader's side: a member becomes an entry only
// once a player has opened it, together with its row.
std::vector<std::string> listMembers(const char* archivePath, ArchiveExtractor& extractor,
                                     const ArchiveIntake& intake, bool& opened) {
    std::vector<std::string> members;
    opened = false;
    if (!extractor.loadSelected()) return members;
    ArchiverDll& dll = extractor.dll();
    ArchiveHandle archive = dll.openArchive(intake.window, archivePath, kOpenArchiveMode);
    if (!archive) {
        extractor.unloadSelected();
        return members;
    }
    opened = true;
    ArchiverMemberRecord record{};
    for (int32_t r = dll.findFirst(archive, kMemberWildcard, record);
         r == 0 && stillRunning(intake); r = dll.findNext(archive, record)) {
        // A name cut to fit would name another member.
        if (strnlen(record.name, sizeof(record.name)) > kTextSize - 1) continue;
        char name[kTextSize];
        copyText(name, kTextSize, record.name, sizeof(record.name));
        if (!isMusicMemberName(name)) continue;
        // A name could be read by the DLL as a switch or a response file, or
        // break the reference at its "|": such members are left out.
        if (!isSafeMemberName(name) || findLastSeparator(name, '|')) continue;
        // A reference cut to fit would name another member, or none.
        if (std::strlen(archivePath) + 1 + std::strlen(name) > kTextSize - 1) continue;
        members.emplace_back(name);
    }
    dll.closeArchive(archive);
    extractor.unloadSelected();
    return members;
}

// Extracts one member into the probe folder and probes it. The extracted
// copy never outlives the probe.
bool probeMember(const char* archivePath, const char* member, const char* folder,
                 ArchiveExtractor& extractor, const ArchiveIntake& intake, TrackInfo& out) {
    char target[kTextSize];
    const char* base = memberBaseName(member);
    if (std::strlen(folder) + std::strlen(base) > kTextSize - 1) return false;
    std::snprintf(target, kTextSize, "%s%s", folder, base);
    // A DLL that reports success without writing must not leave us a stale file.
    DeleteFileA(target);
    std::unique_ptr<char[]> output(new (std::nothrow) char[kResolveOutputSize]);
    if (!output) return false;
    // The extraction empties the area it is given; the prepared text stays
    // in front of it.
    const size_t prepared = sizeof(kExtractFailedText) - 1;
    std::memcpy(output.get(), kExtractFailedText, prepared);
    output[prepared] = '\0';
    const int32_t r = extractor.extract(intake.window, archivePath, folder, member, kResolveFlags,
                                        output.get() + prepared,
                                        static_cast<uint32_t>(kResolveOutputSize - prepared));
    bool ok = false;
    if (r == 0) ok = probeTrack(target, -1, out) == 1;
    DeleteFileA(target);
    return ok;
}

}  // namespace

// One folder per load (and per re-read), so that probes never meet a member
// that is playing from the temporary directory.
bool makeProbeFolder(const char* tempDir, char (&folder)[kTextSize]) {
    if (!tempDir || !*tempDir) return false;
    const int n = std::snprintf(folder, kTextSize, "%sp%lu-%lu\\", tempDir, GetCurrentProcessId(),
                                GetCurrentThreadId());
    if (n <= 0 || n >= static_cast<int>(kTextSize)) return false;
    return CreateDirectoryA(folder, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool archiveAlbumName(const char* archivePath, char (&album)[kTextSize]) {
    album[0] = '\0';
    const char* slash = findLastSeparator(archivePath, '\\');
    if (!slash) return false;
    copyText(album, kTextSize, slash + 1);
    if (char* dot = const_cast<char*>(findLastSeparator(album, '.'))) *dot = '\0';
    return true;
}

int32_t addArchiveMembers(const char* archivePath, ArchiveExtractor& extractor,
                          const ArchiveIntake& intake, EntryHandover& handover) {
    char album[kTextSize];
    if (!archiveAlbumName(archivePath, album)) return 0;
    handover.setArchiveAlbum(album);  // applied only once a member is added

    showLoading(intake, true);
    bool opened = false;
    const std::vector<std::string> members = listMembers(archivePath, extractor, intake, opened);

    char folder[kTextSize];
    const char* tempDir = intake.environment ? intake.environment->temporaryDirectory() : "";
    if (!members.empty() && makeProbeFolder(tempDir, folder)) {
        for (const std::string& member : members) {
            if (!stillRunning(intake)) break;  // the members not yet probed have no rows
            TrackInfo probed;
            if (!probeMember(archivePath, member.c_str(), folder, extractor, intake, probed))
                continue;
            TrackInfo entry = probed;
            copyText(entry.path, kTextSize, member.c_str());
            std::snprintf(entry.location, kTextSize, "%s|%s", archivePath, member.c_str());
            entry.infoKnown = 1;
            entry.listIndex = -1;
            entry.state = Stopped;
            handover.add(entry);
        }
        handover.handOver();
        RemoveDirectoryA(folder);
    }
    showLoading(intake, false);
    return opened ? 1 : 0;
}

}  // namespace tarnuvo
