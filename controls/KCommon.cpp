#include "KCommon.h"

#include "Handle.h"

namespace brevalo::controls {

COLORREF ResolveColor(TColor color) {
    const auto value = std::uint32_t(color);
    if ((value & 0xFF000000u) == 0xFF000000u)
        return GetSysColor(int(value & 0xFF));
    return COLORREF(value & 0x00FFFFFFu);
}

RECT ToRect(const PixelRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

PixelRect ToPixelRect(const RECT& r) {
    return PixelRect{int(r.left), int(r.top), int(r.right), int(r.bottom)};
}

RECT EtchedLine(HDC dc, const RECT& rect, unsigned edges) {
    const EtchedLines lines = EtchedLineSegments(ToPixelRect(rect), edges);
    base::Pen highlight(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
    base::Pen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    HGDIOBJ old = SelectObject(dc, highlight.Get());
    for (const EtchedSegment& s : lines.segments) {
        SelectObject(dc, s.highlight ? highlight.Get() : shadow.Get());
        MoveToEx(dc, s.x0, s.y0, nullptr);
        LineTo(dc, s.x1, s.y1);
    }
    SelectObject(dc, old);
    return ToRect(lines.inside);
}

void DrawWizardImage(HDC dc, const gui::Picture& picture, const RECT& rect,
                     TKImageAlignment alignment, TKImageLayout layout) {
    const auto placement =
        PlaceWizardImage(ToPixelRect(rect), picture.Width(), picture.Height(), alignment, layout);
    if (placement)
        picture.StretchDraw(dc, ToRect(placement->target));
}

} // namespace brevalo::controls
