// A 32-bit top-down bitmap with a device context of its own, for tests that
// draw into it (or have a window paint into it) and read the pixels back.
#pragma once

#include "Handle.h"
#include "Picture.h"

#include <windows.h>

#include <cstdint>

namespace brevalo::testsupport {

class PixelCanvas {
public:
    PixelCanvas(int width, int height) : width_(width), height_(height) {
        std::uint32_t* bits = nullptr;
        bitmap_ = gui::CreateTopDownDib(width, height, bits);
        bits_ = bits;
        dc_.Reset(CreateCompatibleDC(nullptr));
        SelectObject(dc_.Get(), bitmap_.Get());
    }

    // Filled with one colour.
    PixelCanvas(int width, int height, COLORREF background) : PixelCanvas(width, height) {
        base::Brush brush(CreateSolidBrush(background));
        const RECT all{0, 0, width, height};
        FillRect(dc_.Get(), &all, brush.Get());
    }

    // A window's client area, painted into the canvas through WM_PRINTCLIENT.
    static PixelCanvas OfClientArea(HWND hwnd) {
        RECT r{};
        GetClientRect(hwnd, &r);
        PixelCanvas canvas(r.right, r.bottom);
        SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
        return canvas;
    }

    // What the screen shows of a window's client area, copied from its DC:
    // the result of its own painting.
    static PixelCanvas OfScreen(HWND hwnd) {
        RECT r{};
        GetClientRect(hwnd, &r);
        PixelCanvas canvas(r.right, r.bottom);
        base::WindowDc screen(hwnd);
        BitBlt(canvas.Dc(), 0, 0, r.right, r.bottom, screen.Get(), 0, 0, SRCCOPY);
        return canvas;
    }

    HDC Dc() const noexcept { return dc_.Get(); }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }

    COLORREF At(int x, int y) const {
        GdiFlush();
        const std::uint32_t p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    int width_ = 0;
    int height_ = 0;
    base::Bitmap bitmap_;
    base::MemoryDc dc_;
    const std::uint32_t* bits_ = nullptr;
};

} // namespace brevalo::testsupport
