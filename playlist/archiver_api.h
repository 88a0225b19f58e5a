// What this program relies on of the common archiver DLL interface: the
// function numbers, fixed mode values and the per-member record layout.
// Platform-free so the layout can be checked without <windows.h>.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarnuvo {

// Numbers passed to "QueryFunctionList".
constexpr int32_t kArchiverGetRunning = 8;
constexpr int32_t kArchiverCheckArchive = 16;
constexpr int32_t kArchiverOpenArchive = 23;
constexpr int32_t kArchiverCloseArchive = 24;
constexpr int32_t kArchiverFindFirst = 25;
constexpr int32_t kArchiverFindNext = 26;

// Fixed mode values; their meaning is each DLL's own.
constexpr int32_t kCheckArchiveMode = 8;
constexpr uint32_t kOpenArchiveMode = 0x800000;

// Results the wrapper gives when the DLL lacks a function.
constexpr uint32_t kMissingVersion = 0xFFFF;
constexpr int32_t kCommandNotRun = 1;
constexpr int32_t kCloseMissing = -1;
constexpr int32_t kFindNone = -1;
constexpr int32_t kFindNextMissing = 2;

constexpr size_t kMemberNameOffset = 26;
constexpr size_t kMemberNameSize = 513;
constexpr size_t kMemberRecordSize = 558;

// The per-member record filled by "FindFirst" and "FindNext". Only the name
// is read; the record is the full size so that no DLL writes past it.
#pragma pack(push, 1)
struct ArchiverMemberRecord {
    uint8_t head[kMemberNameOffset];
    char name[kMemberNameSize];
    uint8_t tail[kMemberRecordSize - kMemberNameOffset - kMemberNameSize];
};
#pragma pack(pop)
static_assert(sizeof(ArchiverMemberRecord) == kMemberRecordSize, "record size");
static_assert(offsetof(ArchiverMemberRecord, name) == kMemberNameOffset, "name offset");

// Export names are the prefix followed by the function name ("" for the
// command function), built in a buffer of this size.
constexpr size_t kExportNameSize = 52;
bool buildExportName(const char* prefix, const char* function, char (&out)[kExportNameSize]);

}  // namespace tarnuvo
