// The procedure shared by the simple modal dialogs (the version dialog).
#pragma once

#include <windows.h>

namespace tarnuvo {

// Centres the dialog over its owner; OK ends it with 1, closing with 2.
INT_PTR CALLBACK smallDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tarnuvo
