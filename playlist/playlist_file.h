// The ".pll" list file: an INI text in the ANSI code page with a header
// section "Tarnuvolist" and one section "Track%02d" per entry. Reading and
// writing are one pass each over the bytes (see profile_text.h), with the
// semantics of the platform's private-profile functions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/track_info.h"
#include "playlist/playlist.h"

namespace tarnuvo {

constexpr char kListSection[] = "Tarnuvolist";

// Files larger than this are not read.
constexpr uint64_t kMaxListFileBytes = 64u << 20;

// What a list file holds, as read: the entries are finished records (path,
// location, texts, length, loop values, infoKnown, and the rate and frame
// count of a track at another rate than 44,100 Hz), ready to append.
struct PlaylistFileContents {
    char album[kTextSize] = {};
    char comment[kTextSize] = {};
    int32_t relativePaths = 0;
    std::vector<TrackInfo> entries;
};

// The header's "Ver" as GetPrivateProfileIntA reads it (0 when absent).
int32_t playlistFileVersion(std::string_view bytes);

// Platform-free: parses the bytes of the list file at `listPath` (a full path;
// its folder resolves relative names). 1 when the bytes are a list ("Ver" 1,
// a track count of at least 1, a folder in listPath), 0 otherwise, with
// `out` then empty.
int32_t parsePlaylistFile(std::string_view bytes, const char* listPath, PlaylistFileContents& out);

// Platform-free: the index i of a section named "Track%02d" of i (letters in
// any case), or -1.
int32_t trackSectionIndex(std::string_view name);

// Platform-free: the bytes of a list file at `listPath` holding these entries
// and attributes.
std::string formatPlaylistFile(const std::vector<TrackInfo>& entries, const char* album,
                               const char* comment, int32_t relativePaths, const char* listPath);

// Win32: the file's "Ver" (0 when it cannot be read).
int32_t readPlaylistFileVersion(const char* listPath);
// Win32: reads and parses the file; 0 when it cannot be read or is no list.
int32_t readPlaylistFile(const char* listPath, PlaylistFileContents& out);
// Win32: writes the whole file beside the target and replaces the target in
// one step. 1 on success; 0 on any failure, with the old file untouched.
int32_t writePlaylistFile(const char* listPath, const std::vector<TrackInfo>& entries,
                          const char* album, const char* comment, int32_t relativePaths);

}  // namespace tarnuvo
