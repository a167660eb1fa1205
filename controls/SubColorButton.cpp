#include "SubColorButton.h"

#include "ColorButtonGeometry.h"
#include "Handle.h"

namespace brevalo::controls {

namespace {

constexpr COLORREF Grey = RGB(128, 128, 128);

// Draws a rectangle whose right and bottom edges are outside it; a null
// brush leaves it hollow.
void DrawBox(HDC dc, const PixelRect& r, COLORREF pen, const COLORREF* fill) {
    base::Pen thePen(CreatePen(PS_SOLID, 1, pen));
    base::Brush theBrush(fill ? CreateSolidBrush(*fill) : nullptr);
    base::SelectObjectScope selectPen(dc, thePen.Get());
    base::SelectObjectScope selectBrush(dc,
                                       fill ? HGDIOBJ(theBrush.Get()) : GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

} // namespace

COLORREF ColorToRgb(TColor color) {
    const auto value = static_cast<std::uint32_t>(color);
    if ((value & 0xFF000000u) == 0xFF000000u)
        return GetSysColor(int(value & 0xFFu));
    if (color == ClDefault)
        return GetSysColor(COLOR_WINDOWTEXT);
    return value & 0x00FFFFFFu;
}

void TSubColorButton::SetColor(TColor color) {
    if (color_ != color) {
        color_ = color;
        Repaint();
    }
}

void TSubColorButton::PaintContent(HDC dc, const RECT& client) {
    const int width = client.right - client.left, height = client.bottom - client.top;
    const bool enabled = Enabled();
    // "None" is not painted: its swatches stay hollow.
    const bool painted = color_ != ClNone;
    const COLORREF colour = ColorToRgb(color_);
    const COLORREF inactive = GetSysColor(COLOR_INACTIVECAPTION);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const PixelRect area = SwatchArea(width, height, Flat(), Sunken());
    if (FocusRect()) {
        RECT focus = client;
        InflateRect(&focus, -Scale(2), -Scale(2));
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, face);
        DrawFocusRect(dc, &focus);
    }

    if (!GetGlyph().Empty()) {
        const PixelRect bar = FaceColorBar(width, height, Sunken(), Scale(8), Scale(4), Scale(4));
        const COLORREF barColour = enabled ? colour : inactive;
        if (enabled && !painted)
            DrawBox(dc, bar, Grey, nullptr);
        else
            DrawBox(dc, bar, barColour, &barColour);
        return;
    }
    const COLORREF outline = enabled ? Grey : inactive;
    const COLORREF fill = enabled ? colour : face;
    const COLORREF* swatchFill = enabled && !painted ? nullptr : &fill;
    if (!Caption().empty()) {
        const AutomaticMarks marks = AutomaticButtonMarks(area);
        DrawBox(dc, marks.frame, outline, nullptr);
        DrawBox(dc, marks.swatch, outline, swatchFill);
    } else {
        DrawBox(dc, CellSwatch(area), outline, swatchFill);
    }
}

} // namespace brevalo::controls
