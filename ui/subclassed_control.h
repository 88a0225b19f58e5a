// One control whose window procedure a part replaces: the part's procedure
// finds its owner in the control's user data and passes on what it does not
// consume to the control's own procedure.
#pragma once

#include <windows.h>

namespace tarnuvo {

class SubclassedControl {
public:
    void install(HWND control, WNDPROC procedure, void* owner) {
        if (!control) return;
        SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
        former_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    }

    LRESULT callFormer(HWND control, UINT message, WPARAM wParam, LPARAM lParam) const {
        if (!former_) return DefWindowProcA(control, message, wParam, lParam);
        return CallWindowProcA(former_, control, message, wParam, lParam);
    }

    // Null before install and for messages that arrive before it finished.
    template <class Owner>
    static Owner* ownerOf(HWND control) {
        return reinterpret_cast<Owner*>(GetWindowLongPtrA(control, GWLP_USERDATA));
    }

private:
    WNDPROC former_ = nullptr;
};

}  // namespace tarnuvo
