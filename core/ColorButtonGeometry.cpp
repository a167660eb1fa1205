#include "ColorButtonGeometry.h"

#include <stdexcept>

namespace brevalo {

// Stored as 0x00BBGGRR: blue in the high byte, red in the low one.
const std::array<TColor, PaletteCellCount> PaletteColors = {
    0x000000, 0x003399, 0x003333, 0x003300, 0x663300, 0x800000, 0x993333, 0x333333, //
    0x000080, 0x0066FF, 0x008080, 0x008000, 0x808000, 0xFF0000, 0x996666, 0x808080, //
    0x0000FF, 0x0099FF, 0x00CC99, 0x669933, 0xCCCC33, 0xFF6633, 0x800080, 0x999999, //
    0xFF00FF, 0x00CCFF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFFCC00, 0x663399, 0xC0C0C0, //
    0xCC99FF, 0x99CCFF, 0x99FFFF, 0xCCFFCC, 0xFFFFCC, 0xFFCC99, 0xFF99CC, 0xFFFFFF, //
};

int& PaletteMetrics::operator[](PaletteMetric metric) {
    switch (metric) {
    case PaletteMetric::TopMargin:
        return topMargin;
    case PaletteMetric::BottomMargin:
        return bottomMargin;
    case PaletteMetric::HoriMargin:
        return horiMargin;
    case PaletteMetric::DragBarHeight:
        return dragBarHeight;
    case PaletteMetric::DragBarSpace:
        return dragBarSpace;
    case PaletteMetric::ColorSpace:
        return colorSpace;
    case PaletteMetric::ColorSpaceTop:
        return colorSpaceTop;
    case PaletteMetric::ColorSpaceBottom:
        return colorSpaceBottom;
    case PaletteMetric::ColorSize:
        return colorSize;
    case PaletteMetric::ButtonHeight:
        return buttonHeight;
    }
    throw std::invalid_argument("unknown palette metric");
}

int PaletteMetrics::operator[](PaletteMetric metric) const {
    return const_cast<PaletteMetrics&>(*this)[metric];
}

int PaletteMetricMinimum(PaletteMetric metric) {
    return PaletteMetrics{}[metric];
}

bool WritePaletteMetric(PaletteMetrics& metrics, PaletteMetric metric, int value) {
    int& stored = metrics[metric];
    if (stored == value)
        return false;
    const int minimum = PaletteMetricMinimum(metric);
    stored = value < minimum ? minimum : value;
    return true;
}

PaletteLayout LayoutPalette(const PaletteMetrics& m, bool withDragBar) {
    const int d = withDragBar ? 0 : -m.dragBarHeight;
    PaletteLayout layout;
    layout.clientWidth =
        2 * m.horiMargin + PaletteColumns * m.colorSize + (PaletteColumns - 1) * m.colorSpace;
    layout.clientHeight = m.topMargin + m.bottomMargin + m.dragBarHeight + m.dragBarSpace +
                          m.colorSpaceTop + m.colorSpaceBottom + PaletteRows * m.colorSize +
                          (PaletteRows - 1) * m.colorSpace + 2 * m.buttonHeight + d;
    if (withDragBar) {
        const int h = (m.horiMargin + 1) / 2;
        layout.dragBar =
            PixelRect{h, m.topMargin, layout.clientWidth - h, m.topMargin + m.dragBarHeight};
    }
    layout.automatic = RectAt(m.horiMargin, m.topMargin + m.dragBarHeight + m.dragBarSpace + d,
                              layout.clientWidth - 2 * m.horiMargin, m.buttonHeight);
    const int step = m.colorSize + m.colorSpace;
    for (int i = 0; i < PaletteCellCount; ++i) {
        layout.cells[i] =
            RectAt(layout.automatic.left + (i % PaletteColumns) * step,
                   layout.automatic.bottom + m.colorSpaceTop + (i / PaletteColumns) * step,
                   m.colorSize, m.colorSize);
    }
    layout.other =
        RectAt(layout.automatic.left, layout.cells.back().top + m.colorSize + m.colorSpaceBottom,
               layout.automatic.Width(), m.buttonHeight);
    return layout;
}

ColorButtonSize AdjustColorButtonSize(int width, int height, int dropDownWidth) {
    ColorButtonSize size{width, height, dropDownWidth, {}, {}};
    if (size.dropDownWidth < MinDropDownWidth)
        size.dropDownWidth = MinDropDownWidth;
    if (size.width - size.dropDownWidth < MinFaceWidth)
        size.width = size.dropDownWidth + MinFaceWidth;
    if (size.height < MinColorButtonHeight)
        size.height = MinColorButtonHeight;
    const int faceWidth = size.width - size.dropDownWidth;
    size.face = RectAt(0, 0, faceWidth, size.height);
    size.arrow = RectAt(faceWidth, 0, size.dropDownWidth, size.height);
    return size;
}

PixelPoint PlacePalette(const PixelRect& control, int windowWidth, int windowHeight,
                        int screenWidth, int screenHeight) {
    PixelPoint p{control.left, control.top + control.Height()};
    if (p.x + windowWidth > screenWidth)
        p.x = screenWidth - windowWidth;
    if (p.y + windowHeight > screenHeight)
        p.y = control.top - windowHeight;
    return p;
}

PaletteChoice FindPaletteButton(TColor color, TColor automaticColor,
                                const std::array<TColor, PaletteCellCount>& cells) {
    if (color == automaticColor)
        return PaletteChoice{true, -1};
    for (int i = 0; i < PaletteCellCount; ++i)
        if (cells[i] == color)
            return PaletteChoice{false, i};
    return PaletteChoice{};
}

PixelRect SwatchArea(int width, int height, bool flat, bool pressed) {
    PixelRect r{0, 0, width, height};
    if (flat || !pressed) {
        r.right -= 1;
        r.bottom -= 1;
    } else {
        r.left += 1;
        r.top += 1;
    }
    return r;
}

PixelRect FaceColorBar(int width, int height, bool pressed, int halfWidth, int drop,
                       int barHeight) {
    const int shift = pressed ? 1 : 0;
    return RectAt((width + 1) / 2 - halfWidth + shift, (height + 1) / 2 + drop + shift,
                  2 * halfWidth, barHeight);
}

AutomaticMarks AutomaticButtonMarks(const PixelRect& r) {
    const int k = r.Height() / 7;
    const int e = r.Height() / 6 + 3;
    AutomaticMarks marks;
    marks.frame = PixelRect{r.left + k, r.top + k, r.right - k, r.bottom - k};
    marks.swatch = PixelRect{r.left + e + 1, r.top + e, r.bottom - e + 3, r.bottom - e + 2};
    return marks;
}

PixelRect CellSwatch(const PixelRect& r) {
    const int e = r.Height() / 6 + 1;
    return PixelRect{r.left + e, r.top + e, r.right - e + 1, r.bottom - e + 1};
}

} // namespace brevalo
