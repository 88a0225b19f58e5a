// The four archiver DLLs, how a file is matched to them and how an
// extraction command line is built. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarnuvo {

struct ArchiverEntry {
    char dllName[13];
    char prefix[10];
    char extensions[13];  // items separated by ';'
    char flatCommand[25];
    char pathCommand[25];
    char overwriteSwitches[10];
    uint8_t flags;
};

constexpr uint8_t kAcceptsSelfExtracting = 0x01;
constexpr int32_t kArchiverCount = 4;

// In order of trial.
extern const ArchiverEntry kArchiverTable[kArchiverCount];

// Extraction flags of `extract`.
constexpr int32_t kExtractFlat = 0x01;
constexpr int32_t kExtractOverwrite = 0x02;

// The text after the last '.' of path; nullptr when there is none or it is empty.
const char* archiveExtension(const char* path);
bool isSelfExtractingExtension(const char* extension);
// Whether the archiver is tried for a file with this extension.
bool offersTo(const ArchiverEntry& entry, const char* extension);

// Large enough for the longest commands (three 259-character texts and the
// switches); a command that does not fit is refused, never cut.
constexpr size_t kCommandLineSize = 1024;

// Builds "<command> [<overwrite> ]"<archive>" "<destination>" [<files>]".
// `files` is taken as it is when it begins with a double quote (then it must
// be a list of quoted names separated by single spaces), else it is quoted.
// False, with out emptied, when a text would break out of its quotes or the
// line does not fit.
bool buildExtractCommand(const ArchiverEntry& entry, const char* archivePath,
                         const char* destination, const char* files, int32_t flags, char* out,
                         size_t outSize);

// A member name from an archive is untrusted. Accepted only when it is a
// relative name whose base name is a plain file name and which cannot be
// read as a switch, a response file, a wildcard or a path outside the
// destination: no quote, colon, wildcard or control character, no leading
// '-', '@' or separator, no ".." component.
bool isSafeMemberName(const char* name);

// The member's base name: the text after its last '\', and of that the text
// after its last '/'.
const char* memberBaseName(const char* name);

// Whether a member is listed for the playlist: its base name ends in one of
// the music extensions of the add-files filter (.wav, .ogg, .mp3, .flac,
// .opus), in any case. Archivers differ in how they match a wildcard, so
// every member is asked for and the program decides.
bool isMusicMemberName(const char* name);

}  // namespace tarnuvo
