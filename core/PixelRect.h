// A rectangle in pixels: left and top inside, right and bottom just outside.
#pragma once

namespace brevalo {

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    bool Empty() const noexcept { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const noexcept {
        return x >= left && x < right && y >= top && y < bottom;
    }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// A rectangle from its position and size.
constexpr PixelRect RectAt(int left, int top, int width, int height) {
    return PixelRect{left, top, left + width, top + height};
}

} // namespace brevalo
