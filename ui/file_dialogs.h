// The playlist's open, add and save dialogs and the files dropped on the
// window. It owns the common dialog calls (tests put their own in place);
// it holds hand-overs while a dialog is open and tells of refused names
// through the small dialogs.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstdint>

#include "app/path_intake.h"

namespace tarnuvo {

class WindowFrame;
class HandOver;
class SmallDialogs;

struct FileDialogCalls {
    BOOL(WINAPI* open)(LPOPENFILENAMEA) = GetOpenFileNameA;
    BOOL(WINAPI* save)(LPOPENFILENAMEA) = GetSaveFileNameA;
    DWORD(WINAPI* error)() = CommDlgExtendedError;
};

class FileDialogs {
public:
    FileDialogs(WindowFrame& frame, HandOver& handOver, const SmallDialogs& dialogs,
                FileDialogCalls calls = {})
        : frame_(frame), handOver_(handOver), dialogs_(dialogs), calls_(calls) {}
    FileDialogs(const FileDialogs&) = delete;
    FileDialogs& operator=(const FileDialogs&) = delete;

    void openList();
    void addFiles();
    void saveList();
    void onDropFiles(HDROP drop);

    void useCalls(const FileDialogCalls& calls) { calls_ = calls; }

private:
    // Runs an open or save dialog; hand-overs that arrive meanwhile wait.
    BOOL run(BOOL(WINAPI* dialog)(LPOPENFILENAMEA), OPENFILENAMEA& request);
    void handOverPaths(PathIntake intake, int32_t replace);

    WindowFrame& frame_;
    HandOver& handOver_;
    const SmallDialogs& dialogs_;
    FileDialogCalls calls_;
};

}  // namespace tarnuvo
