#include "Dpi.h"

#include <cstdint>

namespace brevalo::gui {

namespace {

constexpr wchar_t LayoutDpiProperty[] = L"Brevalo.LayoutDpi";

UINT SystemWindowDpi(HWND hwnd) noexcept {
    // GetDpiForWindow exists from Windows 10 1607 on; look it up at run time
    // so that the program still starts on Windows 7.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (hwnd && getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(hwnd))
            return dpi;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? UINT(dpi) : 96;
}

} // namespace

UINT WindowDpi(HWND hwnd) noexcept {
    if (hwnd) {
        if (HWND root = GetAncestor(hwnd, GA_ROOT)) {
            if (const auto recorded =
                    reinterpret_cast<std::uintptr_t>(GetPropW(root, LayoutDpiProperty)))
                return UINT(recorded);
        }
    }
    return SystemWindowDpi(hwnd);
}

int ScaleToDpi(int pixels96, UINT dpi) noexcept {
    return dpi == 96 ? pixels96 : MulDiv(pixels96, int(dpi), 96);
}

void RecordWindowDpi(HWND root, UINT dpi) noexcept {
    if (!root)
        return;
    if (dpi)
        SetPropW(root, LayoutDpiProperty, reinterpret_cast<HANDLE>(std::uintptr_t(dpi)));
    else
        RemovePropW(root, LayoutDpiProperty);
}

} // namespace brevalo::gui
