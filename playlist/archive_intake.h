// Adds the mp3 members of an archive: lists them, then extracts each into a
// folder of this load's own to probe it, and hands every member that a player
// opened to the window thread as an entry whose location is its member
// reference.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/player_environment.h"
#include "playlist/archive_extractor.h"
#include "playlist/entry_handover.h"
#include "playlist/playlist_host.h"

namespace tarnuvo {

// The text put before the archiver's output of each extraction.
constexpr char kExtractFailedText[] =
    "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x93\x57\x8A\x4A\x82\xC9\x8E\xB8\x94\x73\x82\xB5"
    "\x82\xDC\x82\xB5\x82\xBD\x81\x42\r\n\r\n";  // "ファイルの展開に失敗しました。" in code page
                                                 // 932

struct ArchiveIntake {
    WindowHandle window = nullptr;
    PlaylistHost* host = nullptr;
    PlayerEnvironment* environment = nullptr;
    const std::atomic<int32_t>* running = nullptr;  // the loader's run flag
};

// Makes "<temporary directory>p<process>-<thread>\", a folder of the calling
// loader thread's own, for the members it extracts to probe them. False when
// there is no temporary directory or the name does not fit.
bool makeProbeFolder(const char* tempDir, char (&folder)[kTextSize]);

// The archive's file name without its extension: the album of a list it
// names. False when the path has no backslash.
bool archiveAlbumName(const char* archivePath, char (&album)[kTextSize]);

// 1 when the archive was opened (members or not), else 0. `extractor` has
// just selected an archiver for `archivePath`.
int32_t addArchiveMembers(const char* archivePath, ArchiveExtractor& extractor,
                          const ArchiveIntake& intake, EntryHandover& handover);

}  // namespace tarnuvo
