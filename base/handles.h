// Owners for Win32 handles: move-only, each closes what it holds exactly once.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdint>
#include <type_traits>

namespace tarnuvo {

// Traits that count the handles they own declare adopt(handle) and
// disown(handle): an owner calls the first when it takes a handle and the
// second when it closes or releases one.
template <typename Traits, typename = void>
struct CountsHandles : std::false_type {};
template <typename Traits>
struct CountsHandles<Traits, std::void_t<decltype(Traits::adopt(typename Traits::Handle{}))>>
    : std::true_type {};

template <typename Traits>
class Unique {
public:
    using Handle = typename Traits::Handle;

    Unique() = default;
    explicit Unique(Handle handle) : handle_(handle) { adopted(handle); }
    ~Unique() { reset(); }

    Unique(Unique&& other) noexcept : handle_(other.release()) { adopted(handle_); }
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
        disowned(held);
        return held;
    }

    // Closes the old handle after the new one is in place, so a close that
    // re-enters the owner never sees a handle that is already gone.
    void reset(Handle handle = Traits::empty()) {
        Handle old = handle_;
        handle_ = handle;
        adopted(handle);
        if (old != Traits::empty()) {
            Traits::close(old);
            disowned(old);
        }
    }

private:
    static void adopted(Handle handle) {
        if constexpr (CountsHandles<Traits>::value) {
            if (handle != Traits::empty()) Traits::adopt(handle);
        }
    }
    static void disowned(Handle handle) {
        if constexpr (CountsHandles<Traits>::value) {
            if (handle != Traits::empty()) Traits::disown(handle);
        }
    }

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
// Every GDI object (font, bitmap, brush, pen, memory DC) that the program
// makes goes through these owners, which keep a live count: the proof that
// repeated drawing and resizing leak nothing (the system's own count is a
// stub under Wine).
inline std::atomic<int32_t> liveGdiObjects{0};

// Fonts, bitmaps, brushes and pens.
template <typename H>
struct GdiObjectTraits {
    using Handle = H;
    static Handle empty() { return nullptr; }
    static void adopt(Handle) { ++liveGdiObjects; }
    static void disown(Handle) { --liveGdiObjects; }
    static void close(Handle h) { DeleteObject(h); }
};
struct MemoryDcTraits {
    using Handle = HDC;
    static Handle empty() { return nullptr; }
    static void adopt(Handle) { ++liveGdiObjects; }
    static void disown(Handle) { --liveGdiObjects; }
    static void close(Handle h) { DeleteDC(h); }
};
using FontTraits = GdiObjectTraits<HFONT>;
using BitmapTraits = GdiObjectTraits<HBITMAP>;
using BrushTraits = GdiObjectTraits<HBRUSH>;
using PenTraits = GdiObjectTraits<HPEN>;
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
struct ImageListTraits {
    using Handle = HIMAGELIST;
    static Handle empty() { return nullptr; }
    static void close(Handle h) { ImageList_Destroy(h); }
};

using UniqueHandle = Unique<KernelHandleTraits>;
using UniqueFile = Unique<FileHandleTraits>;
using UniqueFont = Unique<FontTraits>;
using UniqueMenu = Unique<MenuTraits>;
using UniqueHook = Unique<HookTraits>;
using UniqueWindow = Unique<WindowTraits>;
using UniqueIcon = Unique<IconTraits>;
using UniqueMemoryDc = Unique<MemoryDcTraits>;
using UniqueBitmap = Unique<BitmapTraits>;
using UniqueBrush = Unique<BrushTraits>;
using UniquePen = Unique<PenTraits>;
using UniqueImageList = Unique<ImageListTraits>;

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

// A window's device context from GetDC, given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(window ? GetDC(window) : nullptr) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

}  // namespace tarnuvo
