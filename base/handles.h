// Owners for Win32 handles: move-only, each closes what it holds exactly once.
#pragma once

#include <windows.h>

namespace tarnuvo {

template <typename Traits>
class Unique {
public:
    using Handle = typename Traits::Handle;

    Unique() = default;
    explicit Unique(Handle handle) : handle_(handle) {}
    ~Unique() { reset(); }

    Unique(Unique&& other) noexcept : handle_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::empty(); }

    // Gives up ownership without closing.
    Handle release() {
        Handle held = handle_;
        handle_ = Traits::empty();
        return held;
    }

    // Closes the old handle after the new one is in place, so a close that
    // re-enters the owner never sees a handle that is already gone.
    void reset(Handle handle = Traits::empty()) {
        Handle old = handle_;
        handle_ = handle;
        if (old != Traits::empty()) Traits::close(old);
    }

private:
    Handle handle_ = Traits::empty();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle empty() { return nullptr; }
    static void close(Handle h) { CloseHandle(h); }
};
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle empty() { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) { CloseHandle(h); }
};
struct FontTraits {
    using Handle = HFONT;
    static Handle empty() { return nullptr; }
    static void close(Handle h) { DeleteObject(h); }
};
struct MenuTraits {
    using Handle = HMENU;
    static Handle empty() { return nullptr; }
    static void close(Handle h) { DestroyMenu(h); }
};
struct HookTraits {
    using Handle = HHOOK;
    static Handle empty() { return nullptr; }
    static void close(Handle h) { UnhookWindowsHookEx(h); }
};
struct WindowTraits {
    using Handle = HWND;
    static Handle empty() { return nullptr; }
    static void close(Handle h) { DestroyWindow(h); }
};
struct IconTraits {
    using Handle = HICON;
    static Handle empty() { return nullptr; }
    static void close(Handle h) { DestroyIcon(h); }
};
struct MemoryDcTraits {
    using Handle = HDC;
    static Handle empty() { return nullptr; }
    static void close(Handle h) { DeleteDC(h); }
};

using UniqueHandle = Unique<KernelHandleTraits>;
using UniqueFile = Unique<FileHandleTraits>;
using UniqueFont = Unique<FontTraits>;
using UniqueMenu = Unique<MenuTraits>;
using UniqueHook = Unique<HookTraits>;
using UniqueWindow = Unique<WindowTraits>;
using UniqueIcon = Unique<IconTraits>;
using UniqueMemoryDc = Unique<MemoryDcTraits>;

// Selects an object into a device context and puts the previous one back
// when it goes out of scope, so the object can be deleted afterwards.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

    // False when nothing was selected (no object, or the selection failed).
    explicit operator bool() const { return previous_ && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace tarnuvo
