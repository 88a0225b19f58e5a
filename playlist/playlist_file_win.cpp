// List files on disk: read whole into memory, written whole beside the target
// and put in its place in one step.
#include "playlist/playlist_file_win.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <string>

#include "base/handles.h"
#include "engine/text.h"
#include "playlist/playlist_file.h"

namespace tarnuvo {
namespace {

std::atomic<const ListSaveCalls*> g_calls{nullptr};

const ListSaveCalls& calls() {
    const ListSaveCalls* c = g_calls.load(std::memory_order_acquire);
    return c ? *c : systemListSaveCalls();
}

// False when the file cannot be opened or read, or is larger than a list can be.
bool readWholeFile(const char* path, std::string& bytes) {
    if (!path || path[0] == '\0') return false;
    UniqueFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<uint64_t>(size.QuadPart) > kMaxListFileBytes)
        return false;
    try {
        bytes.resize(static_cast<size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD got = 0;
        if (!ReadFile(file.get(), &bytes[done], want, &got, nullptr)) return false;
        if (got == 0) break;  // the file shrank meanwhile
        done += got;
    }
    bytes.resize(done);
    return true;
}

// Writes every byte to the file, flushes and closes it; each step checked.
bool writeWholeFile(const char* path, const std::string& bytes) {
    UniqueFile file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const ListSaveCalls& c = calls();
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD n = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, kListWriteChunk));
        DWORD written = 0;
        if (!c.writeFile(file.get(), bytes.data() + done, n, &written, nullptr) || written != n)
            return false;
        done += n;
    }
    if (!c.flushFileBuffers(file.get())) return false;
    return c.closeHandle(file.release()) != FALSE;
}

}  // namespace

const ListSaveCalls& systemListSaveCalls() {
    static const ListSaveCalls system{WriteFile, FlushFileBuffers, CloseHandle, MoveFileExA};
    return system;
}

void setListSaveCalls(const ListSaveCalls* c) {
    g_calls.store(c, std::memory_order_release);
}

int32_t readPlaylistFileVersion(const char* listPath) {
    std::string bytes;
    return readWholeFile(listPath, bytes) ? playlistFileVersion(bytes) : 0;
}

int32_t readPlaylistFile(const char* listPath, PlaylistFileContents& out) {
    out = PlaylistFileContents();
    std::string bytes;
    if (!readWholeFile(listPath, bytes)) return 0;
    return parsePlaylistFile(bytes, listPath, out);
}

int32_t writePlaylistFile(const char* listPath, const std::vector<TrackInfo>& entries,
                          const char* album, const char* comment, int32_t relativePaths) {
    if (!listPath || listPath[0] == '\0') return 0;
    // Windows refuses to replace a read-only file; Wine running as root would not.
    const DWORD attributes = GetFileAttributesA(listPath);
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return 0;
    std::string bytes;
    try {
        bytes = formatPlaylistFile(entries, album ? album : "", comment ? comment : "",
                                   relativePaths, listPath);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    // The temporary file goes beside the target, so the replacement is a
    // rename within one volume.
    std::string folder = ".";
    if (const char* slash = findLastSeparator(listPath, '\\'))
        folder.assign(listPath, static_cast<size_t>(slash - listPath + 1));
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(folder.c_str(), "tnv", 0, temporary)) return 0;
    if (writeWholeFile(temporary, bytes) &&
        calls().moveFileExA(temporary, listPath,
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 1;
    DeleteFileA(temporary);
    return 0;
}

}  // namespace tarnuvo
