// The panel control's window procedure: it paints from the back buffer and
// takes the presses on its boxes; the control's own procedure sees the rest.
#include "ui/info_panel.h"

#include "resources/resource_ids.h"

namespace tarnuvo {

void InfoPanel::bind(HWND dialog) {
    control_ = GetDlgItem(dialog, IDC_INFO_PANEL);
}

void InfoPanel::subclass() {
    subclassed_.install(control_, procedure, this);
}

LRESULT CALLBACK InfoPanel::procedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    InfoPanel* self = SubclassedControl::ownerOf<InfoPanel>(control);
    if (!self) return DefWindowProcA(control, message, wParam, lParam);
    switch (message) {
        case WM_PAINT:
            self->paint();
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
            self->onPress(message, LOWORD(lParam), HIWORD(lParam));
            break;
        default:
            break;
    }
    return self->subclassed_.callFormer(control, message, wParam, lParam);
}

}  // namespace tarnuvo
