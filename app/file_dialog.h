// The request record of the open and save file dialogs.
#pragma once

#include <windows.h>
#include <commdlg.h>

namespace tarnuvo {

constexpr DWORD kFileBufferSize = 260;

// Turns `filter` ("description|pattern|...|") into the dialog's NUL-separated
// pairs in place, empties `fileBuffer` (260 bytes) and fills `request` with
// the owner, the filter, the buffer and the flags of an open or a save
// dialog. The caller adds the title and calls the dialog.
void initFileDialog(OPENFILENAMEA& request, HWND owner, char* filter, char* fileBuffer,
                    bool forSaving);

}  // namespace tarnuvo
