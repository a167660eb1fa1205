#include "WizardGeometry.h"

#include <algorithm>

namespace brevalo {

int FindNextPageIndex(int index, int step, int count, const std::function<bool(int)>& enabled,
                      bool skipDisabled) {
    if (count <= 0 || (step != 1 && step != -1))
        return -1;
    // Start outside the list at most one step away, so that a stale index
    // cannot make the search run far.
    index = std::clamp(index, -1, count);
    for (;;) {
        index += step;
        if (index < 0 || index >= count)
            return -1;
        if (!skipDisabled || enabled(index))
            return index;
    }
}

int ButtonBarHeightFor(bool hasActivePage, TKWizardButtonSet visibleButtons) {
    return !hasActivePage || !visibleButtons.Empty() ? WizardButtonBarHeight : 0;
}

std::array<PixelRect, WizardButtonKindCount>
LayoutWizardButtons(const PixelRect& client, int buttonBarHeight, TKWizardButtonSet placement,
                    const std::array<int, WizardButtonKindCount>& widths,
                    std::array<PixelRect, WizardButtonKindCount> current) {
    using Kind = TKWizardButtonKind;
    if (buttonBarHeight <= WizardCollapsedBarLimit) {
        for (int i = 0; i < WizardButtonKindCount; ++i)
            current[std::size_t(i)] = PixelRect{0, 0, widths[std::size_t(i)], 0};
        return current;
    }
    const int top = client.top + client.Height() - buttonBarHeight + 10;
    auto place = [&](Kind kind, int left) {
        const std::size_t i = std::size_t(kind);
        current[i] = PixelRect{left, top, left + widths[i], top + WizardButtonHeight};
    };

    // Left group: Help, Start, Last, each followed by its gap.
    struct Step {
        Kind kind;
        int gap;
    };
    int x = client.left + 8;
    for (const Step step :
         {Step{Kind::bkHelp, 10}, Step{Kind::bkStart, 1}, Step{Kind::bkLast, 0}}) {
        if (!placement.Contains(step.kind))
            continue;
        place(step.kind, x);
        x += widths[std::size_t(step.kind)] + step.gap;
    }

    // Right group from the right edge: Cancel, Finish, Next, Back. The wide
    // gap separates Finish from Next when both stand, else it stands before
    // Cancel.
    const bool nextAndFinish =
        placement.Contains(Kind::bkNext) && placement.Contains(Kind::bkFinish);
    const int cancelGap = nextAndFinish ? 1 : 10;
    const int finishGap = nextAndFinish ? 10 : 1;
    x = client.right - 8;
    for (const Step step : {Step{Kind::bkCancel, cancelGap}, Step{Kind::bkFinish, finishGap},
                            Step{Kind::bkNext, 1}, Step{Kind::bkBack, 0}}) {
        if (!placement.Contains(step.kind))
            continue;
        x -= widths[std::size_t(step.kind)];
        place(step.kind, x);
        x -= step.gap;
    }
    return current;
}

PixelRect WizardPageArea(const PixelRect& client, int buttonBarHeight) {
    PixelRect area = client;
    if (buttonBarHeight > WizardCollapsedBarLimit)
        area.bottom -= buttonBarHeight;
    return area;
}

namespace {

void AddEdges(std::vector<EtchedSegment>& out, const PixelRect& r, unsigned edges, bool highlight) {
    if (edges & EdgeLeft)
        out.push_back({highlight, r.left, r.top, r.left, r.bottom});
    if (edges & EdgeTop)
        out.push_back({highlight, r.left, r.top, r.right, r.top});
    if (edges & EdgeRight)
        out.push_back({highlight, r.right - 1, r.top, r.right - 1, r.bottom});
    if (edges & EdgeBottom)
        out.push_back({highlight, r.left, r.bottom - 1, r.right, r.bottom - 1});
}

} // namespace

EtchedLines EtchedLineSegments(const PixelRect& rect, unsigned edges) {
    EtchedLines lines;
    const PixelRect shadow{rect.left, rect.top, rect.right - 1, rect.bottom - 1};
    const PixelRect highlight{shadow.left + 1, shadow.top + 1, shadow.right + 1, shadow.bottom + 1};
    AddEdges(lines.segments, highlight, edges, true);
    AddEdges(lines.segments, shadow, edges, false);
    lines.inside = rect;
    if (edges & EdgeLeft)
        lines.inside.left += 2;
    if (edges & EdgeTop)
        lines.inside.top += 2;
    if (edges & EdgeRight)
        lines.inside.right -= 2;
    if (edges & EdgeBottom)
        lines.inside.bottom -= 2;
    return lines;
}

std::optional<ImagePlacement> PlaceWizardImage(const PixelRect& rect, int pictureWidth,
                                               int pictureHeight, TKImageAlignment alignment,
                                               TKImageLayout layout) {
    if (pictureWidth <= 0 || pictureHeight <= 0)
        return std::nullopt;
    PixelRect r = rect;
    int dx = 0, dy = 0;
    if ((alignment == TKImageAlignment::iaRight || alignment == TKImageAlignment::iaCenter) &&
        pictureWidth < r.Width()) {
        dx = r.Width() - pictureWidth;
        if (alignment == TKImageAlignment::iaCenter) {
            dx /= 2;
            r.right -= dx;
        }
    }
    if ((layout == TKImageLayout::ilBottom || layout == TKImageLayout::ilCenter) &&
        pictureHeight < r.Height()) {
        dy = r.Height() - pictureHeight;
        if (layout == TKImageLayout::ilCenter) {
            dy /= 2;
            r.bottom -= dy;
        }
    }
    r.left += dx;
    r.top += dy;
    if (alignment == TKImageAlignment::iaStretch || layout == TKImageLayout::ilStretch)
        return ImagePlacement{r, true};
    return ImagePlacement{PixelRect{r.left, r.top, r.left + pictureWidth, r.top + pictureHeight},
                          false};
}

PixelRect PlaceTitle(const PixelRect& area, int textWidth, int textHeight, unsigned anchors,
                     int anchorPlacement, int indent) {
    PixelRect t{area.left, area.top, area.left + textWidth, area.top + textHeight};
    if (anchors & akLeft) {
        t.left += anchorPlacement;
        t.right += anchorPlacement;
    }
    if (anchors & akTop) {
        t.top += anchorPlacement;
        t.bottom += anchorPlacement;
    }
    if (anchors & akRight)
        t.right = area.right - anchorPlacement;
    if (anchors & akBottom)
        t.bottom = area.bottom - anchorPlacement;
    t.left += indent;
    t.right -= indent;
    t.bottom = std::min(t.bottom, area.bottom);
    t.right = std::min(t.right, area.right);
    return t;
}

HeaderImagePlacement PlaceHeaderImage(const PixelRect& header, int imageWidth, int imageHeight,
                                      TKImageLeftRight alignment, int imageOffset) {
    PixelRect image{header.left, header.top, header.left + imageWidth, header.top + imageHeight};
    const int down = (header.Height() - imageHeight) / 2; // truncates toward zero
    image.top += down;
    image.bottom += down;
    int right = imageOffset;
    if (alignment == TKImageLeftRight::iaRight)
        right += header.Width() - imageWidth - 4;
    image.left += right;
    image.right += right;

    PixelRect text = header;
    if (alignment == TKImageLeftRight::iaRight)
        text.right = std::min(text.right, image.left);
    else
        text.left = std::max(text.left, image.right);
    return {image, text};
}

WatermarkPlacement PlaceWatermark(const PixelRect& rect, TKWizardLeftRight align, int width,
                                  int borderWidth) {
    WatermarkPlacement p{rect, rect};
    if (align == TKWizardLeftRight::alLeft) {
        p.band.right = rect.left + width;
        p.remaining.left += width;
    } else {
        p.band.left = rect.right - width;
        p.remaining.right -= width;
    }
    p.band.left += borderWidth;
    p.band.top += borderWidth;
    p.band.right -= borderWidth;
    p.band.bottom -= borderWidth;
    return p;
}

PixelRect PageChildArea(const PixelRect& client, bool headerVisible, int headerHeight,
                        bool hasVisibleWatermark, TKWizardLeftRight watermarkAlign,
                        int watermarkWidth) {
    PixelRect area = client;
    if (headerVisible)
        area.top += headerHeight;
    if (hasVisibleWatermark) {
        if (watermarkAlign == TKWizardLeftRight::alLeft)
            area.left += watermarkWidth;
        else
            area.right -= watermarkWidth;
    }
    return area;
}

std::optional<PixelRect> PanelFrame(const PixelRect& rect, bool visible, int borderWidth) {
    if (!visible || borderWidth == 0)
        return std::nullopt;
    return PixelRect{rect.left + borderWidth, rect.top + borderWidth, rect.right - borderWidth,
                     rect.bottom - borderWidth};
}

} // namespace brevalo
