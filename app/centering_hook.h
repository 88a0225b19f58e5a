// Message boxes and dialogs centred over their owner by a one-shot hook on
// the calling thread.
#pragma once

#include <windows.h>

namespace tarnuvo {

// Centres the next window that this thread activates (other than `owner`)
// over `owner`. 0 when the hook could not be installed; the dialog then
// appears where the system puts it. Arming again replaces an unused hook.
int centerNextDialog(HWND owner);

// A message box centred over `owner`; uncentred when the hook cannot be
// installed, so that no message is lost. Returns the box's result, 0 when
// it could not be shown.
int centeredMessageBox(HWND owner, const char* text, const char* caption, UINT style);

// Replaces the hook installation (tests); null restores the platform's.
using HookInstaller = HHOOK(WINAPI*)(int idHook, HOOKPROC procedure, HINSTANCE module,
                                     DWORD threadId);
void setHookInstaller(HookInstaller installer);

}  // namespace tarnuvo
