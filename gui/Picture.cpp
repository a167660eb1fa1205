#include "Picture.h"

#include "OsError.h"

#include <cstring>
#include <utility>

namespace brevalo::gui {

namespace {

// Draws `source` (selected into `sourceDc`) into `target` of `dc`, stretched
// when the sizes differ.
void Blit(HDC dc, const RECT& target, HDC sourceDc, int width, int height, DWORD rop) {
    const int w = target.right - target.left, h = target.bottom - target.top;
    if (w == width && h == height)
        BitBlt(dc, target.left, target.top, w, h, sourceDc, 0, 0, rop);
    else
        StretchBlt(dc, target.left, target.top, w, h, sourceDc, 0, 0, width, height, rop);
}

} // namespace

Picture::Picture(const Picture& other) : format_(other.format_), transparent_(other.transparent_) {
    if (other.Empty())
        return;
    Allocate(other.width_, other.height_);
    GdiFlush();
    std::memcpy(bits_, other.bits_, std::size_t(width_) * std::size_t(height_) * 4);
}

Picture& Picture::operator=(const Picture& other) {
    if (this != &other) {
        Picture copy(other);
        TakeImage(std::move(copy));
    }
    return *this;
}

Picture::Picture(Picture&& other) noexcept
    : bitmap_(std::move(other.bitmap_)), bits_(std::exchange(other.bits_, nullptr)),
      width_(std::exchange(other.width_, 0)), height_(std::exchange(other.height_, 0)),
      format_(std::exchange(other.format_, Format::None)),
      transparent_(std::exchange(other.transparent_, false)) {}

Picture& Picture::operator=(Picture&& other) noexcept {
    if (this != &other)
        TakeImage(std::move(other));
    return *this;
}

void Picture::TakeImage(Picture&& other) {
    bitmap_ = std::move(other.bitmap_);
    bits_ = std::exchange(other.bits_, nullptr);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    format_ = std::exchange(other.format_, Format::None);
    transparent_ = std::exchange(other.transparent_, false);
    Changed();
}

void Picture::Changed() const {
    if (OnChange)
        OnChange();
}

base::Bitmap CreateTopDownDib(int width, int height, std::uint32_t*& bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    base::Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    bits = bitmap ? static_cast<std::uint32_t*>(pixels) : nullptr;
    return bitmap;
}

void Picture::Allocate(int width, int height) {
    if (width <= 0 || height <= 0 || std::int64_t(width) * height > MaxPicturePixels)
        throw PictureError("Invalid picture size");
    std::uint32_t* bits = nullptr;
    base::Bitmap bitmap = CreateTopDownDib(width, height, bits);
    if (!bitmap)
        base::RaiseLastOsError();
    bitmap_ = std::move(bitmap);
    bits_ = bits;
    width_ = width;
    height_ = height;
}

COLORREF Picture::Pixel(int x, int y) const {
    if (Empty() || x < 0 || y < 0 || x >= width_ || y >= height_)
        return RGB(0, 0, 0);
    GdiFlush();
    const std::uint32_t p = bits_[std::size_t(y) * std::size_t(width_) + std::size_t(x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void Picture::LoadJpeg(const void* data, std::size_t size) {
    Picture decoded;
    DecodeJpeg(data, size, [&decoded](int width, int height) {
        decoded.Allocate(width, height);
        return decoded.bits_;
    });
    decoded.format_ = Format::Jpeg;
    TakeImage(std::move(decoded));
}

void Picture::LoadJpegResource(HINSTANCE instance, const wchar_t* name, const wchar_t* type) {
    HRSRC resource = FindResourceW(instance, name, type);
    if (!resource)
        base::RaiseLastOsError();
    HGLOBAL loaded = LoadResource(instance, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        base::RaiseLastOsError();
    LoadJpeg(data, SizeofResource(instance, resource));
}

void Picture::LoadBitmapResource(HINSTANCE instance, const wchar_t* name) {
    base::Bitmap loaded(
        static_cast<HBITMAP>(LoadImageW(instance, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!loaded)
        base::RaiseLastOsError();
    AssignBitmap(loaded.Get());
    format_ = Format::Bitmap;
}

void Picture::AssignBitmap(HBITMAP source) {
    BITMAP info{};
    if (!source || !GetObjectW(source, sizeof info, &info))
        throw PictureError("Invalid bitmap");
    Picture copy;
    copy.Allocate(info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight);
    base::MemoryDc from(CreateCompatibleDC(nullptr)), to(CreateCompatibleDC(nullptr));
    if (!from || !to)
        base::RaiseLastOsError();
    {
        base::SelectObjectScope selectFrom(from.Get(), source);
        base::SelectObjectScope selectTo(to.Get(), copy.bitmap_.Get());
        base::CheckOs(BitBlt(to.Get(), 0, 0, copy.width_, copy.height_, from.Get(), 0, 0, SRCCOPY));
    }
    copy.format_ = Format::Bitmap;
    TakeImage(std::move(copy));
}

void Picture::Clear() {
    if (Empty())
        return;
    TakeImage(Picture());
}

void Picture::SetTransparent(bool transparent) {
    if (transparent_ == transparent)
        return;
    transparent_ = transparent;
    Changed();
}

COLORREF Picture::TransparentColor() const {
    return Pixel(0, height_ - 1);
}

void Picture::Draw(HDC dc, int x, int y) const {
    StretchDraw(dc, RECT{x, y, x + width_, y + height_});
}

void Picture::StretchDraw(HDC dc, const RECT& target) const {
    if (Empty() || target.right <= target.left || target.bottom <= target.top)
        return;
    base::MemoryDc source(CreateCompatibleDC(dc));
    if (!source)
        return;
    base::SelectObjectScope selectSource(source.Get(), bitmap_.Get());

    if (!transparent_) {
        const int oldMode = SetStretchBltMode(dc, HALFTONE);
        POINT oldOrigin{};
        SetBrushOrgEx(dc, 0, 0, &oldOrigin);
        Blit(dc, target, source.Get(), width_, height_, SRCCOPY);
        SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
        SetStretchBltMode(dc, oldMode);
        return;
    }

    // Transparent: a monochrome mask is set (white) where the picture has
    // the transparent colour. Then destination XOR picture, AND mask, XOR
    // picture leaves the destination under the mask and the picture
    // elsewhere.
    base::MemoryDc maskDc(CreateCompatibleDC(dc));
    base::Bitmap mask(CreateBitmap(width_, height_, 1, 1, nullptr));
    if (!maskDc || !mask)
        return;
    base::SelectObjectScope selectMask(maskDc.Get(), mask.Get());
    SetBkColor(source.Get(), TransparentColor());
    BitBlt(maskDc.Get(), 0, 0, width_, height_, source.Get(), 0, 0, SRCCOPY);

    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    Blit(dc, target, source.Get(), width_, height_, SRCINVERT);
    Blit(dc, target, maskDc.Get(), width_, height_, SRCAND);
    Blit(dc, target, source.Get(), width_, height_, SRCINVERT);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
    SetStretchBltMode(dc, oldMode);
}

} // namespace brevalo::gui
