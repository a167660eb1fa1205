// A button picture: one or more images of the same size side by side in a
// bitmap, one colour of which is transparent. The second image, when there
// is one, is the disabled picture; otherwise a disabled picture is made from
// the shape of the first.
#pragma once

#include "Handle.h"

#include <windows.h>

namespace brevalo::controls {

class Glyph {
public:
    Glyph() = default;
    Glyph(base::Bitmap bitmap, int count, COLORREF transparent);

    // A bitmap resource of the program; throws OsError when it is missing.
    static Glyph FromResource(const wchar_t* name, int count, COLORREF transparent);

    bool Empty() const noexcept { return !bitmap_; }
    // The size of one image.
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    int Count() const noexcept { return count_; }

    // Draws the picture for the state, stretched to width x height.
    void Draw(HDC dc, int x, int y, int width, int height, bool enabled) const;

private:
    base::Bitmap bitmap_;
    int count_ = 1;
    COLORREF transparent_ = RGB(192, 192, 192);
    int width_ = 0;
    int height_ = 0;
};

} // namespace brevalo::controls
