// Archiver DLLs that misbehave on purpose, for tests. Built three times:
//   TEST_ARCHIVER_BUSY     every function present, GetRunning always true;
//   TEST_ARCHIVER_VERSION0 GetVersion with a zero low word;
//   TEST_ARCHIVER_MISSING  no command function, GetVersion or QueryFunctionList.
// Every call is logged, so tests can tell which functions were reached.
#include <windows.h>

#include <cstring>

#include "call_log.h"
#include "exports.h"

using tarnuvo_tools::logCall;

namespace {
int g_token = 0;  // its address is the one archive handle handed out
}

int archiverCommand(int, HWND, LPCSTR commandLine, LPSTR output, DWORD size) {
    logCall("command", commandLine);
    if (output && size > 0) output[0] = '\0';
    return 0;
}

DWORD archiverVersion() {
#ifdef TEST_ARCHIVER_VERSION0
    return 0x00050000;  // only the low word counts
#else
    return 100;
#endif
}

BOOL archiverQueryFunction(int) {
    return TRUE;
}

BOOL archiverRunning() {
    logCall("GetRunning");
#ifdef TEST_ARCHIVER_BUSY
    return TRUE;
#else
    return FALSE;
#endif
}

BOOL archiverCheck(int, LPCSTR path, int) {
    logCall("CheckArchive", path);
    return TRUE;
}

HANDLE archiverOpen(int, HWND, LPCSTR path, DWORD) {
    logCall("OpenArchive", path);
    return &g_token;
}

int archiverClose(HANDLE) {
    logCall("CloseArchive");
    return 0;
}

int archiverFindFirst(HANDLE, LPCSTR wildcard, void* record) {
    logCall("FindFirst", wildcard);
    std::memset(record, 0, 558);
    std::memcpy(static_cast<char*>(record) + 26, "a.mp3", 6);
    return 0;
}

int archiverFindNext(HANDLE, void*) {
    logCall("FindNext");
    return -1;
}

#ifdef TEST_ARCHIVER_MISSING
ARCHIVER_FOR_EACH_PREFIX(ARCHIVER_LISTING_EXPORTS)
#else
#define ARCHIVER_ALL(P, D)        \
    ARCHIVER_COMMAND_EXPORT(P, D) \
    ARCHIVER_VERSION_EXPORT(P) ARCHIVER_QUERY_EXPORT(P) ARCHIVER_LISTING_EXPORTS(P, D)
ARCHIVER_FOR_EACH_PREFIX(ARCHIVER_ALL)
#endif

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        tarnuvo_tools::setLogModule(instance);
        logCall("load");
    } else if (reason == DLL_PROCESS_DETACH) {
        logCall("unload");
    }
    return TRUE;
}
