#include "Glyph.h"

#include "Application.h"
#include "OsError.h"

#include <utility>

namespace brevalo::controls {

namespace {

// Ternary raster operation: the brush where the source is black, the
// destination where it is white.
constexpr DWORD BrushWhereSourceBlack = 0x00B8074A;

} // namespace

Glyph::Glyph(base::Bitmap bitmap, int count, COLORREF transparent)
    : bitmap_(std::move(bitmap)), count_(count < 1 ? 1 : count), transparent_(transparent) {
    BITMAP info{};
    if (bitmap_ && GetObjectW(bitmap_.Get(), sizeof info, &info)) {
        width_ = info.bmWidth / count_;
        height_ = info.bmHeight;
    }
}

Glyph Glyph::FromResource(const wchar_t* name, int count, COLORREF transparent) {
    HBITMAP bitmap = LoadBitmapW(gui::Application::Instance().Instance_(), name);
    if (!bitmap)
        base::RaiseLastOsError();
    return Glyph(base::Bitmap(bitmap), count, transparent);
}

void Glyph::Draw(HDC dc, int x, int y, int width, int height, bool enabled) const {
    if (Empty() || width <= 0 || height <= 0)
        return;
    const int index = !enabled && count_ > 1 ? 1 : 0;
    const int sourceX = index * width_;

    base::MemoryDc source(CreateCompatibleDC(dc));
    base::MemoryDc maskDc(CreateCompatibleDC(dc));
    base::Bitmap mask(CreateBitmap(width_, height_, 1, 1, nullptr));
    if (!source || !maskDc || !mask)
        return;
    base::SelectObjectScope selectSource(source.Get(), bitmap_.Get());
    base::SelectObjectScope selectMask(maskDc.Get(), mask.Get());
    // The mask: white where the picture is transparent, black elsewhere.
    SetBkColor(source.Get(), transparent_);
    BitBlt(maskDc.Get(), 0, 0, width_, height_, source.Get(), sourceX, 0, SRCCOPY);

    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    if (enabled || count_ > 1) {
        // Exclusive-or in, clear the opaque part, exclusive-or again: the
        // picture where it is opaque, the background elsewhere.
        StretchBlt(dc, x, y, width, height, source.Get(), sourceX, 0, width_, height_, SRCINVERT);
        StretchBlt(dc, x, y, width, height, maskDc.Get(), 0, 0, width_, height_, SRCAND);
        StretchBlt(dc, x, y, width, height, source.Get(), sourceX, 0, width_, height_, SRCINVERT);
    } else {
        // The shape embossed: a highlight moved one pixel, the shadow on top.
        const int step = width / width_ > 1 ? width / width_ : 1;
        for (const auto& [dx, colour] :
             {std::pair{step, COLOR_BTNHIGHLIGHT}, {0, COLOR_BTNSHADOW}}) {
            base::SelectObjectScope brush(dc, GetSysColorBrush(colour));
            StretchBlt(dc, x + dx, y + dx, width, height, maskDc.Get(), 0, 0, width_, height_,
                       BrushWhereSourceBlack);
        }
    }
    SetStretchBltMode(dc, oldMode);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}

} // namespace brevalo::controls
