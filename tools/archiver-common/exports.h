// The common archiver interface as a DLL exports it. Functions are
// __stdcall; the 32-bit build links with --kill-at so that the exported
// names carry no "@n" decoration.
#pragma once

#include <windows.h>

#define ARCHIVER_EXPORT extern "C" __declspec(dllexport)

// Generates the nine exports for one prefix, forwarding to functions that
// take the dialect (the prefix's index in the program's table) first.
#define ARCHIVER_COMMAND_EXPORT(P, D)                                  \
    ARCHIVER_EXPORT int WINAPI P(HWND w, LPCSTR c, LPSTR o, DWORD s) { \
        return archiverCommand(D, w, c, o, s);                         \
    }
#define ARCHIVER_VERSION_EXPORT(P)                 \
    ARCHIVER_EXPORT DWORD WINAPI P##GetVersion() { \
        return archiverVersion();                  \
    }
#define ARCHIVER_QUERY_EXPORT(P)                              \
    ARCHIVER_EXPORT BOOL WINAPI P##QueryFunctionList(int n) { \
        return archiverQueryFunction(n);                      \
    }
#define ARCHIVER_LISTING_EXPORTS(P, D)                                                 \
    ARCHIVER_EXPORT BOOL WINAPI P##GetRunning() {                                      \
        return archiverRunning();                                                      \
    }                                                                                  \
    ARCHIVER_EXPORT BOOL WINAPI P##CheckArchive(LPCSTR path, int mode) {               \
        return archiverCheck(D, path, mode);                                           \
    }                                                                                  \
    ARCHIVER_EXPORT HANDLE WINAPI P##OpenArchive(HWND w, LPCSTR path, DWORD mode) {    \
        return archiverOpen(D, w, path, mode);                                         \
    }                                                                                  \
    ARCHIVER_EXPORT int WINAPI P##CloseArchive(HANDLE h) {                             \
        return archiverClose(h);                                                       \
    }                                                                                  \
    ARCHIVER_EXPORT int WINAPI P##FindFirst(HANDLE h, LPCSTR wildcard, void* record) { \
        return archiverFindFirst(h, wildcard, record);                                 \
    }                                                                                  \
    ARCHIVER_EXPORT int WINAPI P##FindNext(HANDLE h, void* record) {                   \
        return archiverFindNext(h, record);                                            \
    }

// Dialects: the program's table rows.
enum ArchiverDialect : int { kSevenZip = 0, kUnrar = 1, kUnlha = 2, kUnZip = 3 };

#define ARCHIVER_FOR_EACH_PREFIX(M) \
    M(SevenZip, kSevenZip)          \
    M(Unrar, kUnrar)                \
    M(Unlha, kUnlha)                \
    M(UnZip, kUnZip)
