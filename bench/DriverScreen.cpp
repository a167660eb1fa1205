// The child's window and what it has painted, read back from the screen.
#include "DriverSupport.h"

#include <algorithm>

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

bool CaptureClient(HWND window, std::vector<std::uint32_t>& pixels, int& width, int& height,
                   const Box* part) {
    RECT client;
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0)
        return false;
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    width = client.right;
    height = client.bottom;
    if (part) {
        origin.x += part->left;
        origin.y += part->top;
        width = std::min(part->right, int(client.right)) - part->left;
        height = std::min(part->bottom, int(client.bottom)) - part->top;
        if (width <= 0 || height <= 0)
            return false;
    }

    // The screen DC holds what has reached the display, whichever process
    // painted it.
    HDC screen = GetDC(nullptr);
    if (!screen)
        return false;
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
    bool captured = false;
    if (bitmap && memory) {
        const HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY)) {
            GdiFlush();
            const auto* first = static_cast<const std::uint32_t*>(bits);
            pixels.assign(first, first + std::size_t(width) * std::size_t(height));
            captured = true;
        }
        SelectObject(memory, old);
    }
    if (memory)
        DeleteDC(memory);
    if (bitmap)
        DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
    return captured;
}

int CountClientPixels(HWND window, Rgb colour, int tolerance) {
    std::vector<std::uint32_t> pixels;
    int width = 0, height = 0;
    if (!CaptureClient(window, pixels, width, height))
        return -1;
    return CountColourPixels(pixels.data(), width, height, colour, tolerance);
}

std::optional<std::uint64_t> ClientSignature(HWND window, const Box* part) {
    std::vector<std::uint32_t> pixels;
    int width = 0, height = 0;
    if (!CaptureClient(window, pixels, width, height, part))
        return std::nullopt;
    return ImageSignature(pixels.data(), width, height);
}

} // namespace brevalo::bench
