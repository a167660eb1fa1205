// A picture for the dialogs: a JPEG image decoded at run time, or a bitmap
// from the program's resources, held as a 32-bit top-down DIB section. It
// draws itself at its own size or stretched, optionally transparent (the
// colour of its bottom-left pixel is left out, as for bitmaps drawn
// transparently), and tells its owner when it changes.
#pragma once

#include "Handle.h"
#include "JpegDecode.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>

namespace brevalo::gui {

// A 32-bit top-down DIB section of that size; its pixels (0x00RRGGBB, rows
// from the top) in `bits`. Null, with `bits` null, when it cannot be made.
base::Bitmap CreateTopDownDib(int width, int height, std::uint32_t*& bits);

class Picture {
public:
    enum class Format { None, Bitmap, Jpeg };

    Picture() = default;
    // Copies the image and its transparency; OnChange stays with each object.
    Picture(const Picture& other);
    Picture& operator=(const Picture& other);
    Picture(Picture&& other) noexcept;
    Picture& operator=(Picture&& other) noexcept;
    ~Picture() = default;

    bool Empty() const noexcept { return !bitmap_; }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    Format Kind() const noexcept { return format_; }
    HBITMAP Handle() const noexcept { return bitmap_.Get(); }

    // The colour of a pixel as 0x00BBGGRR; black outside the picture.
    COLORREF Pixel(int x, int y) const;

    // Each load replaces the picture only when it succeeds.
    // JPEG data in memory; throws PictureError.
    void LoadJpeg(const void* data, std::size_t size);
    // A JPEG image stored as a resource (RCDATA unless `type` says
    // otherwise); throws OsError when the resource is missing.
    void LoadJpegResource(HINSTANCE instance, const wchar_t* name, const wchar_t* type = RT_RCDATA);
    // A bitmap resource; throws OsError when it is missing.
    void LoadBitmapResource(HINSTANCE instance, const wchar_t* name);
    // A copy of any bitmap (the source stays with the caller).
    void AssignBitmap(HBITMAP source);
    void Clear();

    bool Transparent() const noexcept { return transparent_; }
    void SetTransparent(bool transparent);
    // The colour left out when drawn transparently: the bottom-left pixel.
    COLORREF TransparentColor() const;

    // Nothing is drawn for an empty picture.
    void Draw(HDC dc, int x, int y) const;
    void StretchDraw(HDC dc, const RECT& target) const;

    // Raised after every change of the image or its transparency.
    std::function<void()> OnChange;

private:
    // A new DIB section of the given size in `bitmap_` / `bits_`.
    void Allocate(int width, int height);
    // Takes the image (not OnChange) of `other`, then raises OnChange.
    void TakeImage(Picture&& other);
    void Changed() const;

    base::Bitmap bitmap_;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    Format format_ = Format::None;
    bool transparent_ = false;
};

} // namespace brevalo::gui
