// The child's window and what it has painted, read back from the screen.
#include "DriverSupport.h"

namespace brevalo::bench {

namespace {

struct Search {
    DWORD pid;
    HWND best = nullptr;
    long bestArea = 0;
};

BOOL CALLBACK ConsiderWindow(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search.pid || !IsWindowVisible(window))
        return TRUE;
    RECT r;
    GetClientRect(window, &r);
    const long area = long(r.right) * long(r.bottom);
    if (area > search.bestArea) {
        search.best = window;
        search.bestArea = area;
    }
    return TRUE;
}

} // namespace

HWND FindMainWindow(DWORD pid) {
    Search search{pid};
    EnumWindows(&ConsiderWindow, reinterpret_cast<LPARAM>(&search));
    return search.best;
}

int CountClientPixels(HWND window, Rgb colour, int tolerance) {
    RECT client;
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0)
        return -1;
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const int width = client.right;
    const int height = client.bottom;

    // The screen DC holds what has reached the display, whichever process
    // painted it.
    HDC screen = GetDC(nullptr);
    if (!screen)
        return -1;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(screen);
    int count = -1;
    if (bitmap && memory) {
        const HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY)) {
            GdiFlush();
            count = CountColourPixels(static_cast<const std::uint32_t*>(bits), width, height,
                                      colour, tolerance);
        }
        SelectObject(memory, old);
    }
    if (memory)
        DeleteDC(memory);
    if (bitmap)
        DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
    return count;
}

} // namespace brevalo::bench
