// The kernel calls that saving a list makes once its temporary file exists.
// Tests put their own in place to fail at each step; the program never does.
#pragma once

#include <windows.h>

namespace tarnuvo {

struct ListSaveCalls {
    BOOL(WINAPI* writeFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
    BOOL(WINAPI* flushFileBuffers)(HANDLE);
    BOOL(WINAPI* closeHandle)(HANDLE);
    BOOL(WINAPI* moveFileExA)(LPCSTR, LPCSTR, DWORD);
};

// The system's calls.
const ListSaveCalls& systemListSaveCalls();
// Replaces the calls; nullptr restores the system's.
void setListSaveCalls(const ListSaveCalls* calls);

// Bytes handed to one WriteFile call.
constexpr DWORD kListWriteChunk = 64 * 1024;

}  // namespace tarnuvo
