// Move-only owners of Win32 handles and GDI objects. Each kind of handle has
// a small traits type naming its empty value and how it is released.
#pragma once

#include <windows.h>

#include <utility>

namespace brevalo::base {

template <typename Traits> class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type handle) noexcept : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    Type Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Empty(); }

    Type Release() noexcept { return std::exchange(handle_, Traits::Empty()); }
    void Reset(Type handle = Traits::Empty()) noexcept {
        if (handle_ != Traits::Empty())
            Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Type handle_ = Traits::Empty();
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { CloseHandle(h); }
};

struct FileHandleTraits {
    using Type = HANDLE;
    static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { CloseHandle(h); }
};

struct RegKeyTraits {
    using Type = HKEY;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { RegCloseKey(h); }
};

template <typename T> struct GdiObjectTraits {
    using Type = T;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DeleteObject(h); }
};

struct DcTraits {
    using Type = HDC;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DeleteDC(h); }
};

struct MenuTraits {
    using Type = HMENU;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DestroyMenu(h); }
};

struct IconTraits {
    using Type = HICON;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DestroyIcon(h); }
};

struct AtomTraits {
    using Type = ATOM;
    static Type Empty() noexcept { return 0; }
    static void Close(Type a) noexcept { GlobalDeleteAtom(a); }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using RegKey = UniqueHandle<RegKeyTraits>;
using Font = UniqueHandle<GdiObjectTraits<HFONT>>;
using Brush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using Pen = UniqueHandle<GdiObjectTraits<HPEN>>;
using Bitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using MemoryDc = UniqueHandle<DcTraits>;
using Menu = UniqueHandle<MenuTraits>;
using Icon = UniqueHandle<IconTraits>;
using GlobalAtom = UniqueHandle<AtomTraits>;

// A window's device context from GetDC, released with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_)
            ReleaseDC(hwnd_, dc_);
    }
    HDC Get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// Selects a GDI object into a DC for a scope and restores the previous one.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(SelectObject(dc, object)) {}
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;
    ~SelectObjectScope() { SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace brevalo::base
