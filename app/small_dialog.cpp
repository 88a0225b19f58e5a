#include "app/small_dialog.h"

#include "app/window_helpers.h"

namespace tarnuvo {

INT_PTR CALLBACK smallDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            centerWindow(dialog, GetParent(dialog));
            return 1;
        case WM_CLOSE:
            EndDialog(dialog, 2);
            return 1;
        case WM_COMMAND:
            if (LOWORD(wParam) != IDOK) return 0;
            EndDialog(dialog, 1);
            return 1;
        default:
            return 0;
    }
}

}  // namespace tarnuvo
